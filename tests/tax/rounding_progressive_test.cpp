#include <gtest/gtest.h>

#include "fixture.h"

#include "tax/progressive.h"
#include "tax/rounding.h"

namespace kx::tax {
namespace {

TEST(Despreza, RoundsAtFourthDecimalThenCuts) {
  struct Case {
    const char* x;
    int width;
    const char* expected;
  } cases[] = {
      {"10.23999", 15, "10.24"},  // 10.2400 -> 10.24
      {"10.23499", 15, "10.23"},  // 10.2350 -> 10.23 (cut, not rounded)
      {"-1.2345", 15, "-1.23"},
      {"0.005", 15, "0.00"},
      {"2.999999", 15, "3.00"},   // rounds to 3.0000 first
      {"9999999.99", 12, "9999999.99"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(despreza(Decimal::parse(c.x).value(), c.width), Decimal::parse(c.expected).value())
        << c.x;
}

TEST(Despreza, ValueBeyondWidthIsAnError) {
  // Width 12 leaves 7 integer digits.
  EXPECT_THROW(despreza("10000000.00"_dec, 12), DecimalOverflow);
  EXPECT_NO_THROW(despreza("10000000.00"_dec, 14));
}

TEST(AnnualTax, BracketsAndTheirEdges) {
  TaxConstants k;
  struct Case {
    const char* base;
    const char* tax;
  } cases[] = {
      {"0", "0"},
      {"-500", "0"},
      {"21453.24", "0"},       // at the bound: lower bracket
      {"21453.25", "0.00"},    // 1608.99375 - 1608.99 = 0.00375 -> 0.00
      {"30000", "641.01"},     // 2250 - 1608.99
      {"32151.48", "802.37"},  // 2411.361 - 1608.99 = 802.371
      {"32151.49", "802.37"},  // 4822.7235 - 4020.35 = 802.3735 -> 802.37
      {"42869.16", "2410.02"}, // 6430.374 - 4020.35 = 2410.024
      {"53565.72", "4816.74"}, // 12052.287 - 7235.54 = 4816.747
      {"53565.73", "4816.74"}, // 14730.57575 - 9913.83 = 4816.74575 -> 4816.7458 -> cut 4816.74
      {"100000", "17586.17"},  // 27500 - 9913.83
  };
  for (const auto& c : cases)
    EXPECT_EQ(annual_tax(k, Decimal::parse(c.base).value()), Decimal::parse(c.tax).value())
        << c.base;
}

TEST(AnnualTax, PeriodOfFewerMonthsScalesBoundsAndDeductions) {
  TaxConstants k;
  // Six months: first bound 10726.62, first deduction 804.495.
  EXPECT_EQ(annual_tax(k, "10726.62"_dec, 6), "0"_dec);
  // 15000 * 0.075 - 804.495 = 320.505 -> 320.50
  EXPECT_EQ(annual_tax(k, "15000"_dec, 6), "320.50"_dec);
  // Seven months: bound 21453.24 * 7 / 12 = 12514.39; 13000 * 0.075 - 1608.99 * 7 / 12
  // = 975 - 938.5775 = 36.4225 -> 36.42
  EXPECT_EQ(annual_tax(k, "13000"_dec, 7), "36.42"_dec);
}

TEST(MonthlyTax, BracketsAndTheirEdges) {
  TaxConstants k;
  struct Case {
    const char* base;
    const char* tax;
  } cases[] = {
      {"1787.78", "0"},      // at the bound
      {"2000", "15.92"},     // 150 - 134.08
      {"2679.30", "66.86"},  // 200.9475 - 134.08 = 66.8675 -> 66.86
      {"5000", "548.85"},    // 1375 - 826.15
  };
  for (const auto& c : cases)
    EXPECT_EQ(monthly_tax(k, Decimal::parse(c.base).value()), Decimal::parse(c.tax).value())
        << c.base;
}

}  // namespace
}  // namespace kx::tax
