#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/cp850.h"
#include "declaration/lookup.h"
#include "lookup_fixture.h"
#include "ui/keys.h"

namespace kx::declaration {
namespace {

using testing::LookupFixture;
using LookupListTest = LookupFixture;

// Where a choice lands.
enum class Lands { field, value, row, cod };

struct Case {
  const char* field;
  const char* keys;
  int row_table;  // declaration table of the edited row (0: none)
  Lands lands;
  const char* name;      // value or row field
  const char* expected;  // CP850-free text of what it gets
  const char* heading;   // a column heading the open list shows (UTF-8)
};

// The reference tables as the installer ships them; the rows are walked in each list's order.
const Case kCases[] = {
    {"I7_8", "<Enter>", 4, Lands::row, "I7_8", "023", "Nome do País"},
    {"CODPAIS", "<Down><Enter>", 0, Lands::field, "", "063", "Nome do País"},
    {"I8R_3", "<Enter>", 0, Lands::field, "", "023", "Cod."},
    {"I1_2", "<Down><Enter>", 2, Lands::row, "I1_2", "Banco Citibank S.A.", "Nome do Banco"},
    {"I1_3", "<Enter>", 2, Lands::row, "I1_3", "60.746.948/0001-12", "CNPJ"},
    {"M->BANCO", "<Down><Down><Enter>", 0, Lands::value, "BANCO", "756", "Nome do Banco"},
    {"CODIDEPEN", "<Down><Enter>", 0, Lands::cod, "", "12", "Relação de dependência"},
    {"nDesFim", "<Down><Enter>", 0, Lands::field, "", "2", "Bens e Direitos"},
    {"I7_5", "<Enter>", 4, Lands::row, "I7_5", "1", "Bens e Direitos"},
    {"I8_5", "<Down><Enter>", 5, Lands::row, "I8_5", "12", "Dividas e Onus"},
    {"I6_3", "<Enter>", 6, Lands::row, "I6_3", "1", "Doação ou Pagamento"},
    {"CODIGO", "<Down><Enter>", 17, Lands::row, "CODIGO", "2", "Doação ou Pagamento"},
    {"M->ESTATUS", "<Down><Down><Enter>", 0, Lands::field, "", "7", "Estatus"},
    {"M->OPC_TRAN", "<End><Ctrl-PgDn><Enter>", 0, Lands::field, "", "9", "Estatus"},
    {"M->TIPOEND", "<Down><Enter>", 0, Lands::field, "", "ALAMEDA", "Tipo Endereço"},
    {"M->RUAIMO", "<Enter>", 0, Lands::field, "", "AEROPORTO", "Tipo Endereço"},
    {"M->CODAT", "<Enter>", 0, Lands::value, "DESCRAT",
     "Aposentado, militar reformado ou pensionista", "Nome da Ocupacao"},
    {"M->DESCRAT", "<Down><Enter>", 0, Lands::value, "CODAT", "62", "Cód"},
    {"M->MUNICIMO", "<Enter>", 0, Lands::field, "", "AC - ACRE", "Nome dos municípios"},
    {"M->CID_SOCIE", "<Down><Enter>", 0, Lands::field, "", "AL - ALAGOAS", "Nome dos municípios"},
    {"MUNICIMO", "<Enter>", 4, Lands::row, "MUNICIMO", "AC - ACRE", "Nome dos municípios"},
    {"M->MUNICIPIO", "<Enter>", 0, Lands::value, "MUNICIPIO", "AC - ACRE", "Nome dos municípios"},
};

class EveryList : public LookupListTest, public ::testing::WithParamInterface<Case> {};

TEST_P(EveryList, ShowsItsColumnsAndWritesBackTheChosenRow) {
  const Case& c = GetParam();
  LookupRequest request{c.field, std::string()};
  if (c.row_table != 0) {
    copy(c.row_table, {{{"CPF", std::string("12345678909")}}});
    request.row_slot = c.row_table + 20;
  }
  EXPECT_NE(screen_of_open_list(request).find(c.heading), std::string::npos) << c.field << "\n"
                                                                             << f.h.dump();

  f.h.type(c.keys);
  auto choice = lookup.GERAL(request);
  ASSERT_TRUE(choice) << c.field;
  EXPECT_TRUE(f.h.terminal.script_done()) << c.field;
  switch (c.lands) {
    case Lands::field:
      EXPECT_EQ(shown(choice->value), c.expected) << c.field;
      break;
    case Lands::value:
      EXPECT_EQ(shown(*values.find(c.name)), c.expected) << c.field;
      break;
    case Lands::cod:
      EXPECT_EQ(shown(lookup.COD), c.expected);
      EXPECT_EQ(shown(choice->value), c.expected);
      break;
    case Lands::row: {
      EXPECT_TRUE(choice->row_written);
      dbf::Table& t = f.workspace.table(c.row_table + 20);
      t.go_top();
      const dbf::Field& fd = t.field(c.name);
      const std::string got = fd.type == dbf::FieldType::numeric
                                  ? t.get_number(c.name).str()
                                  : std::string(text::trim(t.get_text(c.name)));
      EXPECT_EQ(got, c.expected) << c.field;
      EXPECT_EQ(shown(choice->value), c.expected) << c.field;
      break;
    }
  }
  EXPECT_FALSE(lookup.PROG);
}

INSTANTIATE_TEST_SUITE_P(Lookup, EveryList, ::testing::ValuesIn(kCases));

TEST_F(LookupListTest, ChoosingABankOnTheNewEntryRowCreatesTheIncomeRow) {
  dbf::Table& income = copy(2);
  LookupRequest request{"I1_3",
                        std::string(),
                        22,
                        true,
                        {{"CPF", std::string("12345678909")}, {"I1_1", std::string("J")}}};
  f.h.type("<Enter>");
  auto choice = lookup.GERAL(request);
  ASSERT_TRUE(choice && choice->row_written);
  ASSERT_EQ(income.record_count(), 1u);
  income.go_top();
  EXPECT_EQ(text::trim(income.get_text("CPF")), "12345678909");
  EXPECT_EQ(text::trim(income.get_text("I1_1")), "J");
  EXPECT_EQ(text::trim(income.get_text("I1_2")), "Banco Bradesco S.A.");
  EXPECT_EQ(text::trim(income.get_text("I1_3")), "60.746.948/0001-12");
}

TEST_F(LookupListTest, OccupationNatureIsTakenAndShownOnTheForm) {
  f.h.type("<Down><Enter>");
  auto choice = lookup.GERAL({"M->CODAT", std::string()});
  ASSERT_TRUE(choice);
  EXPECT_EQ(shown(choice->value), "62");
  EXPECT_EQ(shown(*values.find("DESCRAT")),
            cp850::from_utf8("Aposentado ou militar reformado portador de moléstia grave"));
  EXPECT_EQ(f.h.text(16, 6, 2), "62");
  EXPECT_EQ(f.h.text(16, 9, 10), "Aposentado");
}

TEST_F(LookupListTest, PayerListShowsOnlyIncomeFromLegalEntities) {
  dbf::Table& income = copy(2, {{{"I1_1", std::string("F")},
                                 {"I1_2", std::string("Pessoa")},
                                 {"I1_3", std::string("123.456.789-09")}},
                                {{"I1_1", std::string("J")},
                                 {"I1_2", std::string("Firma")},
                                 {"I1_3", std::string("60.746.948/0001-12")}}});
  const std::string open = screen_of_open_list({"M->CGCPAGADOR", std::string()});
  EXPECT_NE(open.find("Firma"), std::string::npos);
  EXPECT_EQ(open.find("Pessoa"), std::string::npos);

  f.h.type("<Down><Enter>");
  auto choice = lookup.GERAL({"M->CGCPAGADOR", std::string()});
  ASSERT_TRUE(choice);
  EXPECT_EQ(shown(*values.find("CGCPAGADOR")), "60.746.948/0001-12");
  // The list's restriction is gone afterwards.
  income.go_top();
  EXPECT_EQ(text::trim(income.get_text("I1_1")), "F");
}

TEST_F(LookupListTest, FolderListGivesTheFolderAndTheSpouseFolder) {
  f.h.type("<Enter>");
  auto choice = lookup.GERAL3({"M->DESTINO", std::string()});
  ASSERT_TRUE(choice);
  EXPECT_FALSE(shown(choice->value).empty());
  EXPECT_EQ(shown(*values.find("DIRCONJU")), shown(choice->value));
  EXPECT_EQ(lookup.QUALHLP, "");
}

// Typed characters search only the lists that take them; the others ignore them.
struct SearchCase {
  const char* field;
  const char* keys;
  int row_table;
  const char* name;  // value or row field read afterwards ("" : the field's value)
  const char* expected;
};

const SearchCase kSearches[] = {
    {"M->MUNICIPIO", "S<Enter>", 0, "MUNICIPIO", "SALVADOR"},
    {"M->MUNICIPIO", "S<Enter>", 0, "CODMUNI", "3849"},
    {"M->MUNICIPIO", "s<Enter>", 0, "MUNICIPIO", "SALVADOR"},
    {"MUNICIMO", "P<Enter>", 4, "CODMIMO", ""},
    {"M->TIPOEND", "r<Enter>", 0, "", "RECANTO"},
    {"M->MUNICIMO", "S<Enter>", 0, "", "AC - ACRE"},
    {"M->BANCO", "S<Enter>", 0, "BANCO", "237"},
    {"M->RUAIMO", "R<Enter>", 0, "", "AEROPORTO"},
};

class Search : public LookupListTest, public ::testing::WithParamInterface<SearchCase> {};

TEST_P(Search, JumpsToTheFirstRowStartingWithTheCharacterOnlyWhereTheListTakesIt) {
  const SearchCase& c = GetParam();
  LookupRequest request{c.field, std::string()};
  if (c.row_table != 0) {
    copy(c.row_table, {{{"CPF", std::string("12345678909")}}});
    request.row_slot = c.row_table + 20;
  }
  f.h.type(c.keys);
  auto choice = lookup.GERAL(request);
  ASSERT_TRUE(choice);
  EXPECT_TRUE(f.h.terminal.script_done());
  std::string got;
  if (*c.name == 0)
    got = shown(choice->value);
  else if (c.row_table) {
    dbf::Table& t = f.workspace.table(c.row_table + 20);
    t.go_top();
    got = std::string(text::trim(t.get_text(c.name)));
  } else {
    got = shown(*values.find(c.name));
  }
  EXPECT_EQ(got, c.expected) << c.field << " " << c.keys;
}

INSTANTIATE_TEST_SUITE_P(Lookup, Search, ::testing::ValuesIn(kSearches));

TEST_F(LookupListTest, StateRowsGiveTheStateWhileTheStateFieldIsEdited) {
  lookup.QUALHLP = "M->MUNICIPIO";
  values.set("MUNICIPIO", std::string("CAMPINAS"));
  const std::string open = screen_when_keys_run_out([&] {
    lookup.GERAL2({"M->UF", std::string()});
  });
  EXPECT_NE(open.find("Nome dos Estados"), std::string::npos) << open;

  f.h.type("S<Enter>");  // SALVADOR: a municipality row, not a state row
  lookup.GERAL2({"M->UF", std::string()});
  EXPECT_EQ(shown(*values.find("MUNICIPIO")), "SALVADOR");

  f.h.type("<Home><Enter>");  // the first row, "AC - ACRE"
  values.set("MUNICIPIO", std::string("CAMPINAS"));
  auto choice = lookup.GERAL2({"M->UF", std::string()});
  ASSERT_TRUE(choice);
  EXPECT_EQ(shown(choice->value), "AC");
  EXPECT_EQ(shown(*values.find("UF")), "AC");
  EXPECT_EQ(shown(*values.find("MUNICIPIO")), "CAMPINAS");
}

TEST_F(LookupListTest, EscChoosesNothingAndClosesWhatTheListOpened) {
  f.workspace.select(9);
  values.set("BANCO", std::string("001"));
  f.h.type("<Down><Esc>");
  EXPECT_FALSE(lookup.GERAL({"M->BANCO", std::string()}));
  EXPECT_EQ(shown(*values.find("BANCO")), "001");
  EXPECT_EQ(f.workspace.held(55), nullptr);
  EXPECT_EQ(f.workspace.current(), 9);
  EXPECT_FALSE(lookup.PROG);
}

TEST_F(LookupListTest, AListLeftByAFailureRestoresTheScreenAndClosesItsTable) {
  f.h.screen.write(10, 10, "form", 0x07);
  screen_of_open_list({"M->BANCO", std::string()});  // the key script runs out inside the list
  EXPECT_EQ(f.h.text(10, 10, 4), "form");
  EXPECT_EQ(f.workspace.held(55), nullptr);
  EXPECT_FALSE(lookup.PROG);
}

TEST_F(LookupListTest, PaymentCodeOfARowIsNotWrittenDuringCommand30) {
  copy(17, {{{"CPF", std::string("12345678909")}}});
  f.globals.OPCAO_1 = 30;
  f.h.type("<Down><Enter>");
  auto choice = lookup.GERAL({"CODIGO", Decimal(0), 37});
  ASSERT_TRUE(choice);
  EXPECT_FALSE(choice->row_written);
  dbf::Table& t = f.workspace.table(37);
  t.go_top();
  EXPECT_EQ(t.get_number("CODIGO"), Decimal(0));
}

TEST_F(LookupListTest, FieldsWithoutAListAndOtherPeoplesListsDoNothing) {
  EXPECT_FALSE(has_lookup("M->NADA"));
  EXPECT_FALSE(lookup.GERAL({"M->NADA", std::string()}));
  // The taxpayer lists belong to the taxpayer list: without it nothing opens.
  EXPECT_FALSE(lookup.GERAL({"M->CPF", std::string()}));
  int asked = 0;
  lookup.taxpayer_list = [&](const LookupRequest& r, int mode) {
    ++asked;
    EXPECT_EQ(r.field, "M->NOMECONTR");
    EXPECT_TRUE(lookup.PROG);
    return std::optional<LookupChoice>(LookupChoice{std::string("X"), {}, {}, false, {}, mode});
  };
  auto choice = lookup.GERAL({"M->NOMECONTR", std::string()}, 1);
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->record, 1);
  EXPECT_EQ(asked, 1);
}

TEST_F(LookupListTest, ASecondRequestWhileAListIsOpenIsIgnored) {
  copy(7, {{{"TIPO_BEM", Decimal(1)}, {"ESPC_BEM", std::string("Casa")}}});
  int nested = 0;
  lookup.gain_item = [&](int, long) {
    ++nested;
    EXPECT_FALSE(lookup.GERAL({"M->BANCO", std::string()}));  // consumes no key
  };
  f.h.type("<Enter><Esc>");
  EXPECT_FALSE(lookup.GERAL({"M->TIPO_BEM", Decimal(1)}));
  EXPECT_EQ(nested, 1);
  EXPECT_FALSE(lookup.PROG);

  lookup.PROG = true;
  EXPECT_FALSE(lookup.GERAL({"M->BANCO", std::string()}));
}

TEST_F(LookupListTest, CapitalGainListTotalsTheCurrentKindOnlyAndHandsItemsToTheEditor) {
  copy(7, {{{"TIPO_BEM", Decimal(3)},
            {"BEM_NRO", Decimal(1)},
            {"ESPC_BEM", std::string("Acoes X")},
            {"VAL_TRIBU", "100.00"_dec},
            {"VAL_IMPOSV", "15.00"_dec}},
           {{"TIPO_BEM", Decimal(3)},
            {"BEM_NRO", Decimal(2)},
            {"ESPC_BEM", std::string("Acoes Y")},
            {"VAL_TRIBU", "50.50"_dec},
            {"VAL_NAOTRI", "7.00"_dec}},
           {{"TIPO_BEM", Decimal(1)},
            {"BEM_NRO", Decimal(3)},
            {"ESPC_BEM", std::string("Casa")},
            {"VAL_TRIBU", "999.00"_dec}}});
  std::vector<std::pair<int, long>> items;
  std::string open;
  lookup.gain_item = [&](int key, long record) {
    items.emplace_back(key, record);
    open = f.h.dump();
  };
  f.h.type("<Down><Enter><Del><Ins><Esc>");
  EXPECT_FALSE(lookup.GERAL({"M->TIPO_BEM", Decimal(3)}));
  EXPECT_NE(open.find("Nome da Sociedade"), std::string::npos);
  EXPECT_NE(open.find("Acoes Y"), std::string::npos);
  EXPECT_EQ(open.find("Casa"), std::string::npos);
  EXPECT_NE(open.find("Totais"), std::string::npos);
  EXPECT_NE(open.find("150,50"), std::string::npos) << open;
  EXPECT_NE(open.find("15,00"), std::string::npos);
  EXPECT_EQ(open.find("1.149,50"), std::string::npos);
  const std::vector<std::pair<int, long>> want = {
      {ui::key::kEnter, 2}, {ui::key::kDel, 2}, {ui::key::kIns, 0}};
  EXPECT_EQ(items, want);
}

TEST_F(LookupListTest, GainSummaryOpensOnlyWithAGainToShow) {
  copy(7, {{{"TIPO_BEM", Decimal(2)}, {"ESPC_BEM", std::string("Terreno")}}});
  EXPECT_FALSE(lookup.GERAL({"M->I3_04", Decimal(0)}));  // no key read
  values.set("I3_04UNICC", "10.00"_dec);
  f.h.type("<Enter>");
  EXPECT_FALSE(lookup.GERAL({"M->I3_04", Decimal(0)}));
  f.h.type("<Esc>");
  EXPECT_FALSE(lookup.GERAL({"M->I3_04", Decimal(0)}));
}

TEST_F(LookupListTest, AReferenceTableShippedEmptyOpensAnEmptyListWithAMessage) {
  f.h.type("<Enter><Down><Esc>");
  EXPECT_FALSE(lookup.GERAL({"M->CDPRO", std::string()}));
  EXPECT_NE(f.h.row_text(24).find("OCUPACAO sem registros"), std::string::npos) << f.h.dump();
  EXPECT_EQ(f.workspace.held(58), nullptr);
}

TEST_F(LookupListTest, AMissingReferenceTableIsToldAndNoListOpens) {
  std::filesystem::remove(f.globals.ARQDEF + "CODABENS.DBF");
  f.h.type("<Enter>");  // the notice of the missing table
  EXPECT_FALSE(lookup.GERAL({"CODIGOA", std::string()}));
  EXPECT_TRUE(f.h.terminal.script_done());
  EXPECT_FALSE(lookup.PROG);
}

TEST_F(LookupListTest, OrderKeysSwitchToTheOtherIndex) {
  // The bank list starts in name order on 237; F2 turns to the code order, keeping the row,
  // where 341 follows it; F1 back to the name order, where 745 follows it.
  f.h.type("<F2><Down><Enter>");
  auto choice = lookup.GERAL({"M->BANCO", std::string()});
  ASSERT_TRUE(choice);
  EXPECT_EQ(shown(choice->value), "341");
  f.h.type("<F2><F1><Down><Enter>");
  choice = lookup.GERAL({"M->BANCO", std::string()});
  ASSERT_TRUE(choice);
  EXPECT_EQ(shown(choice->value), "745");
}

}  // namespace
}  // namespace kx::declaration
