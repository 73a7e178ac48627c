#include <gtest/gtest.h>

#include <set>

#include "base/cp850.h"
#include "declaration/editor_menu.h"
#include "ui/harness.h"

namespace kx::declaration {
namespace {

std::string cp(std::string_view utf8) { return cp850::from_utf8(utf8); }

std::vector<std::string> captions(const ui::LMenu& bar, std::string_view menu) {
  std::vector<std::string> out;
  for (const auto& top : bar.aItem()) {
    if (top->cPrompt != menu) continue;
    for (const auto& item : top->items) out.push_back(item->cPrompt);
  }
  return out;
}

TEST(EditorMenu, TheBarHasItsMenusInOrderAndEveryCodeOnce) {
  std::vector<std::string_view> menus = editor_menus();
  std::vector<std::string> want = {"p.&Jur", "p.&Fis", "is&Ento", "de&Pendente", "&Bem",
                                   "&Iden.", cp("&Cálculo"), "&Ganho", "&Rural", "he&Lp", "s&Ai"};
  ASSERT_EQ(menus.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(menus[i], want[i]);

  std::set<std::pair<int, ForDependants>> seen;
  for (const auto& item : editor_menu_items()) {
    EXPECT_TRUE(seen.insert({item.code, item.shown}).second) << item.code;
    EXPECT_FALSE(item.status.empty()) << item.code;
  }
  EXPECT_EQ(editor_menu_item(17)->label, cp("&Fim da declaração"));
  EXPECT_EQ(editor_menu_item(17)->shortcut, "Alt-F");
  EXPECT_EQ(editor_menu_item(102)->status, cp("Lançamento das Receitas e Despesas "));
  EXPECT_EQ(editor_menu_item(95)->status, cp("Ganhos ou perdas na renda variável em operação Day Trade"));
}

TEST(EditorMenu, GanhoDependsOnDependantsAndItemsRunTheirCodes) {
  for (bool with : {true, false}) {
    ui::ScreenHarness h;
    h.frame.QZBASELSETUP();
    ui::LMenu& bar = create_editor_menu(h.frame.LWINDOWMAIN(), with, [](int) {});
    std::vector<std::string> gain = captions(bar, "&Ganho");
    if (with) {
      ASSERT_EQ(gain.size(), 12u);
      EXPECT_EQ(gain[0], "G.Cap.Bens &Imoveis Titular ");
      EXPECT_EQ(gain[11], "F.&Investimento  Dependente");
    } else {
      ASSERT_EQ(gain.size(), 6u);
      EXPECT_EQ(gain[0], cp("G.Cap.Bens &Imóveis  "));
      EXPECT_EQ(gain[5], "&F.Investimento  ");
    }
    EXPECT_EQ(captions(bar, "p.&Jur")[0], "rendimento do &Titular    F1");
  }
}

TEST(EditorMenu, ChoosingAnItemRunsItsCode) {
  ui::ScreenHarness h;
  h.frame.QZBASELSETUP();
  std::vector<int> chosen;
  ui::LDialog& main = h.frame.LWINDOWMAIN();
  create_editor_menu(main, false, [&](int c) {
    chosen.push_back(c);
    if (c == 111) main.end();
  });
  // Alt-G opens the gains ("D": Day-Trade), Alt-B the assets ("v": debts only), Alt-A "Sai".
  h.type("<Alt-G>D<Alt-B>v<Alt-A><Enter>");
  h.frame.LACTIVATE(false);
  EXPECT_EQ(chosen, (std::vector<int>{92, 53, 111}));
}

struct DispatchCase {
  int code;
  MenuFlags flags;
  int screen;
  std::string first_line;  // UTF-8; "" for no message
};

TEST(EditorMenu, Menu2SelectConditionsAndMessages) {
  MenuFlags none, deps{.dependants = true}, rural{.rural = true},
      abroad{.rural = true, .abroad = true}, standard{.standard = true},
      estate{.final_estate = true}, departure{.departure = true};
  const std::string kMarked = "Essa declaração está marcada como uma  ";
  const DispatchCase cases[] = {
      {101, none, 0, "Esse contribuinte não esta selecionado que tenha necessidade da Atividade Rural. "
                     "Se for o caso vá na tela de identificação e marque essa condição."},
      {101, rural, 12, ""},
      {106, rural, 17, ""},
      {102, abroad, 0, "As receitas e despesas da atividade no exterior"},
      {102, rural, 13, ""},
      {13, none, 0, "Sem dependentes para usar essa opção"},
      {22, none, 0, "Sem dependentes para usar essa opção"},
      {86, none, 0, "Sem dependentes para usar essa opção"},
      {96, none, 0, "Sem dependentes para usar essa opção"},
      {22, deps, 2, ""},
      {44, standard, 0, "Para fazer doação direta na declaração só na Completa."},
      {44, none, 4, ""},
      {45, none, 0, "Herdeiros só em declaração final de espólio"},
      {45, estate, 4, ""},
      {56, estate, 0, kMarked},
      {56, none, 5, ""},
      {57, departure, 0, kMarked},
      {57, estate, 5, ""},
      {58, estate, 0, kMarked},
      {58, departure, 5, ""},
      {32, none, 3, ""},
      {43, none, 4, ""},
      {52, none, 23, ""},
      {55, none, 22, ""},
      {61, none, 6, ""},
      {62, none, 11, ""},
      {71, none, 7, ""},
      {72, none, 10, ""},
      {83, none, 8, ""},
      {93, none, 9, ""},
      {17, none, 0, ""},
  };
  for (const auto& c : cases) {
    MenuDecision d = menu2select(c.code, c.flags);
    EXPECT_EQ(d.screen, c.screen) << c.code;
    EXPECT_EQ(d.message.empty() ? "" : cp850::to_utf8(d.message[0]), c.first_line) << c.code;
  }
}

TEST(EditorMenu, Menu2SelectSetsTheScreensFilters) {
  MenuFlags deps{.dependants = true}, estate{.final_estate = true};
  MenuDecision d = menu2select(14, deps);
  EXPECT_EQ(d.I1_1, "A");
  EXPECT_EQ(d.I1_11, "N");
  d = menu2select(11, {});
  EXPECT_EQ(d.I1_1, "J");
  EXPECT_EQ(d.I1_11, "S");
  EXPECT_EQ(menu2select(82, {}).TIPO_BEM, 2);
  EXPECT_EQ(menu2select(85, deps).TIPO_BEM, 2);
  d = menu2select(95, deps);
  EXPECT_EQ(d.TIPO_BEM, 4);
  EXPECT_EQ(d.DAY_TRADE, "2");
  EXPECT_EQ(menu2select(93, {}).DAY_TRADE, "3");
  EXPECT_TRUE(menu2select(53, {}).debt_half);
  EXPECT_FALSE(menu2select(54, {}).debt_half);
  EXPECT_EQ(menu2select(111, {}).leave, 111);
  EXPECT_EQ(menu2select(17, {}).leave, 17);
  d = menu2select(56, estate);
  EXPECT_TRUE(d.drop_spouse);
  ASSERT_EQ(d.message.size(), 3u);
  EXPECT_EQ(d.message[2], "ter mais os rendimentos do conjugue");
}

}  // namespace
}  // namespace kx::declaration
