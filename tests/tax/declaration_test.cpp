// Whole declarations computed end to end, every summary line checked: the lines listed must have
// the value given, every other line I13_01..I13_50 must be 0.
#include <gtest/gtest.h>

#include <map>

#include "fixture.h"
#include "tax/carne_leao.h"
#include "tax/compute.h"
#include "tax/fields.h"

namespace kx::tax {
namespace {

using test::accumulated;
using test::company;
using test::day;
using test::dependant;
using test::monthly;
using test::payment;

Decimal value_of(Result& r, const std::string& name) {
  auto ref = field(r, name);
  if (!ref) throw std::runtime_error("no field " + name);
  if (auto* d = std::get_if<Decimal*>(&*ref)) return **d;
  if (auto* i = std::get_if<int*>(&*ref)) return Decimal(**i);
  throw std::runtime_error("not a number: " + name);
}

void expect_lines(Result r, const std::map<std::string, const char*>& expected) {
  for (const auto& [name, value] : expected)
    EXPECT_EQ(value_of(r, name), Decimal::parse(value).value()) << name;
  for (int n = 1; n <= 50; ++n) {
    const std::string name = (n < 10 ? "I13_0" : "I13_") + std::to_string(n);
    if (!expected.count(name)) {
      EXPECT_EQ(value_of(r, name), Decimal()) << name;
    }
  }
}

TEST(Declaration, CompleteModelWithDependantsAndCarneLeao) {
  Declaration d;
  d.registry.USAPADRAO = "N";
  IncomeRow job = company("J", "90000"_dec, "12000"_dec, "9000"_dec);
  job.I1_7 = "7500"_dec;
  d.income = {job, company("D", "12000"_dec, "0"_dec, "1200"_dec),
              accumulated("10000"_dec, "8"_dec, "1000"_dec, false),
              monthly("F", 6, "4000"_dec), monthly("I", 6, "300"_dec)};
  d.income[2].I1_5 = "500"_dec;
  d.dependants = {dependant(1), dependant(2, 4)};
  d.payments = {payment(1, "5000"_dec, {}, 0), payment(1, "2000"_dec, {}, 2),
                payment(10, "8000"_dec, "1000"_dec), payment(36, "15000"_dec),
                payment(41, "2000"_dec), payment(50, "1500"_dec)};
  const Result r = compute(d, test::context());

  // June's carnê-leão: 4000 - 2 x 179.71 = 3640.58; 819.1305 - 602.96 = 216.17 due, 300 paid.
  EXPECT_EQ(r.monthly.at(0).at(kDue, 6), "216.17"_dec);
  EXPECT_EQ(r.monthly.at(0).at(kCorrected, 6), "0"_dec);
  expect_lines(r, {
      {"I13_01", "90000"},
      {"I13_02", "12000"},
      {"I13_03", "4000"},
      {"I13_05", "10000"},
      {"I13_08", "116000"},     // 90000 + 12000 + 4000 + 10000
      {"I13_09", "10200"},      // 9000 + 1200
      {"I13_10", "1000"},
      {"I13_11", "13920"},      // 15000 limited to 12 % of 116000
      {"I13_12", "4313.04"},    // 2 x 2156.52
      {"I13_13", "5375.83"},    // 5000 -> 3375.83, plus 2000
      {"I13_14", "7000"},       // 8000 - 1000 reimbursed
      {"I13_19", "41808.87"},   // 10200 + 1000 + 13920 + 4313.04 + 5375.83 + 7000
      {"I13_20", "74191.13"},
      {"I13_21", "10488.73"},   // 20402.56075 - 9913.83 = 10488.73075
      {"I13_22", "629.32"},     // 6 % of 10488.73 = 629.3238, cut
      {"I13_23", "9859.41"},
      {"I13_24", "1152.88"},    // 1500 capped
      {"I13_26", "8706.53"},    // 9859.41 - 1152.88
      {"I13_27", "12500"},      // 12000 + 500 of the accumulated income
      {"I13_29", "300"},
      {"I13_35", "12800"},
      {"I13_38", "4093.47"},    // 12800 - 8706.53
      {"I13_45", "7500"},       // 13th salary
  });
  EXPECT_EQ(r.payments.at(4).I6_5, "1370.68"_dec);  // 2000 - 629.32 of the culture donation
  EXPECT_EQ(r.IMPPGRE, "-4093.47"_dec);
  EXPECT_EQ(r.QTD_QUOTA, 0);
  EXPECT_EQ(r.DESPADRAO, "15880.89"_dec);
  EXPECT_EQ(r.DESCON, "41808.87"_dec);
  // Simplified: tax of 116000 - 15880.89 = 100119.11 is 17618.92, more than 8706.53: no advice.
  EXPECT_EQ(r.tax_simplified, "17618.92"_dec);
  EXPECT_EQ(r.tax_complete, "8706.53"_dec);
  EXPECT_FALSE(r.has_notice(NoticeKind::AdviceSimplified));
  // Balance: receipts 116000 + 7500; expenses 12800 paid + declared 46000 (the employee's cost
  // 1500 x 8.333335 + 1500 = 14000.00 and 32000 of the other payments) + 10200 + 4313.04.
  EXPECT_EQ(r.DESPDECLA, "46000"_dec);
  EXPECT_EQ(r.RECEITA, "123500"_dec);
  EXPECT_EQ(r.DESPESA, "73313.04"_dec);
  EXPECT_EQ(r.SALDO, "50186.96"_dec);
  EXPECT_EQ(r.INDGAS, "40.64"_dec);  // 40.6372...
  EXPECT_FALSE(r.has_notice(NoticeKind::CashProblem));
}

TEST(Declaration, SimplifiedModelWithAccumulatedIncomeAndQuotas) {
  Declaration d;
  d.registry.USAPADRAO = "S";
  d.registry.DEBITAUT = "S";
  IncomeRow own = accumulated("30000"_dec, "6"_dec);
  own.I1_5 = "1500"_dec;
  d.income = {company("J", "40000"_dec, "1000"_dec, "4000"_dec), own};
  d.payments = {payment(50, "600"_dec)};
  const Result r = compute(d, test::context(day(20, 4, 2015)));
  expect_lines(r, {
      {"I13_01", "40000"},
      {"I13_08", "40000"},
      {"I13_09", "4000"},      // kept from the complete model
      {"I13_19", "4000"},
      {"I13_20", "32000"},     // 40000 less the 20 % discount 8000
      {"I13_21", "791.01"},    // 2400 - 1608.99
      {"I13_23", "791.01"},
      {"I13_25", "3293.10"},   // 30000 / 6 = 5000: 8250 - 826.15 x 6
      {"I13_26", "4084.11"},   // 791.01 + 3293.10, domestic employer not subtracted
      {"I13_27", "1000"},
      {"I13_34", "1500"},
      {"I13_35", "2500"},
      {"I13_36", "1584.11"},
      {"I13_37", "198.01"},    // 8 quotas of 198.01375, cut
      {"I13_45", "28500"},     // 30000 - 1500 taxed on its own
  });
  EXPECT_EQ(r.income.at(1).I1_20, "3293.10"_dec);
  EXPECT_EQ(r.QTD_QUOTA, 8);
  EXPECT_EQ(r.DEBITAUT, "S");  // eight quotas: kept after 1 April
  // Complete: tax of 36000 is 1379.65, less 600 of domestic employer: 779.65 < 791.01.
  EXPECT_EQ(r.tax_complete, "779.65"_dec);
  EXPECT_TRUE(r.has_notice(NoticeKind::AdviceComplete));
  // Balance: 40000 + 28500 + 1500 received; 2500 paid, 5600.00 employee's cost + 4000 declared.
  EXPECT_EQ(r.RECEITA, "70000"_dec);
  EXPECT_EQ(r.DESPESA, "12100"_dec);
  EXPECT_EQ(r.INDGAS, "82.71"_dec);
}

TEST(Declaration, DepartureTaxesSixMonths) {
  Declaration d;
  d.registry.USAPADRAO = "N";
  d.summary.DECSAIDA = "S";
  d.summary.DATASAIDA = day(15, 8, 2014);
  d.summary.DATADECIS = day(10, 3, 2014);
  d.income = {company("J", "30000"_dec, "2000"_dec)};
  const Result r = compute(d, test::context());
  expect_lines(r, {
      {"I13_01", "30000"},
      {"I13_08", "30000"},
      {"I13_20", "30000"},
      // Six months: the top bound 26782.86; 8250 - 9913.83 / 2 = 3293.085.
      {"I13_21", "3293.08"},
      {"I13_23", "3293.08"},
      {"I13_26", "3293.08"},
      {"I13_27", "2000"},
      {"I13_35", "2000"},
      {"I13_36", "1293.08"},
      {"I13_37", "161.63"},  // 8 quotas of 161.635
  });
  EXPECT_FALSE(r.has_notice(NoticeKind::AdviceSimplified));  // never for a departure
}

TEST(Declaration, EveryCallRecomputesFromTheRows) {
  Declaration d;
  d.registry.USAPADRAO = "N";
  d.income = {company("J", "50000"_dec, "3000"_dec)};
  const Result first = compute(d, test::context());
  d.income.clear();
  const Result second = compute(d, test::context());
  EXPECT_EQ(first.I13_21, "4014.46"_dec);
  EXPECT_EQ(second.I13_21, "0"_dec);
  EXPECT_EQ(second.I13_27, "0"_dec);
  EXPECT_EQ(compute(d, test::context()).I13_08, second.I13_08);
}

}  // namespace
}  // namespace kx::tax
