// The whole computation of one declaration: every line recomputed from the rows on every call.
#pragma once

#include "tax/input.h"
#include "tax/result.h"

namespace kx::tax {

// Dependants, payment totals, the carnê-leão of every person, income totals, the own tax of
// accumulated income, the spouse values, the annual adjustment of the model in force (registry USAPADRAO), quotas,
// patrimony and balance. Pure: the same input gives the same result. Throws DecimalOverflow for
// amounts beyond the program's range.
Result compute(const Declaration& declaration, const Context& context);

}  // namespace kx::tax
