// Small builders of declaration rows for the tests.
#pragma once

#include <ostream>
#include <string>

#include "tax/input.h"

namespace kx {
// Decimals and dates in test failures as the program writes them.
inline void PrintTo(const Decimal& d, std::ostream* os) { *os << d.str(); }
inline void PrintTo(const Date& d, std::ostream* os) { *os << d.dmy(); }
}  // namespace kx

namespace kx::tax::test {

inline Date day(int d, int m, int y) { return *Date::from_ymd(y, m, d); }

inline PaymentRow payment(int code, Decimal paid, Decimal non_deductible = Decimal(),
                          int person = 0) {
  PaymentRow p;
  p.I6_3 = code;
  p.I6_4 = paid;
  p.I6_5 = non_deductible;
  p.I6_6 = person;
  return p;
}

// Income from a company for the titular ("J") or a dependant ("D").
inline IncomeRow company(const std::string& kind, Decimal income, Decimal withheld = Decimal(),
                         Decimal social_security = Decimal()) {
  IncomeRow row;
  row.I1_1 = kind;
  row.I1_11 = kind == "J" ? "S" : "N";
  row.I1_3 = "11.222.333/0001-81";
  row.I1_4 = income;
  row.I1_5 = withheld;
  row.I1_6 = social_security;
  return row;
}

// A monthly row of the carnê-leão grid's kinds (F, E, L, P, I) with one amount in one month.
inline IncomeRow monthly(const std::string& kind, int month, Decimal amount,
                         const std::string& dependant_cpf = "") {
  IncomeRow row;
  row.I1_1 = kind;
  row.I1_11 = dependant_cpf.empty() ? "S" : "N";
  row.I1_8 = dependant_cpf;
  row.I1_4m[month - 1] = amount;
  row.I1_4 = amount;
  return row;
}

inline IncomeRow accumulated(Decimal income, Decimal months, Decimal social_security = Decimal(),
                             bool own_tax = true) {
  IncomeRow row;
  row.I1_1 = "A";
  row.TIPOCR = own_tax ? "N" : "S";
  row.I1_4 = income;
  row.I1_6 = social_security;
  row.I1_21 = months;
  row.I1_36 = "05";
  return row;
}

inline Dependant dependant(int number, int code = 3, const std::string& cpf = "") {
  Dependant d;
  d.NOMEDEPEN = "DEPENDENTE " + std::to_string(number);
  d.CODIDEPEN = code;
  d.NRODEPEN = number;
  d.CPFDEPEN = cpf;
  return d;
}

// Context of the tests: a day of the filing season.
inline Context context(Date today = day(15, 3, 2015)) {
  Context c;
  c.today = today;
  return c;
}

}  // namespace kx::tax::test
