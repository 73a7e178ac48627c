// The simulators of the calculation screen: the tax after an extra deduction, and the income that
// gives a wanted result in either model.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tax/constants.h"
#include "tax/result.h"

namespace kx::tax {

// SIMUL(1): the result (tax to pay, negative to receive) of the complete model with an extra
// deduction from the tax base.
Decimal simulate_deduction(const Result& r, Decimal NSDEDUCAO, const TaxConstants& k);

// The income found by SIMUL(2)/SIMUL(3), or the refusal of a refund beyond the tax paid.
struct IncomeSearch {
  std::optional<Decimal> NSRECEITA;
  std::vector<std::string> refusal;
};

// SIMUL(2): the taxable income that gives the result NSIMPOSTO in the simplified model.
IncomeSearch income_for_simplified(const Result& r, Decimal NSIMPOSTO, const TaxConstants& k);

// SIMUL(3): the taxable income that gives the result NSIMPOSTO in the complete model, with the
// deductions of `r` and the private pension as much of I13_11T as 12 % of that income allows.
IncomeSearch income_for_complete(const Result& r, Decimal NSIMPOSTO, const TaxConstants& k);

}  // namespace kx::tax
