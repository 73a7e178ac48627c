#include "tax/simulator.h"

#include "base/cp850.h"
#include "tax/progressive.h"

namespace kx::tax {

namespace {

// Tries the brackets from the top; the first whose income gives the wanted tax stands, else the
// income of the lowest bracket's try.
template <class Income, class TaxOf>
Decimal bracket_search(Decimal wanted, Income income_of, TaxOf tax_of, const TaxConstants& k) {
  Decimal income;
  for (int bracket = 3; bracket >= 0; --bracket) {
    income = income_of(k.RATES[bracket], k.NDEDUAN[bracket]);
    if (tax_of(income) == wanted) break;
  }
  return income.round(2);
}

std::vector<std::string> refund_refusal(const Result& r, Decimal wanted, std::string_view text) {
  if (wanted < 0 && -wanted > r.I13_35) return {join({text, r.I13_35.br(2)})};
  return {};
}

}  // namespace

Decimal simulate_deduction(const Result& r, Decimal NSDEDUCAO, const TaxConstants& k) {
  const Decimal t = annual_tax(k, r.I13_20 - NSDEDUCAO);
  const Decimal t1 = t - Decimal::min(r.I13_22T, (t * k.DONATION_RATE).round(2));
  Decimal employer = Decimal::min(r.I13_24T, t1);
  if (employer > 0) employer = Decimal::min(employer, k.NMAXINSS);
  return t1 - employer - r.I13_35 + r.I13_25;
}

IncomeSearch income_for_simplified(const Result& r, Decimal NSIMPOSTO, const TaxConstants& k) {
  IncomeSearch found;
  found.refusal =
      refund_refusal(r, NSIMPOSTO, "O valor máximo de restituição de imposto é R$"_cp);
  if (!found.refusal.empty()) return found;
  const Decimal wanted = NSIMPOSTO + r.I13_35;
  const Decimal top_rate = k.RATES[3];
  // From the income at which the discount reaches its cap, the income follows the top bracket.
  const Decimal capped_from = annual_tax(k, k.NDESCPRAD / k.SIMPLIFIED_RATE - k.NDESCPRAD);
  const Decimal share = Decimal(1) - k.SIMPLIFIED_RATE;
  if (wanted >= capped_from) {
    found.NSRECEITA = ((wanted + k.NDEDUAN[3] + k.NDESCPRAD * top_rate) / top_rate).round(2);
  } else {
    found.NSRECEITA = bracket_search(
        wanted, [&](Decimal rate, Decimal parcel) { return (wanted + parcel) / (share * rate); },
        [&](Decimal income) { return annual_tax(k, share * income); }, k);
  }
  return found;
}

IncomeSearch income_for_complete(const Result& r, Decimal NSIMPOSTO, const TaxConstants& k) {
  IncomeSearch found;
  found.refusal =
      refund_refusal(r, NSIMPOSTO, "O valor máximo da restituição de imposto é R$"_cp);
  if (!found.refusal.empty()) return found;
  const Decimal wanted = NSIMPOSTO + r.I13_22 + r.I13_24 - r.I13_25 + r.I13_35;
  const auto search = [&](Decimal deductions) {
    return bracket_search(
        wanted,
        [&](Decimal rate, Decimal parcel) { return (wanted + parcel + deductions * rate) / rate; },
        [&](Decimal income) { return annual_tax(k, income - deductions); }, k);
  };
  // The private pension deducted depends on the income found (12 % of it): repeat the search
  // with the pension that income allows until it settles.
  Decimal pension = r.I13_11;
  Decimal income;
  for (int round = 0; round < 32; ++round) {
    income = search(r.I13_19 - r.I13_11 + pension);
    const Decimal allowed =
        Decimal::min(r.I13_11T, (income * k.PENSION_LIMIT_RATE).round(2));
    if ((allowed - pension).abs() <= "0.01"_dec) break;
    pension = allowed;
  }
  found.NSRECEITA = income;
  return found;
}

}  // namespace kx::tax
