// Totals of the rows of one declaration: dependants, payments by code, income by kind, and the
// own tax of accumulated income taxed on its own.
#pragma once

#include <vector>

#include "tax/input.h"
#include "tax/result.h"

namespace kx::tax {

// NRODP: N_DEPEN (codes below 98), DESPALIM (codes 98 and 99) and the person number of every row
// (a row without one gets its position, counted from 1).
void recount_dependants(const std::vector<Dependant>& dependants, Result& r);

// FDE_TUDO: the payment totals by code (I13_11T, I13_13T, I13_14, I13_14D, I13_15, I13_16,
// I13_22C/T/P, I13_24T, NFUNPRESP, DESPDECLA, DESPSIMP and the category sums, DESPINST).
void payment_totals(const std::vector<PaymentRow>& payments, Result& r);

// I13_13: education paid (codes 1 and 2), limited per person to NVALESCOL. A payment's person
// number must be the titular's (0) or that of a dependant or alimony recipient (r.person_numbers,
// after recount_dependants); others are left out with a notice.
void education(const std::vector<PaymentRow>& payments, const std::vector<Dependant>& dependants,
               const TaxConstants& k, Result& r);

// CALC_RAA: the own tax of an accumulated income taxed on its own: the net amount
// (I1_4 - I1_6 - I1_12) taxed at the monthly bracket of its monthly average, less the monthly
// amount to deduct times the months. 0 for a row of the annual adjustment.
Decimal rra_own_tax(const IncomeRow& row, const TaxConstants& k);

// FI1_T: income totals from every income row (r.income[i].I1_20 holds each row's own tax), the
// exempt and exclusive lines with their totals I13_44, I13_45, and I13_09. Reads r.CARNEINSS,
// r.CARNEDEPEN and r.NFUNPRESP, which must be set.
void income_totals(const Declaration& d, Result& r);

}  // namespace kx::tax
