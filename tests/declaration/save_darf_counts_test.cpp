// The DARF counts of a declaration from its monthly grid and its capital gains rows.
#include <gtest/gtest.h>

#include <map>

#include "declaration/darf_counts.h"
#include "store/layout.h"

namespace kx::declaration {
namespace {

using Values = std::map<std::string, Decimal>;

// Rows of tables 12 and 7 built from numeric field values (DAY_TRADE as a number is text).
class Rows : public DeclarationRows {
 public:
  void add(int table, const Values& values, const std::string& day_trade = "") {
    const dbf::Schema& s = store::declaration_layout(table);
    std::string row(static_cast<size_t>(s.record_length()), ' ');
    for (const auto& [name, value] : values) dbf::put_number(row, *s.find(name), value);
    if (table == 7) dbf::put_text(row, *s.find("DAY_TRADE"), day_trade);
    rows_[table].push_back(row);
  }
  const dbf::Schema* schema(int n) override { return &store::declaration_layout(n); }
  void visit(int n, const std::function<void(const dbf::RecordView&)>& visit) override {
    for (const std::string& row : rows_[n]) visit(dbf::RecordView(store::declaration_layout(n), row));
  }
  bool store(const std::vector<RowUpdate>&) override { return false; }

 private:
  std::map<int, std::vector<std::string>> rows_;
};

TEST(DarfCounts, CarneLeaoMonthsOfEveryPersonAndTheQuota) {
  Rows rows;
  rows.add(12, {{"I2_701", "100"_dec}, {"I2_712", "20.5"_dec}, {"I2_713", "999"_dec}});
  rows.add(12, {{"I2_703", "30"_dec}, {"I2_704", "-5"_dec}});
  const DarfCounts c = darf_counts(rows, 3, "412.30"_dec);
  EXPECT_EQ(c.NRCLEAO, 3);  // the total of month 13 and amounts below 0 do not count
  EXPECT_EQ(c.DFCLEAO, "150.5"_dec);
  EXPECT_EQ(c.NRQUOTA, 3);
  EXPECT_EQ(c.DFQUOTA, "412.30"_dec);
  EXPECT_EQ(c.NRGCAPIT, 0);
  EXPECT_EQ(c.NRRVARIV, 0);
}

TEST(DarfCounts, CapitalGainsByMonthAndUntaxedSales) {
  struct Case {
    const char* what;
    std::vector<Values> sales;
    int months;
    Decimal total;
  };
  const Case cases[] = {
      {"a loss", {{{"TIPO_BEM", 1}, {"VAL_ALI", 100}, {"CUS_ATUAL", 200}}}, -1, 0},
      {"a gain without taxed part",
       {{{"TIPO_BEM", 2}, {"VAL_ALI", 300}, {"CUS_ATUAL", 200}, {"VAL_TRIBU", 0}}}, -1, 0},
      {"tax due less tax paid, two sales in one month and one in another",
       {{{"TIPO_BEM", 1}, {"VAL_ALI", 300}, {"CUS_ATUAL", 200}, {"VAL_TRIBU", 100},
         {"IMP_DEV03", 15}, {"IMP_PAG03", 5}},
        {{"TIPO_BEM", 3}, {"VAL_ALI", 300}, {"CUS_ATUAL", 200}, {"VAL_TRIBU", 100},
         {"IMP_DEV03", 7}, {"IMP_DEV06", 2}}},
       2, 19},
      {"tax already paid in full",
       {{{"TIPO_BEM", 1}, {"VAL_ALI", 300}, {"CUS_ATUAL", 200}, {"VAL_TRIBU", 100},
         {"IMP_DEV05", 15}, {"IMP_PAG05", 15}}},
       -1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Rows rows;
    for (const Values& sale : c.sales) rows.add(7, sale);
    const DarfCounts counts = darf_counts(rows, 1, 0);
    EXPECT_EQ(counts.NRGCAPIT, c.months);
    EXPECT_EQ(counts.DFGCAPIT, c.total);
  }
}

TEST(DarfCounts, VariableIncomeTaxLessTheOtherLines) {
  Rows rows;
  rows.add(7, {{"TIPO_BEM", 4}, {"RVAR_NRO", 25}, {"REC_MES01", 50}, {"REC_MES02", 10}});
  rows.add(7, {{"TIPO_BEM", 4}, {"RVAR_NRO", 26}, {"REC_MES02", 10}});
  rows.add(7, {{"TIPO_BEM", 4}, {"RVAR_NRO", 25}, {"REC_MES04", 80}}, "1");  // a line of its own
  rows.add(7, {{"TIPO_BEM", 4}, {"RVAR_NRO", 24}, {"REC_MES05", 80}});        // not a tax line
  const DarfCounts c = darf_counts(rows, 1, 0);
  EXPECT_EQ(c.NRRVARIV, 1);
  EXPECT_EQ(c.DFRVARIV, Decimal(50));

  Rows offset;
  offset.add(7, {{"TIPO_BEM", 4}, {"RVAR_NRO", 25}, {"REC_MES03", 10}});
  offset.add(7, {{"TIPO_BEM", 4}, {"RVAR_NRO", 27}, {"REC_MES03", 10}});
  EXPECT_EQ(darf_counts(offset, 1, 0).NRRVARIV, -1);
}

}  // namespace
}  // namespace kx::declaration
