#include <gtest/gtest.h>

#include "fixture.h"
#include "tax/balance.h"
#include "tax/compute.h"

namespace kx::tax {
namespace {

TEST(Patrimony, VariationLoansAndReduction) {
  struct Case {
    const char* assets_before;
    const char* assets_after;
    const char* debts_before;
    const char* debts_after;
    const char* variation;
    const char* loans;
    const char* reduction;
    const char* increase;
  } cases[] = {
      {"100", "80", "50", "70", "-40", "20", "20", "0"},    // both: assets down, debts up
      {"100", "150", "50", "120", "-20", "20", "0", "0"},   // debts grew more than assets
      {"100", "150", "50", "60", "40", "0", "0", "40"},
      {"100", "80", "50", "40", "-10", "0", "10", "0"},     // -(-20) + (-10)
      {"100", "80", "50", "10", "20", "0", "0", "20"},      // 20 - 40 is not above 0
      {"100", "120", "50", "40", "30", "0", "0", "30"},     // assets up, debts down
  };
  for (const auto& c : cases) {
    Declaration d;
    d.assets = {{Decimal::parse(c.assets_before).value(), Decimal::parse(c.assets_after).value(),
                 {}}};
    d.debts = {{Decimal::parse(c.debts_before).value(), Decimal::parse(c.debts_after).value(),
                {}}};
    Result r;
    patrimony(d, r);
    SCOPED_TRACE(std::string(c.assets_before) + "->" + c.assets_after + ", " + c.debts_before +
                 "->" + c.debts_after);
    EXPECT_EQ(r.VARPATR, Decimal::parse(c.variation).value());
    EXPECT_EQ(r.EMPREST, Decimal::parse(c.loans).value());
    EXPECT_EQ(r.I10_2, Decimal::parse(c.reduction).value());
    EXPECT_EQ(r.I10_1, Decimal::parse(c.increase).value());
  }
}

TEST(Balance, IndexAndAlert) {
  struct Case {
    const char* receipts;
    const char* expenses;
    const char* balance;
    const char* index;
    bool alert;
  } cases[] = {
      {"10000", "9500", "500", "5.00", true},  // below the alert of 10 %
      {"10000", "8000", "2000", "20.00", false},
      {"0", "0", "0", "0", true},              // no receipts: index 0, balance not positive
      {"10000", "30000", "-20000", "-99.99", true},
      {"10", "-200", "210", "999", false},     // above 1000 % reads 999
  };
  for (const auto& c : cases) {
    Declaration d;
    d.summary.OUTREC = Decimal::parse(c.receipts).value();
    d.summary.OUTRDES = Decimal::parse(c.expenses).value();
    Result r;
    balance(d, r);
    SCOPED_TRACE(c.receipts);
    EXPECT_EQ(r.SALDO, Decimal::parse(c.balance).value());
    EXPECT_EQ(r.INDGAS, Decimal::parse(c.index).value());
    EXPECT_EQ(r.has_notice(NoticeKind::CashProblem), c.alert);
  }
}

TEST(Balance, DeclaredExpensesByModel) {
  Declaration d;
  d.income = {test::company("J", "50000"_dec, {}, "5000"_dec)};
  d.dependants = {test::dependant(1)};
  d.payments = {test::payment(10, "1000"_dec), test::payment(99, "300"_dec)};
  d.registry.USAPADRAO = "N";
  // Complete: paid 1300 declared + 5000 social security + 2156.52 for the dependant.
  EXPECT_EQ(compute(d, test::context()).DESPESA, "8456.52"_dec);
  d.registry.USAPADRAO = "S";
  // Simplified: 1300 + 5000, plus the tax paid (none).
  EXPECT_EQ(compute(d, test::context()).DESPESA, "6300"_dec);
  // Simplified, only the discount (10000) and the expenses outside the deductions (300).
  d.registry.SO_SIMPLES = "S";
  EXPECT_EQ(compute(d, test::context()).DESPESA, "10300"_dec);
}

}  // namespace
}  // namespace kx::tax
