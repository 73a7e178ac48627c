#include <gtest/gtest.h>

#include "base/cp850.h"
#include "declaration/corrected_tax.h"
#include "declaration/taxpayer_age.h"

namespace kx::declaration {
namespace {

Date dmy(const char* text) { return *Date::parse_dmy(text); }

TEST(TaxpayerAge, YearsMonthsAndBirthdayNotice) {
  const struct {
    const char *birth, *today;
    std::optional<int> years, months;
    const char* notice;  // UTF-8
    bool attention;
  } cases[] = {
      {"15/03/1980", "02/06/2015", 34, 9, "", false},
      {"31/12/2014", "02/06/2015", 0, 0, "", false},
      {"01/01/2015", "02/06/2015", {}, {}, "", false},  // after the base year: blank
      {"10/06/1970", "10/06/2015", 44, 6, "Faz Aniversário Hoje  ", true},
      {"11/06/1970", "10/06/2015", 44, 6, "Faz Aniversário Amanha", true},
      {"12/06/1970", "10/06/2015", 44, 6, "Aniversário na Sexta  ", false},  // 12/06/2015: Friday
      {"14/06/1970", "10/06/2015", 44, 6, "Aniversário no Domingo", false},
      {"15/06/1970", "10/06/2015", 44, 6, "Aniversário na Segunda", false},  // 5 days
      {"16/06/1970", "10/06/2015", 44, 6, "", false},                        // 6 days
      {"09/06/1970", "10/06/2015", 44, 6, "", false},                        // passed
      {"29/02/1972", "28/02/2015", 42, 10, "Faz Aniversário Hoje  ", true},  // no 29/02 in 2015
      {"29/02/1972", "27/02/2015", 42, 10, "Faz Aniversário Amanha", true},
      {"29/02/1972", "28/02/2016", 42, 10, "Faz Aniversário Amanha", true},  // 2016 has it
  };
  for (const auto& c : cases) {
    const Age age = DIZANOS(dmy(c.birth), dmy(c.today));
    SCOPED_TRACE(std::string(c.birth) + " on " + c.today);
    EXPECT_EQ(age.years, c.years);
    EXPECT_EQ(age.months, c.months);
    EXPECT_EQ(cp850::to_utf8(age.notice), c.notice);
    EXPECT_EQ(age.attention, c.attention);
  }
  EXPECT_FALSE(DIZANOS(Date{}, dmy("02/06/2015")).years);
}

std::vector<tax::SelicMonth> selic_until(int year, int month) {
  std::vector<tax::SelicMonth> months;
  for (int y = 2015, m = 1; y * 12 + m <= year * 12 + month; m == 12 ? (++y, m = 1) : ++m)
    months.push_back({y, m, "1.10"_dec});
  return months;
}

TEST(CorrectedTax, RefusedBeforeMayOrWithAnOutdatedRegister) {
  const struct {
    const char* today;
    int selic_year, selic_month;
    const char* first_line;  // UTF-8; empty: accepted
  } cases[] = {
      {"30/04/2015", 2015, 3, "Função só utilizavel após mês de Maio de 2015"},
      {"15/05/2015", 2015, 4, ""},
      {"15/05/2015", 2015, 3, "Atenção! A tabela da Selic não está atualizada."},
      {"15/01/2016", 2015, 12, ""},  // December is the month before January
      {"15/01/2016", 2015, 11, "Atenção! A tabela da Selic não está atualizada."},
      {"15/03/2016", 2015, 12, "Atenção! A tabela da Selic não está atualizada."},
  };
  for (const auto& c : cases) {
    const auto refusal =
        corrected_tax_refusal(dmy(c.today), selic_until(c.selic_year, c.selic_month));
    SCOPED_TRACE(c.today);
    if (*c.first_line == '\0') {
      EXPECT_FALSE(refusal);
    } else {
      ASSERT_TRUE(refusal);
      EXPECT_EQ(cp850::to_utf8(refusal->front()), c.first_line);
    }
  }
  EXPECT_TRUE(corrected_tax_refusal(dmy("15/06/2015"), {}));
}

TEST(CorrectedTax, InterestAndAmounts) {
  // 1 % + May, June and July at 1.10 each.
  const Decimal interest = corrected_tax_interest(dmy("10/08/2015"), selic_until(2015, 12));
  EXPECT_EQ(interest.str(2), "4.30");
  // Across the year: May..December 2015 and January 2016.
  EXPECT_EQ(corrected_tax_interest(dmy("10/02/2016"), selic_until(2016, 1)).str(2), "10.90");

  const struct {
    const char* impgre;
    int quotas;
    const char *imposto, *restitu, *corrigi;
  } cases[] = {
      {"1000.00", 1, "1000.00", "0.00", "1043.00"},
      {"1000.00", 4, "250.00", "0.00", "260.75"},
      {"1000.00", 0, "1000.00", "0.00", "1043.00"},  // no quota count: one quota
      {"-500.00", 0, "0.00", "500.00", "521.50"},
  };
  for (const auto& c : cases) {
    const CorrectedTax t = correct_tax(*Decimal::parse(c.impgre), c.quotas, interest);
    SCOPED_TRACE(std::string(c.impgre) + " in " + std::to_string(c.quotas));
    EXPECT_EQ(t.IMPOSTO.str(2), c.imposto);
    EXPECT_EQ(t.RESTITU.str(2), c.restitu);
    EXPECT_EQ(t.CORRIGI.str(2), c.corrigi);
  }
}

}  // namespace
}  // namespace kx::declaration
