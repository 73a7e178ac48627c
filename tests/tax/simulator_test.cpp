#include <gtest/gtest.h>

#include "base/cp850.h"
#include "fixture.h"
#include "tax/compute.h"
#include "tax/simulator.h"

namespace kx::tax {
namespace {

using test::company;
using test::payment;

Declaration complete_declaration(Decimal income, std::vector<PaymentRow> payments,
                                 Decimal withheld = Decimal()) {
  Declaration d;
  d.registry.USAPADRAO = "N";
  d.income = {company("J", income, withheld)};
  d.payments = std::move(payments);
  return d;
}

TEST(Simulator, ExtraDeduction) {
  const TaxConstants k;
  const Result r =
      compute(complete_declaration("100000"_dec, {payment(10, "10000"_dec)}, "10000"_dec),
              test::context());
  ASSERT_EQ(r.I13_20, "90000"_dec);
  // Tax of 80000: 22000 - 9913.83 = 12086.17, less the 10000 withheld.
  EXPECT_EQ(simulate_deduction(r, "10000"_dec, k), "2086.17"_dec);
  EXPECT_EQ(simulate_deduction(r, "0"_dec, k), r.IMPPGRE);
}

TEST(Simulator, IncomeForAWantedResultInTheSimplifiedModel) {
  const TaxConstants k;
  struct Case {
    const char* wanted;
    const char* paid;
    const char* income;
  } cases[] = {
      // 1608.99 / (0.8 x 0.075): the top of the exempt band, base 21453.20.
      {"0", "0", "26816.50"},
      // Tax of 63523.56 (the base where the discount reaches its cap): 7555.14.
      // (7555.14 + 9913.83 + 15880.89 x 0.275) / 0.275.
      {"7555.14", "0", "79404.42"},
      // Below that the discount is still 20 %: (7300 + 9913.83) / (0.8 x 0.275).
      {"7300", "0", "78244.68"},
      // A refund within the tax paid: wanted tax 500 - 300 = 200 at 7.5 %:
      // (200 + 1608.99) / 0.06 = 30149.83.
      {"-300", "500", "30149.83"},
  };
  for (const auto& c : cases) {
    Result r;
    r.I13_35 = Decimal::parse(c.paid).value();
    const IncomeSearch found = income_for_simplified(r, Decimal::parse(c.wanted).value(), k);
    ASSERT_TRUE(found.NSRECEITA) << c.wanted;
    EXPECT_EQ(*found.NSRECEITA, Decimal::parse(c.income).value()) << c.wanted;
  }
  Result r;
  r.I13_35 = "500"_dec;
  const IncomeSearch refused = income_for_simplified(r, "-500.01"_dec, k);
  EXPECT_FALSE(refused.NSRECEITA);
  EXPECT_EQ(refused.refusal.at(0),
            std::string("O valor máximo de restituição de imposto é R$500,00"_cp));
}

TEST(Simulator, IncomeFoundInTheCompleteModelGivesTheWantedTax) {
  const TaxConstants k;
  struct Case {
    const char* name;
    std::vector<PaymentRow> payments;
    const char* wanted;
  };
  const Case cases[] = {
      {"no pension", {payment(10, "10000"_dec)}, "0"},
      {"pension under its limit", {payment(10, "10000"_dec), payment(36, "5000"_dec)}, "1000"},
      {"pension over its limit", {payment(10, "10000"_dec), payment(36, "8000"_dec)}, "1000"},
      {"a larger tax", {payment(10, "3000"_dec), payment(36, "2000"_dec)}, "9000"},
  };
  for (const auto& c : cases) {
    const Result r = compute(complete_declaration("50000"_dec, c.payments), test::context());
    const IncomeSearch found = income_for_complete(r, Decimal::parse(c.wanted).value(), k);
    ASSERT_TRUE(found.NSRECEITA) << c.name;
    // The declaration with that income gives the wanted result, within the centavo that the
    // rounding of the income to centavos can cost.
    const Result check = compute(complete_declaration(*found.NSRECEITA, c.payments),
                                 test::context());
    EXPECT_LE((check.IMPPGRE - Decimal::parse(c.wanted).value()).abs(), "0.01"_dec)
        << c.name << ": income " << found.NSRECEITA->str() << " gives " << check.IMPPGRE.str();
  }
}

TEST(Simulator, NoPensionCaseMatchesTheBracketFormula) {
  const TaxConstants k;
  const Result r =
      compute(complete_declaration("50000"_dec, {payment(10, "10000"_dec)}), test::context());
  // (0 + 1608.99 + 10000 x 0.075) / 0.075 = 31453.20: base 21453.20, the top of the exempt band.
  EXPECT_EQ(*income_for_complete(r, "0"_dec, k).NSRECEITA, "31453.20"_dec);
}

}  // namespace
}  // namespace kx::tax
