#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "base/cp850.h"
#include "shell/print_selection.h"

namespace kx::shell {
namespace {

struct Case {
  const char* what;
  std::vector<std::pair<int, int>> choices;  // (code, argument) from a new terminal's selection
  int queimp, quemod, quepag;
  const char* item2;  // UTF-8
  const char* item3;
};

TEST(MenuPrintSelection, ChoicesStayWithinTheLimitsOfWhatIsPrinted) {
  const Case cases[] = {
      {"DARF on continuous paper", {{41, 5}, {42, 2}}, 5, 2, 1, "2-Formulário Contínuo", "3-Folha única"},
      {"back to the declaration forces one paper", {{41, 5}, {42, 2}, {41, 1}}, 1, 1, 1, "2-Folha avulsa  ",
       "3-Tudo na declaração "},
      {"page 11 of the declaration", {{41, 1}, {43, 11}}, 1, 1, 11, "2-Folha avulsa  ", "3-Só a Malha fina    "},
      {"page 11 then the rural report", {{41, 1}, {43, 11}, {41, 3}}, 3, 1, 3, "2-Folha avulsa  ", "3-página 2   "},
      {"disc labels take the fourth model", {{41, 14}, {42, 4}}, 14, 4, 1, "2-Pimaco 8296   ", "3-Folha única"},
      {"the registry has two models", {{41, 12}, {42, 4}}, 12, 2, 1, "2-Folha avulsa  ", "3-Folha única"},
      {"a page number past the rural report", {{41, 3}, {43, 11}}, 3, 1, 3, "2-Folha avulsa  ", "3-página 2   "},
      {"the cash book has one page", {{41, 1}, {43, 5}, {41, 10}}, 10, 1, 1, "2-Folha avulsa  ", "3-Folha única"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    store::Globals g;
    for (auto [code, argument] : c.choices) {
      choose_print_item(g, code, argument);
      MONTA_ITENS(g);
    }
    PrintItems items = MONTA_ITENS(g);
    EXPECT_EQ(g.QUEIMP, c.queimp);
    EXPECT_EQ(g.QUEMOD, c.quemod);
    EXPECT_EQ(g.QUEPAG, c.quepag);
    EXPECT_EQ(cp850::to_utf8(items.ITEM2), c.item2);
    EXPECT_EQ(cp850::to_utf8(items.ITEM3), c.item3);
  }
}

TEST(MenuPrintSelection, ItemsDescribeTheSelection) {
  store::Globals g;
  g.QUEIMP = 7;
  g.QUECON = 5;
  g.NRO_VIAS = 3;
  PrintItems items = MONTA_ITENS(g);
  EXPECT_EQ(cp850::to_utf8(items.ITEM1), "1-Renda variável     ");
  EXPECT_EQ(items.ITEM4, "4-Grupo selec.");
  EXPECT_EQ(cp850::to_utf8(items.ITEM5), "5-Seleção Impressora");
  EXPECT_EQ(items.ITEM6, "6-Configura NAO DOS");
  EXPECT_EQ(items.ITEM7, "7- Nro de Vias 3");
}

// A configuration record written by another program may hold numbers outside the lists; they
// must not index past them.
TEST(MenuPrintSelection, NumbersOutsideTheListsAreBroughtWithin) {
  struct Stored {
    int queimp, quemod, quepag, quecon, vias;
    int want_queimp, want_quemod, want_quepag, want_quecon, want_vias;
  };
  const Stored cases[] = {
      {0, 0, 0, 0, 0, 1, 1, 1, 1, 1},
      {99, 9, 99, 9, 12, 15, 1, 1, 5, 9},
      {14, 7, 1, 1, 1, 14, 4, 1, 1, 1},
      {-3, 2, 12, 2, 2, 1, 1, 11, 2, 2},
  };
  for (const Stored& c : cases) {
    store::Globals g;
    g.QUEIMP = c.queimp, g.QUEMOD = c.quemod, g.QUEPAG = c.quepag, g.QUECON = c.quecon, g.NRO_VIAS = c.vias;
    MONTA_ITENS(g);
    EXPECT_EQ(g.QUEIMP, c.want_queimp);
    EXPECT_EQ(g.QUEMOD, c.want_quemod);
    EXPECT_EQ(g.QUEPAG, c.want_quepag);
    EXPECT_EQ(g.QUECON, c.want_quecon);
    EXPECT_EQ(g.NRO_VIAS, c.want_vias);
  }
}

}  // namespace
}  // namespace kx::shell
