#include <gtest/gtest.h>

#include <string>

#include "base/cp850.h"
#include "declaration/lookup.h"
#include "lookup_fixture.h"
#include "store/access.h"
#include "ui/identifiers.h"

namespace kx::declaration {
namespace {

using testing::LookupFixture;
using StatusCheckTest = LookupFixture;

const std::string kBlank13(13, ' ');

struct StatusCase {
  int code;
  int mode;
  const char* description;  // padded to 13
  bool written;             // at row 2, column 37
};

TEST_F(StatusCheckTest, DescribesRegisteredCodesAndBlanksOthersWithoutOpeningTheList) {
  const StatusCase cases[] = {
      {7, 2, "Transmitida  ", true},  {55, 2, "             ", true},
      {1, 1, "Importada    ", true},  {9, 5, "Pronta       ", false},
      {2, 3, "Nova         ", false}, {55, 4, "             ", false},
  };
  for (const auto& c : cases) {
    f.h.screen.write(2, 37, std::string(13, '#'), 0x07);
    StatusCheck out = VE_STAT(lookup, c.code, c.mode, {"M->ESTATUS", Decimal(c.code)});
    EXPECT_EQ(out.description, c.description) << c.code << " mode " << c.mode;
    EXPECT_FALSE(out.chosen);
    EXPECT_EQ(f.h.text(2, 37, 13), c.written ? c.description : std::string(13, '#'))
        << c.code << " mode " << c.mode;
  }
  EXPECT_EQ(f.workspace.held(66), nullptr);
}

TEST_F(StatusCheckTest, AnUnknownCodeOnEntryOpensTheListAndIsStillAccepted) {
  f.h.type("<Down><Enter>");
  StatusCheck out = VE_STAT(lookup, 55, 1, {"M->ESTATUS", Decimal(55)});
  ASSERT_TRUE(out.chosen);
  EXPECT_EQ(std::get<Decimal>(out.chosen->value), Decimal(2));
  EXPECT_EQ(out.description, "Nova         ");
  EXPECT_EQ(f.h.text(2, 37, 13), "Nova         ");
  EXPECT_TRUE(f.h.terminal.script_done());

  f.h.type("<Esc>");
  out = VE_STAT(lookup, 55, 5, {"M->OPC_TRAN", Decimal(55)});
  EXPECT_FALSE(out.chosen);
  EXPECT_EQ(out.description, kBlank13);
}

TEST_F(StatusCheckTest, ListColumnModesMakeTheRegistryOrItsCopyCurrentAgain) {
  store::Access a = f.session.access();
  ASSERT_TRUE(store::ABERTURA(a, 9));
  copy(9);
  f.workspace.select(55);
  VE_STAT(lookup, 7, 3);
  EXPECT_EQ(f.workspace.current(), 9);
  VE_STAT(lookup, 7, 4);
  EXPECT_EQ(f.workspace.current(), 29);
}

// Dependants Ana (son, 21), Bia (alimony, 98) and Caio (spouse, 11), in that record order.
class DependantCheckTest : public LookupFixture {
 protected:
  DependantCheckTest() {
    copy(3, {{{"NOMEDEPEN", std::string("Ana")}, {"CODIDEPEN", Decimal(21)}, {"CPFDEPEN", ana}},
             {{"NOMEDEPEN", std::string("Bia")}, {"CODIDEPEN", Decimal(98)}, {"CPFDEPEN", bia}},
             {{"NOMEDEPEN", std::string("Caio")}, {"CODIDEPEN", Decimal(11)}, {"CPFDEPEN", caio}}});
  }
  static std::string cpf(const char* base) { return base + ui::cpf_check_digits(base); }
  const std::string ana = cpf("111444777"), bia = cpf("222555888"), caio = cpf("333666999");
};

TEST_F(DependantCheckTest, FindsTheCpfAmongItsKindOrOffersTheListOfThatKind) {
  struct Case {
    std::string cpf;
    int kind;
    const char* field;
    const char* keys;  // the notice (when not found), then the list
    bool found;
    std::string chosen;  // empty: no list
  } cases[] = {
      {ana, 1, "M->CPFDEPEN", "", true, ""},
      {bia, 2, "M->CPFALIEN", "", true, ""},
      {bia, 1, "M->CPFDEPEN", "<Enter><Down><Enter>", false, caio},
      {ana, 2, "M->CPFALIEN", "<Enter><Down><Enter>", false, bia},
      {"", 1, "I1_8", "<Enter>", false, ana},
  };
  for (const auto& c : cases) {
    f.h.type(c.keys);
    DependantCheck out = VE_RELDEP(lookup, c.cpf, {c.field, c.cpf}, c.kind);
    EXPECT_EQ(out.found, c.found) << c.cpf << " kind " << c.kind;
    EXPECT_TRUE(f.h.terminal.script_done()) << c.cpf << " kind " << c.kind;
    ASSERT_EQ(out.chosen.has_value(), !c.chosen.empty()) << c.cpf << " kind " << c.kind;
    if (out.chosen) {
      EXPECT_EQ(shown(out.chosen->value), c.chosen);
    }
  }
}

TEST_F(DependantCheckTest, ADependantChosenOnTheIncomeNewEntryRowCreatesTheIncomeRow) {
  dbf::Table& income = copy(2);
  f.h.type("<Down><Enter>");
  auto choice = lookup.GERAL({"I1_8", std::string(), 22, true,
                              {{"CPF", std::string("12345678909")},
                               {"I1_1", std::string("F")},
                               {"I1_11", std::string("S")}}});
  ASSERT_TRUE(choice && choice->row_written);
  EXPECT_EQ(shown(choice->value), bia);
  ASSERT_EQ(income.record_count(), 1u);
  income.go_top();
  EXPECT_EQ(income.get_text("I1_8"), bia);
  EXPECT_EQ(income.get_text("CPF"), "12345678909");
  EXPECT_EQ(income.get_text("I1_1"), "F");
  EXPECT_EQ(income.get_text("I1_11"), "S");
}

TEST_F(DependantCheckTest, AnUnknownCpfIsToldWithTheKindOfRelation) {
  const struct {
    int kind;
    const char* text;
  } cases[] = {{1, "CPF digitado não consta na relação dos dependentes"},
               {2, "CPF digitado não consta na relação dos alimentandos"}};
  for (const auto& c : cases) {
    const std::string box = screen_when_keys_run_out([&] {
      VE_RELDEP(lookup, cpf("999888777"), {"M->CPFDEPEN", std::string()}, c.kind);
    });
    EXPECT_NE(box.find(c.text), std::string::npos) << box;
    EXPECT_FALSE(lookup.PROG);
  }
}

TEST_F(DependantCheckTest, CpfWithWrongCheckDigitsIsReportedBeforeTheSearch) {
  std::string wrong = ana;
  wrong.back() = wrong.back() == '0' ? '1' : '0';
  f.h.type("<Enter>");  // the check's notice only: no list follows
  DependantCheck out = VERCPFDEPE(lookup, {"M->CPFDEPEN", wrong});
  EXPECT_FALSE(out.found);
  EXPECT_FALSE(out.chosen);
  EXPECT_TRUE(f.h.terminal.script_done());

  EXPECT_TRUE(VERCPFDEPE(lookup, {"M->CPFDEPEN", caio}).found);
}

}  // namespace
}  // namespace kx::declaration
