#include <gtest/gtest.h>

#include "fixture.h"
#include "tax/compute.h"
#include "tax/totals.h"

namespace kx::tax {
namespace {

using test::accumulated;
using test::company;
using test::dependant;
using test::payment;

TEST(PaymentTotals, EachCodeFeedsItsTotal) {
  Result r;
  payment_totals({payment(1, "4000"_dec), payment(8, "1000"_dec, "300"_dec),
                  payment(30, "500"_dec), payment(33, "200"_dec), payment(36, "700"_dec),
                  payment(37, "90"_dec), payment(39, "10"_dec), payment(41, "20"_dec),
                  payment(45, "30"_dec), payment(50, "1200"_dec), payment(60, "100"_dec),
                  payment(72, "40"_dec), payment(93, "999"_dec), payment(99, "5"_dec)},
                 r);
  EXPECT_EQ(r.I13_13T, "4000"_dec);
  EXPECT_EQ(r.DESPINST, "X");
  EXPECT_EQ(r.I13_14, "700"_dec);   // 1000 paid less 300 reimbursed
  EXPECT_EQ(r.I13_14D, "300"_dec);  // the reimbursement
  EXPECT_EQ(r.I13_15, "500"_dec);
  EXPECT_EQ(r.I13_16, "200"_dec);
  EXPECT_EQ(r.I13_11T, "700"_dec);
  EXPECT_EQ(r.NFUNPRESP, "90"_dec);
  EXPECT_EQ(r.I13_22C, "10"_dec);
  EXPECT_EQ(r.I13_22T, "20"_dec);
  EXPECT_EQ(r.I13_22P, "30"_dec);
  EXPECT_EQ(r.I13_24T, "1200"_dec);
  // Employee's yearly cost: 1200 * 8.333335 + 1200 = 11200.002 -> 11200.00.
  EXPECT_EQ(r.NTOTEMPREG, "11200.00"_dec);
  // Professionals 100, brokerage subtracted 40, others 5.
  EXPECT_EQ(r.DESPSIMP, "65"_dec);
  // Every row but codes 50 and 91-97 (72 subtracts): 4000 + 1000 + 500 + 200 + 700 + 90 + 10 + 20
  // + 30 + 100 - 40 + 5 = 6615, plus the employee's cost 11200.00.
  EXPECT_EQ(r.DESPDECLA, "17815.00"_dec);
}

TEST(Education, LimitedPerPersonKeyedByThePersonNumber) {
  TaxConstants k;
  // Person 1 was deleted: the remaining dependant keeps its number 2, the recipient is 3 and the
  // heir 4 has no education deduction.
  const std::vector<Dependant> people = {dependant(2), dependant(3, 99), dependant(4, 100)};
  Result r;
  recount_dependants(people, r);
  EXPECT_EQ(r.N_DEPEN, 1);
  EXPECT_EQ(r.DESPALIM, 1);
  education({payment(1, "5000"_dec, {}, 0), payment(2, "2000"_dec, {}, 2),
             payment(1, "2000"_dec, {}, 2), payment(1, "300"_dec, {}, 3),
             payment(1, "100"_dec, {}, 7), payment(1, "100"_dec, {}, 4)},
            people, k, r);
  // Titular 5000 -> 3375.83; person 2: 2000 + 2000 -> 3375.83; recipient 300; persons 7 and 4
  // have no slot.
  EXPECT_EQ(r.I13_13, "7051.66"_dec);
  EXPECT_TRUE(r.has_notice(NoticeKind::EducationPersonMissing));
}

TEST(Education, RowsWithoutNumberGetTheirPosition) {
  TaxConstants k;
  const std::vector<Dependant> people = {dependant(0), dependant(0)};
  Result r;
  recount_dependants(people, r);
  EXPECT_EQ(r.person_numbers, (std::vector<int>{1, 2}));
  education({payment(1, "1000"_dec, {}, 2)}, people, k, r);
  EXPECT_EQ(r.I13_13, "1000"_dec);
}

TEST(AccumulatedIncome, MonthlyTableTimesTheMonths) {
  TaxConstants k;
  struct Case {
    const char* income;
    const char* months;
    const char* social_security;
    const char* tax;
  } cases[] = {
      // Net 54000 / 12 = 4500 (27.5 %): 14850 - 826.15 * 12 (9913.80) = 4936.20.
      {"60000", "12", "6000", "4936.20"},
      // Net 10000 / 5 = 2000 (7.5 %): 750 - 134.08 * 5 (670.40) = 79.60.
      {"10000", "5", "0", "79.60"},
      // 2.5 months: 5000 / 2.5 = 2000: 375 - 134.08 * 2.5 (335.20) = 39.80.
      {"5000", "2.5", "0", "39.80"},
      // Average at the bound 1787.78: exempt.
      {"17877.80", "10", "0", "0"},
      // No months: nothing can be computed.
      {"10000", "0", "0", "0"},
  };
  for (const auto& c : cases) {
    const IncomeRow row = accumulated(Decimal::parse(c.income).value(),
                                      Decimal::parse(c.months).value(),
                                      Decimal::parse(c.social_security).value());
    EXPECT_EQ(rra_own_tax(row, k), Decimal::parse(c.tax).value()) << c.income << "/" << c.months;
  }
  EXPECT_EQ(rra_own_tax(accumulated("60000"_dec, "12"_dec, {}, false), k), "0"_dec);
}

TEST(IncomeTotals, RowsFeedTheirLines) {
  Declaration d;
  IncomeRow sick = company("J", "30000"_dec, "1000"_dec, "3000"_dec);
  sick.I1_18 = "20000"_dec;  // serious illness: the 13th salary is exempt as well
  sick.I1_7 = "2500"_dec;
  sick.I1_39 = "100"_dec;
  IncomeRow other = company("J", "50000"_dec, "5000"_dec, "4000"_dec);
  other.I1_3 = "22.333.444/0001-90";
  other.I1_7 = "4000"_dec;  // 13th salary: exclusive line 01
  other.I1_15 = "700"_dec;  // profits: exempt line 05
  other.I1_19 = "300"_dec;
  other.I1_20 = "100"_dec;  // suspended exigibility 300 less the deposit 100
  IncomeRow dep = company("D", "8000"_dec, "0"_dec, "800"_dec);
  dep.I1_7 = "600"_dec;
  IncomeRow own = accumulated("20000"_dec, "4"_dec, "1000"_dec);
  own.I1_5 = "500"_dec;
  IncomeRow adjusted = accumulated("9000"_dec, "3"_dec, "900"_dec, false);
  adjusted.I1_11 = "N";
  adjusted.I1_12 = "400"_dec;
  d.income = {sick, other, dep, own, adjusted};
  d.summary.I3_02 = "50"_dec;
  d.summary.I3_04GCPV = "10"_dec;
  d.summary.I3_04UNICC = "20"_dec;

  const Result r = compute(d, test::context());
  EXPECT_EQ(r.I13_01, "80000"_dec);
  EXPECT_EQ(r.I13_02, "8000"_dec);
  EXPECT_EQ(r.I13_27, "6100"_dec);  // 1000 + 100 (13th of the sick pension) + 5000
  EXPECT_EQ(r.I13_28, "0"_dec);
  EXPECT_EQ(r.I3[7], "22500"_dec);  // 20000 + its 13th salary 2500
  EXPECT_EQ(r.I4[1], "4000"_dec);
  EXPECT_EQ(r.I4[6], "600"_dec);
  EXPECT_EQ(r.I3[5], "700"_dec);
  EXPECT_EQ(r.I3[2], "50"_dec);
  EXPECT_EQ(r.I3[4], "30"_dec);
  EXPECT_EQ(r.EXGSUSP, "200"_dec);
  EXPECT_EQ(r.CGCPAGADOR, "22.333.444/0001-90");  // the largest source
  // Taxed on its own: net 19000 / 4 = 4750 (27.5 %): 5225 - 826.15 * 4 = 1920.40.
  EXPECT_EQ(r.income[3].I1_20, "1920.40"_dec);
  EXPECT_EQ(r.I13_25, "1920.40"_dec);
  EXPECT_EQ(r.I13_34, "500"_dec);
  EXPECT_EQ(r.I4[5], "18500"_dec);  // 20000 - 500 - 1000
  // In the annual adjustment, of a dependant.
  EXPECT_EQ(r.I13_06, "9000"_dec);
  EXPECT_EQ(r.I13_10, "900"_dec);
  EXPECT_EQ(r.I13_17, "400"_dec);
  EXPECT_EQ(r.I13_09, "7800"_dec);  // 3000 + 4000 + 800
  EXPECT_EQ(r.I13_44, "23280"_dec);  // 22500 + 700 + 50 + 30
  EXPECT_EQ(r.I13_45, "23100"_dec);  // 4000 + 600 + 18500
}

}  // namespace
}  // namespace kx::tax
