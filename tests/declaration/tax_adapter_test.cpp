// The adapter over rows from anywhere: every kind of field read by name into the computation's
// input, the rural result of the registry's country, and the values written back.
#include <gtest/gtest.h>

#include <map>

#include "declaration/row_values.h"
#include "declaration/tax_adapter.h"
#include "store/layout.h"

namespace kx::declaration {
namespace {

// Rows kept in memory, as the declaration editor's working copies will give them.
class MemoryRows : public DeclarationRows {
 public:
  void add(int table, const std::vector<NamedValue>& values) {
    const dbf::Schema& s = store::declaration_layout(table);
    rows_[table].push_back(with_values(s, std::string(s.record_length(), ' '), values));
  }
  const dbf::Schema* schema(int table) override { return &store::declaration_layout(table); }
  void visit(int table, const std::function<void(const dbf::RecordView&)>& visit) override {
    for (const std::string& bytes : rows_[table]) visit(dbf::RecordView(*schema(table), bytes));
  }
  bool store(const std::vector<RowUpdate>& updates) override {
    stored = updates;
    return true;
  }
  std::vector<RowUpdate> stored;

 private:
  std::map<int, std::vector<std::string>> rows_;
};

TEST(TaxAdapter, ReadsEveryKindOfFieldByName) {
  MemoryRows rows;
  rows.add(9, {{"CPF", std::string("52998224725")}, {"NASCIMENTO", *Date::from_ymd(1949, 12, 31)},
               {"USAPADRAO", std::string("N")}, {"ATV_BRASIL", std::string("N")},
               {"I9_3", "1234.56"_dec}});
  rows.add(1, {{"CPF", std::string("52998224725")}, {"SO_REC", false}, {"CAL_AUTO", 2},
               {"DATASAIDA", *Date::from_ymd(2014, 8, 15)}});
  rows.add(6, {{"I6_3", 10}, {"I6_6", 2}, {"I6_412", "99.5"_dec}, {"I6_7", std::string("123  ")}});
  rows.add(12, {{"CPFDEPEN", std::string("11144477735")}, {"I2_713", "7.13"_dec},
                {"I2_101", "1.01"_dec}});
  rows.add(15, {{"ATV_BRASIL", std::string("S")}, {"I4R_03", "-10"_dec}});
  rows.add(15, {{"ATV_BRASIL", std::string("N")}, {"I4R_03", "-20"_dec}, {"I4R_07", "5"_dec}});

  const tax::Declaration d = read_declaration(rows).value();
  EXPECT_EQ(d.registry.CPF, "52998224725");
  EXPECT_EQ(d.registry.NASCIMENTO, *Date::from_ymd(1949, 12, 31));
  EXPECT_EQ(d.registry.USAPADRAO, "N");
  EXPECT_EQ(d.registry.I9_3, "1234.56"_dec);
  EXPECT_FALSE(d.summary.SO_REC);
  EXPECT_EQ(d.summary.CAL_AUTO, 2);
  EXPECT_EQ(d.summary.DATASAIDA, *Date::from_ymd(2014, 8, 15));
  ASSERT_EQ(d.payments.size(), 1u);
  EXPECT_EQ(d.payments[0].I6_3, 10);
  EXPECT_EQ(d.payments[0].I6_6, 2);
  EXPECT_EQ(d.payments[0].I6_4m[11], "99.5"_dec);
  EXPECT_EQ(d.payments[0].I6_7, "123");  // trailing blanks dropped
  ASSERT_EQ(d.monthly.size(), 1u);
  EXPECT_EQ(d.monthly[0].CPFDEPEN, "11144477735");
  EXPECT_EQ(d.monthly[0].at(7, 13), "7.13"_dec);
  EXPECT_EQ(d.monthly[0].at(1, 1), "1.01"_dec);
  // The rural result of the country the registry names (abroad), not the first row.
  EXPECT_EQ(d.rural.I4R_03, "-20"_dec);
  EXPECT_EQ(d.rural.I4R_07, "5"_dec);
}

TEST(TaxAdapter, NoRegistryRowNoDeclaration) {
  MemoryRows rows;
  rows.add(1, {{"CPF", std::string("52998224725")}});
  EXPECT_FALSE(read_declaration(rows).has_value());
}

TEST(TaxAdapter, RegistryKeepsTheTotalsItsListsShow) {
  tax::Result r;
  r.I13_27 = "1000"_dec;
  r.I13_28 = "400"_dec;
  r.I13_34 = "1500"_dec;
  r.I13_35 = "2900"_dec;
  r.DEBITAUT = "S";
  MemoryRows rows;
  EXPECT_TRUE(write_results(rows, r));
  ASSERT_EQ(rows.stored.size(), 2u);
  EXPECT_EQ(rows.stored[0].table, 1);
  EXPECT_EQ(rows.stored[1].table, 9);
  std::map<std::string, FieldValue> summary, registry;
  for (const auto& v : rows.stored[0].values) summary.emplace(v.name, v.value);
  for (const auto& v : rows.stored[1].values) registry.emplace(v.name, v.value);
  EXPECT_EQ(std::get<Decimal>(summary.at("I13_27")), "1000"_dec);
  EXPECT_EQ(std::get<Decimal>(summary.at("I13_35")), "2900"_dec);
  EXPECT_EQ(std::get<Decimal>(registry.at("I13_27")), "1400"_dec);  // titular and dependants
  EXPECT_EQ(std::get<Decimal>(registry.at("I13_28")), "400"_dec);
  EXPECT_EQ(std::get<Decimal>(registry.at("I13_35")), "1400"_dec);  // less the RRA's own
  EXPECT_EQ(std::get<std::string>(registry.at("DEBITAUT")), "S");
  // Every value fits the layouts of a new folder.
  EXPECT_TRUE(misfits(store::declaration_layout(1), rows.stored[0].values).empty());
  EXPECT_TRUE(misfits(store::declaration_layout(9), rows.stored[1].values).empty());
}

TEST(TaxAdapter, MisfitsNameTheFieldAndTheValue) {
  const dbf::Schema& summary = store::declaration_layout(1);
  const auto problems = misfits(summary, {{"I13_01", "999999999.99"_dec},
                                          {"I13_02", "1000000000"_dec},
                                          {"DESPINST", std::string("XY")},
                                          {"NOFIELD", 1},
                                          {"QTD_QUOTA", 10}});
  ASSERT_EQ(problems.size(), 4u);
  EXPECT_NE(problems[0].find("1000000000 "), std::string::npos) << problems[0];
  EXPECT_NE(problems[0].find("I13_02 (N 12,2)"), std::string::npos);
  EXPECT_NE(problems[1].find("DESPINST (C 1)"), std::string::npos);
  EXPECT_NE(problems[2].find("NOFIELD"), std::string::npos);
  EXPECT_NE(problems[3].find("QTD_QUOTA (N 1,0)"), std::string::npos);
  EXPECT_THROW(with_values(summary, std::string(summary.record_length(), ' '),
                           {{"I13_01", "1"_dec}, {"I13_02", "1000000000"_dec}}),
               StoreError);
}

}  // namespace
}  // namespace kx::declaration
