#include "tax/progressive.h"

#include "tax/rounding.h"

namespace kx::tax {

namespace {

// Index of the bracket of `base` given the four upper bounds (each already scaled).
int bracket_index(const std::array<Decimal, 4>& bounds, Decimal base) {
  int index = 0;
  while (index < 4 && base > bounds[index]) ++index;
  return index;
}

}  // namespace

Bracket monthly_bracket(const TaxConstants& k, Decimal base) {
  const int index = bracket_index(k.NBASEME, base);
  if (index == 0) return {};
  return {index, k.RATES[index - 1], k.NDEDUME[index - 1]};
}

Decimal annual_tax(const TaxConstants& k, Decimal base, int months) {
  std::array<Decimal, 4> bounds = k.NBASEAN;
  // Scaled amounts keep 6 decimals: far below the centavo, and room for large bases.
  const auto scale = [months](Decimal amount) { return (amount * months / 12).round(6); };
  if (months != 12)
    for (auto& bound : bounds) bound = scale(bound);
  const int index = bracket_index(bounds, base);
  if (index == 0) return Decimal::raw(0, 2);
  Decimal deduction = k.NDEDUAN[index - 1];
  if (months != 12) deduction = scale(deduction);
  return despreza(base * k.RATES[index - 1] - deduction, 12);
}

Decimal monthly_tax(const TaxConstants& k, Decimal base) {
  const Bracket b = monthly_bracket(k, base);
  if (b.index == 0) return Decimal::raw(0, 2);
  return despreza(base * b.rate - b.deduction, 14);
}

}  // namespace kx::tax
