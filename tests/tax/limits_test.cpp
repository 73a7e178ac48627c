#include <gtest/gtest.h>

#include <optional>

#include "base/cp850.h"
#include "fixture.h"
#include "tax/limits.h"

namespace kx::tax {
namespace {

using test::day;

Pensioner titular(Date birth, const std::string& nature = "61") {
  Pensioner p;
  p.birth = birth;
  p.CODAT = nature;
  return p;
}

Pensioner dependant(Date birth, int code = 11) {
  Pensioner p;
  p.titular = false;
  p.birth = birth;
  p.CODIDEPEN = code;
  p.CPF = "11144477735";
  return p;
}

TEST(Pension65, LimitByTheDateOfThe65thBirthday) {
  TaxConstants k;
  struct Case {
    const char* name;
    Pensioner person;
    const char* value;
    const char* others;
    const char* limit;
    const char* kept;
    const char* excess;
  } cases[] = {
      // Turned 65 in May 2014: 1787.77 x (14 - 5) = 16089.93.
      {"born 10/05/1949", titular(day(10, 5, 1949)), "20000", "0", "16089.93", "16089.93",
       "3910.07"},
      // Turned 65 on the last day of the year: December and the 13th salary.
      {"born 31/12/1949", titular(day(31, 12, 1949)), "5000", "0", "3575.54", "3575.54",
       "1424.46"},
      {"born 1940, over", titular(day(3, 3, 1940)), "30000", "0", "23241.01", "23241.01",
       "6758.99"},
      {"born 1940, under", titular(day(3, 3, 1940)), "20000", "3000", "23241.01", "20000", "0"},
      // The other rows already reach the limit: nothing more is exempt.
      {"others reach it", titular(day(3, 3, 1940)), "500", "23241.01", "23241.01", "0", "500"},
      {"dependant", dependant(day(1, 1, 1945)), "24000", "0", "23241.01", "23241.01", "758.99"},
  };
  for (const auto& c : cases) {
    const ExemptLimitCheck check = check_pension65(Decimal::parse(c.value).value(), c.person,
                                                   Decimal::parse(c.others).value(), "1"_dec, k);
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(check.refusal.empty());
    EXPECT_EQ(check.limit, Decimal::parse(c.limit).value());
    EXPECT_EQ(check.value, Decimal::parse(c.kept).value());
    EXPECT_EQ(check.excess, Decimal::parse(c.excess).value());
    EXPECT_EQ(check.excess_question.empty(), check.excess.is_zero());
  }
}

TEST(Pension65, BornIn1949TheNoteGivesTheMonth) {
  TaxConstants k;
  const auto check = check_pension65("20000"_dec, titular(day(10, 5, 1949)), {}, "1"_dec, k);
  ASSERT_EQ(check.excess_question.size(), 4u);
  EXPECT_EQ(check.excess_question[0], std::string("O limite para esse ano Ú de R$ 16.089,93 e o excedente"_cp));
  EXPECT_EQ(check.excess_question[1], std::string("de R$ 3.910,07 deve ser somado ao rendimento tributável"_cp));
  EXPECT_EQ(check.excess_question[3],
            std::string("Obs. O limite Ú menor pois o contribuinte fez 65 anos no mês 5"_cp));
}

TEST(Pension65, AnswersDecideTheColumnAndTheTaxableIncome) {
  TaxConstants k;
  const auto check = check_pension65("30000"_dec, titular(day(3, 3, 1940)), {}, "1000"_dec, k);
  const ExemptLimitOutcome yes = apply(check, "1000"_dec, true, true);
  EXPECT_EQ(yes.column, "23241.01"_dec);
  EXPECT_EQ(yes.I1_4, "7758.99"_dec);
  const ExemptLimitOutcome no = apply(check, "1000"_dec, true, false);
  EXPECT_EQ(no.column, "23241.01"_dec);  // whatever the answer
  EXPECT_EQ(no.I1_4, "1000"_dec);
}

TEST(Pension65, Refusals) {
  TaxConstants k;
  struct Case {
    const char* name;
    Pensioner person;
    const char* first_line;
  } cases[] = {
      {"titular not yet 65", titular(day(1, 1, 1950)), "O contribuinte tem menos de 65 anos"},
      {"dependant aged 64", dependant(day(30, 6, 1950)), "O dependente tem menos de 65 anos"},
      {"dependant without birth date", dependant(Date{}),
       "Falta data do nascimento do dependente."},
      // A dependant by code 31 whose pension exceeds the limit cannot be a dependant.
      {"dependant code 31 over the limit", dependant(day(1, 1, 1940), 31),
       "O dependente 111.444.777-35 tem o rendimento maior que"},
  };
  for (const auto& c : cases) {
    const auto check = check_pension65("30000"_dec, c.person, {}, {}, k);
    ASSERT_FALSE(check.refusal.empty()) << c.name;
    EXPECT_EQ(check.refusal[0], cp850::from_utf8(c.first_line)) << c.name;
    EXPECT_EQ(apply(check, "10"_dec, true, true).column, "0"_dec) << c.name;
  }
}

TEST(Pension65, WrongNatureCodeIsConfirmedFirst) {
  TaxConstants k;
  const auto check = check_pension65("1000"_dec, titular(day(3, 3, 1940), "11"), {}, {}, k);
  EXPECT_FALSE(check.confirm_question.empty());
  EXPECT_EQ(apply(check, {}, false, false).column, "0"_dec);
  EXPECT_EQ(apply(check, {}, true, false).column, "1000"_dec);
  EXPECT_TRUE(check_pension65("1000"_dec, titular(day(3, 3, 1940)), {}, {}, k)
                  .confirm_question.empty());
}

TEST(ExemptColumns, SeriousIllnessAndVolunteerBenefit) {
  TaxConstants k;
  EXPECT_TRUE(check_serious_illness("100"_dec, "62").confirm_question.empty());
  const auto illness = check_serious_illness("100"_dec, "11");
  EXPECT_FALSE(illness.confirm_question.empty());
  EXPECT_EQ(apply(illness, {}, false, false).column, "0"_dec);

  // 30000 here and 20000 in the other rows: 6560.00 above the 43440.00 limit.
  const auto fifa = check_volunteer_benefit("30000"_dec, "20000"_dec, {}, k);
  EXPECT_EQ(fifa.excess, "6560"_dec);
  EXPECT_EQ(fifa.value, "23440"_dec);
  EXPECT_EQ(fifa.excess_question[1],
            std::string("de R$ 6.560,00 deve ser lançado no rendimento tributável"_cp));
  EXPECT_EQ(apply(fifa, {}, true, true).I1_4, "6560"_dec);
  EXPECT_EQ(check_volunteer_benefit("100"_dec, "43440"_dec, {}, k).value, "0"_dec);
}

}  // namespace
}  // namespace kx::tax

namespace kx::tax {
namespace {

TEST(PaymentColumns, PaidAndNonDeductibleRules) {
  TaxConstants k;
  struct Case {
    int code;
    const char* amount;
    std::optional<const char*> non_deductible;
  } paid_cases[] = {
      {1, "5000", "1624.17"},  // education above 3375.83
      {6, "3000", "0"},
      {50, "1500", "347.12"},  // domestic employer above 1152.88
      {10, "5000", std::nullopt},
  };
  for (const auto& c : paid_cases) {
    const PaidColumn col = paid_column(c.code, Decimal::parse(c.amount).value(), "1"_dec, k);
    ASSERT_EQ(col.I6_5.has_value(), c.non_deductible.has_value()) << c.code;
    if (c.non_deductible) {
      EXPECT_EQ(*col.I6_5, Decimal::parse(*c.non_deductible).value()) << c.code;
    }
  }
  EXPECT_FALSE(paid_column(36, "100"_dec, "0"_dec, k).warning.empty());
  EXPECT_TRUE(paid_column(36, "100"_dec, "10"_dec, k).warning.empty());

  EXPECT_EQ(non_deductible_column(10, "300"_dec, "1000"_dec).value, "300"_dec);
  const auto above_paid = non_deductible_column(10, "1300"_dec, "1000"_dec);
  EXPECT_EQ(above_paid.value, "0"_dec);
  EXPECT_FALSE(above_paid.refusal.empty());
  EXPECT_FALSE(non_deductible_column(36, "10"_dec, "100"_dec).refusal.empty());
  EXPECT_EQ(non_deductible_column(1, "10"_dec, "5"_dec).value, "10"_dec);
}

}  // namespace
}  // namespace kx::tax
