// The progressive tables: annual (optionally for a period of fewer months) and monthly.
#pragma once

#include "base/decimal.h"
#include "tax/constants.h"

namespace kx::tax {

// One bracket of a table: the rate and the amount to deduct (both 0 in the exempt band).
struct Bracket {
  int index = 0;  // 0 exempt band, 1..4 the taxed brackets
  Decimal rate;
  Decimal deduction;
};

// Bracket of a monthly amount in the monthly table. A base equal to a bound falls in the lower
// bracket. The deduction returned is the monthly one (NDEDUME).
Bracket monthly_bracket(const TaxConstants& k, Decimal base);

// Annual tax of `base` for a period of `months` (1..12): bounds and deductions scaled by
// months / 12, the result cut with width 12. 12 months is the plain annual table.
Decimal annual_tax(const TaxConstants& k, Decimal base, int months = 12);

// Monthly tax of `base`, cut with width 14.
Decimal monthly_tax(const TaxConstants& k, Decimal base);

}  // namespace kx::tax
