// The DARF counts the taxpayer list shows for a declaration: how many monthly payments of the
// carnê-leão, of capital-gain tax and of variable-income tax it has, and their totals.
#pragma once

#include "base/decimal.h"
#include "declaration/declaration_rows.h"

namespace kx::declaration {

struct DarfCounts {
  int NRCLEAO = 0;
  Decimal DFCLEAO;
  int NRGCAPIT = 0;  // -1: sales, none of them taxed
  Decimal DFGCAPIT;
  int NRRVARIV = 0;  // -1: operations, none of them taxed
  Decimal DFRVARIV;
  int NRQUOTA = 0;
  Decimal DFQUOTA;
};

// From the monthly grid (table 12) and the capital gains and variable income (table 7) of
// `rows`; `quotas` and `quota_value` are the summary's QTD_QUOTA and I13_37.
DarfCounts darf_counts(DeclarationRows& rows, int quotas, Decimal quota_value);

// The counts as the registry's fields.
std::vector<NamedValue> darf_values(const DarfCounts& counts);

}  // namespace kx::declaration
