#include <gtest/gtest.h>

#include "base/cp850.h"
#include "fixture.h"
#include "tax/annual.h"
#include "tax/compute.h"

namespace kx::tax {
namespace {

using test::accumulated;
using test::company;
using test::day;
using test::payment;

Declaration salaried(Decimal income, const std::string& model, Decimal withheld = Decimal()) {
  Declaration d;
  d.registry.USAPADRAO = model;
  d.income = {company("J", income, withheld)};
  return d;
}

TEST(Deductions, LimitsOfTheCompleteModel) {
  struct Case {
    const char* name;
    int code;
    const char* paid;
    const char* income;
    const char* expected;
    Decimal Result::*line;
  } cases[] = {
      {"private pension 12 %", 36, "20000", "100000", "12000", &Result::I13_11},
      {"private pension under", 38, "5000", "100000", "5000", &Result::I13_11},
      // Tax of 100000: 17586.17; the cap 1152.88 applies.
      {"domestic employer cap", 50, "1500", "100000", "1152.88", &Result::I13_24},
      // Tax of 22000: 1650 - 1608.99 = 41.01: line 23 bounds it.
      {"domestic employer under line 23", 50, "1500", "22000", "41.01", &Result::I13_24},
  };
  for (const auto& c : cases) {
    Declaration d = salaried(Decimal::parse(c.income).value(), "N");
    d.payments = {payment(c.code, Decimal::parse(c.paid).value())};
    const Result r = compute(d, test::context());
    EXPECT_EQ(r.*c.line, Decimal::parse(c.expected).value()) << c.name;
  }
}

TEST(Deductions, SimplifiedDiscountAndItsCap) {
  struct Case {
    const char* income;
    const char* discount;
    const char* base;
  } cases[] = {
      {"100000", "15880.89", "84119.11"},
      {"79404.45", "15880.89", "63523.56"},  // where the cap starts
      {"50000", "10000", "40000"},
      {"100.03", "20.01", "80.02"},  // 20.006 rounded to centavos, so the lines add up
      {"0", "0", "0"},
  };
  for (const auto& c : cases) {
    const Result r = compute(salaried(Decimal::parse(c.income).value(), "S"), test::context());
    EXPECT_EQ(r.DESPADRAO, Decimal::parse(c.discount).value()) << c.income;
    EXPECT_EQ(r.I13_20, Decimal::parse(c.base).value()) << c.income;
  }
}

TEST(Incentives, GeneralLimitThenChildrensFundThenEachProgramme) {
  TaxConstants k;
  const std::vector<PaymentRow> payments = {
      payment(41, "800"_dec), payment(39, "500"_dec), payment(45, "150"_dec),
      payment(46, "50"_dec), payment(1, "100"_dec, "7"_dec)};
  std::vector<Decimal> non_deductible(payments.size());
  // Tax due 10000: general 600, children's fund 300, each programme 100.
  EXPECT_EQ(incentive_deduction(payments, "10000"_dec, true, k, non_deductible), "750"_dec);
  EXPECT_EQ(non_deductible[0], "200"_dec);  // 600 of the culture donation
  EXPECT_EQ(non_deductible[1], "500"_dec);  // nothing left of the general limit
  EXPECT_EQ(non_deductible[2], "50"_dec);   // 100 of 150
  EXPECT_EQ(non_deductible[3], "0"_dec);    // a fresh 100 for code 46
  EXPECT_EQ(non_deductible[4], "7"_dec);    // other rows keep theirs

  // What is left of the general limit goes to the direct donation, up to 3 %.
  const std::vector<PaymentRow> small = {payment(40, "100"_dec), payment(39, "500"_dec)};
  std::vector<Decimal> nd(small.size());
  EXPECT_EQ(incentive_deduction(small, "10000"_dec, true, k, nd), "400"_dec);
  EXPECT_EQ(nd[1], "200"_dec);  // 500 less min(500 left, 300)

  // The simplified model deducts nothing.
  EXPECT_EQ(incentive_deduction(payments, "10000"_dec, false, k, non_deductible), "0"_dec);
  EXPECT_EQ(non_deductible[0], "800"_dec);
}

TEST(Balance, ToPayOrToReceive) {
  // Tax of 50000 (22.5 %): 11250 - 7235.54 = 4014.46.
  struct Case {
    const char* withheld;
    const char* to_pay;
    const char* to_receive;
  } cases[] = {{"1000", "3014.46", "0"}, {"5214.46", "0", "1200"}, {"4014.46", "0", "0"}};
  for (const auto& c : cases) {
    Declaration d = salaried("62500"_dec, "S", Decimal::parse(c.withheld).value());
    const Result r = compute(d, test::context());
    ASSERT_EQ(r.I13_23, "4014.46"_dec);
    EXPECT_EQ(r.I13_36, Decimal::parse(c.to_pay).value()) << c.withheld;
    EXPECT_EQ(r.I13_38, Decimal::parse(c.to_receive).value()) << c.withheld;
    EXPECT_EQ(r.IMPPGRE, r.I13_36 - r.I13_38);
  }
}

TEST(Models, DomesticEmployerIsZeroInTheSimplifiedModel) {
  Declaration d = salaried("100000"_dec, "S");
  d.payments = {payment(50, "1000"_dec)};
  const Result simplified = compute(d, test::context());
  EXPECT_EQ(simplified.I13_24, "0"_dec);
  EXPECT_EQ(simplified.I13_24T, "1000"_dec);
  // 84119.11 * 0.275 - 9913.83 = 13218.925 -> 13218.92, nothing subtracted.
  EXPECT_EQ(simplified.I13_26, "13218.92"_dec);
  d.registry.USAPADRAO = "N";
  EXPECT_EQ(compute(d, test::context()).I13_24, "1000"_dec);
}

TEST(Models, AdviceComparesTheTwoTaxes) {
  // Few deductions: the simplified model is better, the complete one says so.
  Declaration d = salaried("100000"_dec, "N");
  Result r = compute(d, test::context());
  EXPECT_TRUE(r.has_notice(NoticeKind::AdviceSimplified));
  d.summary.DECSAIDA = "S";  // not for a departure
  d.summary.DATASAIDA = day(31, 12, 2014);
  EXPECT_FALSE(compute(d, test::context()).has_notice(NoticeKind::AdviceSimplified));
  // Large deductions: the simplified model advises the complete one.
  d = salaried("100000"_dec, "S");
  d.payments = {payment(10, "40000"_dec)};
  r = compute(d, test::context());
  EXPECT_TRUE(r.has_notice(NoticeKind::AdviceComplete));
  EXPECT_LT(r.tax_complete, r.tax_simplified);
}

TEST(AbroadTax, LimitedToTheTaxDueIThatTheIncomeFromAbroadCauses) {
  Declaration d = salaried("60000"_dec, "N");
  d.income.push_back(test::monthly("E", 1, "20000"_dec));
  d.income.push_back(accumulated("60000"_dec, "12"_dec, "6000"_dec));  // own tax 4936.20
  d.payments = {payment(50, "1000"_dec)};
  d.summary.I13_32 = "10000"_dec;
  const Result r = compute(d, test::context());
  EXPECT_EQ(r.I13_49, "20000"_dec);
  EXPECT_EQ(r.I13_08, "80000"_dec);
  // Tax due I with it: 22000 - 9913.83 = 12086.17; without it: 16500 - 9913.83 = 6586.17.
  EXPECT_EQ(r.I13_23, "12086.17"_dec);
  EXPECT_EQ(r.I13_32, "5500.00"_dec);
  EXPECT_TRUE(r.has_notice(NoticeKind::AbroadLimited));
  // Total due 12086.17 + 4936.20 - 1000 = 16022.37; paid 5500.
  EXPECT_EQ(r.I13_26, "16022.37"_dec);
  EXPECT_EQ(r.I13_35, "5500.00"_dec);
  EXPECT_EQ(r.I13_36, "10522.37"_dec);

  d.summary.I13_32 = "3000"_dec;  // under the limit: kept
  EXPECT_EQ(compute(d, test::context()).I13_32, "3000"_dec);
  d.registry.USAPADRAO = "S";  // not counted in the simplified model
  const Result s = compute(d, test::context());
  EXPECT_EQ(s.I13_35, "0"_dec);
}

TEST(Period, EstateAndDepartureDivisors) {
  struct Case {
    const char* name;
    Summary summary;
    int months;
    std::optional<NoticeKind> notice;
  };
  Summary estate_june;
  estate_june.DECFINAL = "S";
  estate_june.DATAPARTI = day(20, 6, 2014);
  Summary estate_deed = estate_june;
  estate_deed.DATAPARTI = {};
  estate_deed.DATALAVRA = day(2, 9, 2014);
  Summary estate_none = estate_deed;
  estate_none.DATALAVRA = {};
  Summary departure;
  departure.DECSAIDA = "S";
  departure.DATASAIDA = day(15, 8, 2014);
  departure.DATADECIS = day(10, 3, 2014);
  Summary departure_alone = departure;
  departure_alone.DATADECIS = {};
  Summary departure_none = departure;
  departure_none.DATASAIDA = {};
  Summary departure_reversed = departure;  // decision after departure: 3 - 8 + 1 = -4 months
  departure_reversed.DATASAIDA = day(10, 3, 2014);
  departure_reversed.DATADECIS = day(15, 8, 2014);
  const Case cases[] = {
      {"ordinary", Summary{}, 12, std::nullopt},
      {"estate partition", estate_june, 6, std::nullopt},
      {"estate deed", estate_deed, 9, std::nullopt},
      {"estate without dates", estate_none, 12, NoticeKind::EstateDateMissing},
      {"departure", departure, 6, std::nullopt},  // 8 - 3 + 1
      {"departure without decision", departure_alone, 8, std::nullopt},
      {"departure without date", departure_none, 12, NoticeKind::DepartureDateMissing},
      {"departure period reversed", departure_reversed, 12, NoticeKind::PeriodOutOfRange},
  };
  for (const auto& c : cases) {
    std::vector<Notice> notices;
    EXPECT_EQ(period_months(c.summary, notices), c.months) << c.name;
    EXPECT_EQ(notices.size(), c.notice ? 1u : 0u) << c.name;
    if (c.notice && !notices.empty()) {
      EXPECT_EQ(notices[0].kind, *c.notice) << c.name;
    }
  }
}

TEST(Period, ShorterPeriodTaxesTheWholeDeclaration) {
  // Estate shared in June: bounds halved. Base 30000: 27.5 % above 26782.86;
  // 8250 - 9913.83 / 2 = 3293.085 -> 3293.08.
  Declaration d = salaried("30000"_dec, "N");
  d.summary.DECFINAL = "S";
  d.summary.DATAPARTI = day(20, 6, 2014);
  EXPECT_EQ(compute(d, test::context()).I13_21, "3293.08"_dec);
}

TEST(Quotas, CountAndValue) {
  TaxConstants k;
  const Date before = day(15, 3, 2015), after = day(2, 4, 2015);
  struct Case {
    const char* to_pay;
    int entered;
    int count;
    const char* quota;
  } cases[] = {
      {"0", 3, 0, "0"},
      {"49.99", 0, 1, "49.99"},   // below 50.00: one quota
      {"99.99", 0, 1, "99.99"},   // below 100.00: still one
      {"100.00", 0, 2, "50.00"},
      {"400.00", 0, 8, "50.00"},
      {"1000.00", 3, 3, "333.33"},  // cut, not rounded
      {"1000.00", 9, 8, "125.00"},  // more than allowed: the most allowed
      {"120.00", 5, 2, "60.00"},    // more than the 50.00 minimum allows
      {"5000.00", 0, 8, "625.00"},
  };
  for (const auto& c : cases) {
    const Quotas q = quotas(Decimal::parse(c.to_pay).value(), c.entered, "S", true, false,
                            before, k);
    EXPECT_EQ(q.QTD_QUOTA, c.count) << c.to_pay;
    EXPECT_EQ(q.I13_37, Decimal::parse(c.quota).value()) << c.to_pay;
  }
  // Automatic debit: cleared without quotas, and for one quota after 1 April.
  EXPECT_EQ(quotas("0"_dec, 0, "S", true, false, before, k).DEBITAUT, "");
  EXPECT_EQ(quotas("500"_dec, 1, "S", true, false, before, k).DEBITAUT, "S");
  EXPECT_EQ(quotas("500"_dec, 1, "S", true, false, after, k).DEBITAUT, "");
  EXPECT_EQ(quotas("500"_dec, 2, "S", true, false, after, k).DEBITAUT, "S");
  // A final estate shared by court or deed pays in one quota.
  const Quotas estate = quotas("1000"_dec, 3, "S", true, true, before, k);
  EXPECT_TRUE(estate.estate_refused);
  EXPECT_EQ(estate.QTD_QUOTA, 1);
  EXPECT_EQ(estate.I13_37, "1000"_dec);
  EXPECT_EQ(estate.DEBITAUT, "");
}

TEST(Range, TaxBeyondTheProgramsRangeIsAnErrorNotAWrongNumber) {
  // 50,000,000.00 of income: an annual tax above 9,999,999.99 does not fit the annual width.
  EXPECT_THROW(compute(salaried("50000000"_dec, "N"), test::context()), DecimalOverflow);
  EXPECT_NO_THROW(compute(salaried("30000000"_dec, "N"), test::context()));
}

TEST(Models, EstateAndDepartureStayComplete) {
  Summary s;
  EXPECT_TRUE(model_switch_refusal(s).empty());
  s.DECSAIDA = "S";
  EXPECT_EQ(model_switch_refusal(s).at(0),
            std::string("A declaração de saída definitiva só pode ser uma completa"_cp));
  s.DECFINAL = "S";
  EXPECT_EQ(model_switch_refusal(s).at(0),
            std::string("A declaração final de espólio só pode ser uma completa"_cp));
  EXPECT_TRUE(rural_loss_question(RuralResult{}).empty());
  EXPECT_EQ(rural_loss_question(RuralResult{"-1"_dec, {}, {}}).size(), 3u);
}

}  // namespace
}  // namespace kx::tax
