#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/layout.h"

namespace kx::store {
namespace {

std::vector<std::string> names(const dbf::Schema& s, std::size_t from, std::size_t count) {
  std::vector<std::string> out;
  for (std::size_t i = from; i < from + count && i < s.fields().size(); ++i)
    out.push_back(s.fields()[i].name);
  return out;
}

struct Shape {
  int table;
  std::size_t fields;
  int record_length;  // deleted flag included
  const char* last_field;
};

// Counted field by field from the table descriptions.
TEST(DeclarationLayout, FieldCountsRecordLengthsAndLastFields) {
  const Shape shapes[] = {
      {1, 146, 1803, "NOVREG"},   {2, 80, 974, "I1_612"},    {3, 8, 96, "SAIUJUNT"},
      {4, 26, 850, "REGISTRO"},   {5, 8, 570, "I8_6"},        {6, 21, 288, "I6_412"},
      {7, 134, 1818, "IMP_LEI12"}, {8, 23, 216, "LOTE"},       {9, 102, 1135, "NOMEAG"},
      {10, 5, 77, "DESCRITEM"},   {11, 4, 76, "PAGINA"},      {12, 93, 1115, "I2_713"},
      {13, 11, 176, "DESCRI"},    {14, 3, 64, "PREJUIZO"},    {15, 66, 608, "SO_TOTAL"},
      {16, 17, 236, "OPC20RS"},   {17, 9, 551, "I8R_4"},      {18, 9, 580, "I9R_5"},
      {19, 8, 80, "TEMITR"},      {20, 6, 83, "PERCENT"},
  };
  for (const Shape& s : shapes) {
    SCOPED_TRACE("table " + std::to_string(s.table));
    const dbf::Schema& layout = declaration_layout(s.table);
    EXPECT_EQ(layout.fields().size(), s.fields);
    EXPECT_EQ(layout.record_length(), s.record_length);
    EXPECT_EQ(layout.fields().back().name, s.last_field);
    EXPECT_EQ(layout.fields().front().name, "CPF");
    EXPECT_EQ(layout.fields().front().width, 11);
  }
}

TEST(DeclarationLayout, OutOfRangeNumbersThrow) {
  EXPECT_THROW(declaration_layout(0), std::out_of_range);
  EXPECT_THROW(declaration_layout(21), std::out_of_range);
}

TEST(DeclarationLayout, SummaryInterleavesExemptAndExclusiveLines) {
  const dbf::Schema& s = declaration_layout(1);
  EXPECT_EQ(names(s, 1, 4), (std::vector<std::string>{"I3_01", "I4_01", "I3_02", "I4_02"}));
  EXPECT_EQ(names(s, 19, 4), (std::vector<std::string>{"I3_10", "I4_10", "I3_11", "I3_12"}));
  EXPECT_EQ(s.fields()[34].name, "I3_24");
  EXPECT_EQ(names(s, 35, 7),
            (std::vector<std::string>{"I3_04GCPV", "I3_04UNIC", "I3_04REDU", "I3_04EXTR",
                                      "I3_04GCPVC", "I3_04UNICC", "I3_04REDUC"}));
  const dbf::Field* line = s.find("I13_50");
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->type, dbf::FieldType::numeric);
  EXPECT_EQ(line->width, 12);
  EXPECT_EQ(line->decimals, 2);
}

TEST(DeclarationLayout, MonthlyValuesRunMonthByMonth) {
  const dbf::Schema& s = declaration_layout(12);
  EXPECT_EQ(names(s, 0, 2), (std::vector<std::string>{"CPF", "CPFDEPEN"}));
  EXPECT_EQ(names(s, 7, 3), (std::vector<std::string>{"I2_601", "I2_701", "I2_102"}));
  EXPECT_EQ(s.fields()[92].name, "I2_713");
}

TEST(DeclarationLayout, RuralResultMonthsThenHerdColumns) {
  const dbf::Schema& s = declaration_layout(15);
  EXPECT_EQ(names(s, 2, 4), (std::vector<std::string>{"I3_01OR", "I3_01OD", "I3_02OR", "I3_02OD"}));
  EXPECT_EQ(s.fields()[25].name, "I3_12OD");
  EXPECT_EQ(s.fields()[26].name, "I4R_01");
  const int herd = s.index_of("I7_1A");
  ASSERT_GE(herd, 0);
  EXPECT_EQ(names(s, herd, 6),
            (std::vector<std::string>{"I7_1A", "I7_1B", "I7_1C", "I7_1S", "I7_1V1", "I7_2A"}));
  EXPECT_EQ(s.fields()[herd + 24].name, "I7_5V1");
  EXPECT_EQ(s.find("I7_V1")->type, dbf::FieldType::character);
}

TEST(DeclarationLayout, IncomeAndCapitalGainMonthsInterleave) {
  const dbf::Schema& income = declaration_layout(2);
  const int first = income.index_of("I1_401");
  ASSERT_EQ(income.fields()[first - 1].name, "NEW2");
  EXPECT_EQ(names(income, first, 4),
            (std::vector<std::string>{"I1_401", "I1_501", "I1_601", "I1_402"}));
  const dbf::Schema& gains = declaration_layout(7);
  const int month = gains.index_of("REC_MES01");
  ASSERT_EQ(gains.fields()[month - 1].name, "NEW");
  EXPECT_EQ(names(gains, month, 7),
            (std::vector<std::string>{"REC_MES01", "VAL_TRI01", "DIA_REC01", "IMP_DEV01",
                                      "IMP_PAG01", "IMP_LEI01", "REC_MES02"}));
  EXPECT_EQ(gains.find("DIA_REC01")->width, 2);
}

TEST(DeclarationLayout, WideDescriptionsKeepTheirWidth) {
  for (auto [table, field] : {std::pair{4, "I7_2"}, {5, "I8_2"}, {17, "I8R_1"}, {18, "I9R_1"}}) {
    const dbf::Field* f = declaration_layout(table).find(field);
    ASSERT_NE(f, nullptr) << field;
    EXPECT_EQ(f->width, 512) << field;
  }
}

TEST(CreationLayout, WorkingCopiesTakeTheirTablesLayout) {
  for (int n = 21; n <= 40; ++n) EXPECT_EQ(creation_layout(n), &declaration_layout(n - 20)) << n;
}

TEST(CreationLayout, ConfigurationAndSharedSettingsRecordLengths) {
  ASSERT_NE(creation_layout(42), nullptr);
  EXPECT_EQ(creation_layout(42)->record_length(), 808);
  EXPECT_EQ(creation_layout(42)->fields().size(), 40u);
  ASSERT_NE(creation_layout(43), nullptr);
  EXPECT_EQ(creation_layout(43)->record_length(), 336);
  EXPECT_EQ(creation_layout(43)->fields().size(), 33u);
  EXPECT_EQ(creation_layout(43)->fields()[7].name, "VCTO8");
}

TEST(CreationLayout, ReferenceTablesAreNeverCreated) {
  for (int n : {45, 46, 47, 48, 49, 51, 54, 55, 58, 59, 60, 61, 62, 64, 65, 66, 69, 75}) {
    EXPECT_EQ(creation_layout(n), nullptr) << n;
    EXPECT_NE(reference_layout(n), nullptr) << n;
  }
  for (int n : {0, 1, 42, 71, 76}) EXPECT_EQ(reference_layout(n), nullptr) << n;
  for (int n : {0, 71, 76}) EXPECT_EQ(creation_layout(n), nullptr) << n;
}

TEST(CreationLayout, SystemTablesFieldsAsListed) {
  struct Case {
    int table;
    std::vector<std::string> first;
    int record_length;
  };
  const Case cases[] = {
      {50, {"SELEC", "DIRETOR"}, 82},
      {56, {"NRO_TERM", "COR_TEL1"}, 2 + 9 * 3 + 8 * 10 + 1},
      {57, {"NRO_TERM", "NROIMPR"}, 2 + 3 + 2 + 8 + 15 + 60 + 4 * 60 + 1},
      {41, {"CONFIM", "NOMEIMP", "SEQ0"}, 1 + 15 + 4 * 60 + 1},
      {63, {"CPF", "NOMECONTR", "NOMEFONTE"}, 11 + 47 + 40 + 18 + 21 * 12 + 3 * 40 + 5 + 1},
      {72, {"NOMEAG", "HORAG", "ANOTAG", "DATAG", "AVISAG"}, 22 + 5 + 60 + 8 + 1 + 1},
  };
  for (const Case& c : cases) {
    const dbf::Schema* s = creation_layout(c.table);
    ASSERT_NE(s, nullptr) << c.table;
    EXPECT_EQ(names(*s, 0, c.first.size()), c.first) << c.table;
    EXPECT_EQ(s->record_length(), c.record_length) << c.table;
  }
  EXPECT_EQ(creation_layout(63)->fields().back().name, "QTDMES");
  EXPECT_TRUE(reference_layout(45)->has_memo());
}

}  // namespace
}  // namespace kx::store
