#include <gtest/gtest.h>

#include "fixture.h"
#include "tax/carne_leao.h"
#include "tax/compute.h"

namespace kx::tax {
namespace {

using test::day;
using test::dependant;
using test::monthly;
using test::payment;

const MonthlyRow& grid_of(const Result& r, const std::string& cpf) {
  for (const auto& row : r.monthly)
    if (row.CPFDEPEN == cpf) return row;
  throw std::runtime_error("no grid for " + cpf);
}

// SELIC of 0.80 % in every month from May 2014 to February 2015.
std::vector<SelicMonth> flat_selic() {
  std::vector<SelicMonth> selic;
  for (int m = 5; m <= 14; ++m)
    selic.push_back({m <= 12 ? 2014 : 2015, m <= 12 ? m : m - 12, "0.80"_dec});
  return selic;
}

TEST(CarneLeao, DependantsDeductOnlyInMonthsWhoseIncomeReachesThem) {
  Declaration d;
  d.dependants = {dependant(1), dependant(2)};
  d.income = {monthly("F", 3, "3000"_dec), monthly("F", 4, "300"_dec)};
  const Result r = compute(d, test::context());
  const MonthlyRow& grid = grid_of(r, "");
  EXPECT_EQ(grid.at(kDeductions, 3), "359.42"_dec);  // 2 x 179.71
  EXPECT_EQ(grid.at(kDeductions, 4), "0"_dec);       // 300 is below 359.42
  EXPECT_EQ(r.NTOTDEP, "359.42"_dec);
  // March: 3000 - 359.42 = 2640.58; 198.0435 - 134.08 = 63.9635 -> 63.96. April: exempt.
  EXPECT_EQ(grid.at(kDue, 3), "63.96"_dec);
  EXPECT_EQ(grid.at(kDue, 4), "0"_dec);
  EXPECT_EQ(grid.at(kDue, 13), "63.96"_dec);
  EXPECT_EQ(grid.at(kFromPersons, 13), "3300"_dec);
  EXPECT_EQ(r.I13_03, "3300"_dec);
}

TEST(CarneLeao, PaidOrDueAndTheCorrectedShortfall) {
  Declaration d;
  d.income = {monthly("F", 3, "2500"_dec), monthly("I", 3, "20"_dec)};
  Context c = test::context(day(15, 3, 2015));  // payment assumed on 31/03/2015
  c.selic = flat_selic();
  for (bool so_rec : {true, false}) {
    d.summary.SO_REC = so_rec;
    const Result r = compute(d, c);
    const MonthlyRow& grid = grid_of(r, "");
    EXPECT_EQ(r.DF_PAGTO, day(31, 3, 2015));
    // Due 187.50 - 134.08 = 53.42; paid 20.
    EXPECT_EQ(grid.at(kDue, 3), "53.42"_dec);
    EXPECT_EQ(r.I13_29, so_rec ? "20"_dec : "53.42"_dec);
    // Shortfall 33.42, due 30/04/2014, late from 01/05/2014: 335 days, fine 20 % = 6.684 -> 6.68;
    // interest 1 % + 10 months of 0.80 % = 9 % = 3.0078 -> 3.00; 33.42 + 6.68 + 3.00 = 43.10.
    EXPECT_EQ(grid.at(kCorrected, 3), "43.10"_dec);
    EXPECT_EQ(grid.at(kCorrected, 13), "43.10"_dec);
  }
}

TEST(CarneLeao, PaymentBeforeTheFirstLateDayIsThePlainShortfall) {
  Declaration d;
  d.income = {monthly("F", 11, "2500"_dec)};
  // November's tax falls due on 30/12/2014; the payment assumed in December is that very day.
  const Result r = compute(d, test::context(day(10, 12, 2014)));
  EXPECT_EQ(r.DF_PAGTO, day(30, 12, 2014));
  EXPECT_EQ(grid_of(r, "").at(kCorrected, 11), "53.42"_dec);
}

TEST(CarneLeao, DependantGridHasNoAlimonyNorDependants) {
  Declaration d;
  const std::string cpf = "11144477735";
  d.dependants = {dependant(1, 3, cpf)};
  PaymentRow alimony = payment(30, "600"_dec);
  alimony.I6_4m[5] = "600"_dec;  // June
  d.payments = {alimony};
  d.income = {monthly("F", 6, "5000"_dec), monthly("F", 6, "4000"_dec, cpf),
              monthly("P", 6, "100"_dec, cpf)};
  const Result r = compute(d, test::context());
  // Titular: alimony 600 + one dependant 179.71.
  EXPECT_EQ(grid_of(r, "").at(kDeductions, 6), "779.71"_dec);
  EXPECT_EQ(r.PENSAOM, "600"_dec);
  // Dependant: only the pension paid by carnê.
  const MonthlyRow& dep = grid_of(r, cpf);
  EXPECT_EQ(dep.at(kDeductions, 6), "100"_dec);
  // 3900 * 0.225 - 602.96 = 274.54.
  EXPECT_EQ(dep.at(kDue, 6), "274.54"_dec);
  EXPECT_EQ(r.I13_04, "4000"_dec);
  EXPECT_EQ(r.CARNEDEPEN, "100"_dec);
  EXPECT_EQ(r.I13_09, "100"_dec);
}

TEST(CarneLeao, CashBookModeUsesTheDateOfEachEntry) {
  Declaration d;
  d.summary.CAL_AUTO = 3;
  IncomeRow dated = monthly("F", 1, "2500"_dec);
  dated.I1_4m = {};
  dated.DT_LC = day(12, 5, 2014);
  IncomeRow undated = monthly("F", 2, "900"_dec);
  IncomeRow expense = monthly("L", 1, "400"_dec);
  expense.I1_4m = {};
  expense.DT_LC = day(20, 5, 2014);
  d.income = {dated, undated, expense};
  const Result r = compute(d, test::context());
  const MonthlyRow& grid = grid_of(r, "");
  EXPECT_EQ(grid.at(kFromPersons, 5), "2500"_dec);
  EXPECT_EQ(grid.at(kFromPersons, 2), "0"_dec);  // without a date it counts nowhere
  EXPECT_EQ(grid.at(kCashBook, 5), "400"_dec);
  EXPECT_EQ(r.income[0].I1_4m[4], "2500"_dec);  // written into the row's May value
  EXPECT_EQ(r.I13_03, "2500"_dec);
  EXPECT_EQ(r.I13_18, "400"_dec);
  // 2100: 157.50 - 134.08 = 23.42.
  EXPECT_EQ(grid.at(kDue, 5), "23.42"_dec);
}

TEST(CarneLeao, TypedGridIsKeptAndItsDueRecomputed) {
  Declaration d;
  d.summary.CAL_AUTO = 2;
  d.summary.CARNEINSS = "120"_dec;
  MonthlyRow typed;
  typed.at(kFromPersons, 1) = "2000"_dec;
  typed.at(kDue, 1) = "999"_dec;  // stale: recomputed
  d.monthly = {typed};
  d.income = {monthly("F", 1, "7000"_dec)};  // rows do not feed a typed grid
  const Result r = compute(d, test::context());
  EXPECT_EQ(grid_of(r, "").at(kDue, 1), "15.92"_dec);
  EXPECT_EQ(r.I13_03, "2000"_dec);
  EXPECT_EQ(r.CARNEINSS, "120"_dec);
}

TEST(CarneLeao, FillModeOutsideOneToFourIsOne) {
  for (int stored : {0, 5, -1}) EXPECT_EQ(fill_mode(stored), 1);
  for (int stored : {1, 2, 3, 4}) EXPECT_EQ(fill_mode(stored), stored);
}

TEST(CarneLeao, InverseComputationFindsTheGross) {
  TaxConstants k;
  struct Case {
    const char* paid;
    const char* deductions;
    const char* gross;
    const char* paid_after;
  } cases[] = {
      {"0", "0", "1787.73", "0"},        // 134.08 / 0.075 = 1787.7333...
      {"0", "500", "2287.73", "0"},      // the deductions on top
      {"100", "0", "2900.20", "100"},    // 15 %: (100 + 335.03) / 0.15
      {"1000", "0", "6640.55", "1000"},  // 27.5 %: (1000 + 826.15) / 0.275
  };
  for (const auto& c : cases) {
    const InverseMonth found = inverse_month(Decimal::parse(c.paid).value(),
                                             Decimal::parse(c.deductions).value(), k);
    EXPECT_EQ(found.gross, Decimal::parse(c.gross).value()) << c.paid;
    EXPECT_EQ(found.paid, Decimal::parse(c.paid_after).value()) << c.paid;
  }
}

TEST(CarneLeao, DollarConversionAtTheMonthsRate) {
  TaxConstants k;
  EXPECT_EQ(to_dollars("2422.40"_dec, 1, k), "1000.00"_dec);
  EXPECT_EQ(to_reais("100"_dec, 12, k), "265.62"_dec);
  EXPECT_EQ(to_dollars("100"_dec, 3, k), "44.18"_dec);  // 44.189...: cut
}

}  // namespace
}  // namespace kx::tax
