// The rows behind the nine detail windows of the balance: what makes up the taxable, exempt and
// exclusive income, variable income, the spouse's values, capital gains, the patrimony
// variation, the taxes paid and the declared expenses.
#pragma once

#include <string>
#include <vector>

#include "base/decimal.h"
#include "tax/input.h"
#include "tax/result.h"

namespace kx::tax {

enum class DetailWindow {
  taxable = 1,
  exempt,
  exclusive,
  variable_income,
  spouse,
  capital_gains,
  patrimony,
  taxes_paid,
  declared_expenses,
};

// One row of the detail table.
struct DetailRow {
  std::string DESCRICAO;  // CP850
  Decimal VALORDOC;
  Decimal PERCDESP;  // share of the expenses (DESPESA) in percent
  Decimal PERCRECE;  // share of the receipts (RECEITA) in percent
};

// Amounts of the windows that other computations produce month by month.
struct DetailMonths {
  Months variable_income;  // net result of each month, negative for a loss
  Months brokerage;        // brokerage paid on the sales of each month
};

// The rows of one window, in the window's order, only those whose value is above 0 (a month's
// loss is shown as a positive "Prejuízo"). Shares are rounded to 2 decimals, 0 when the base is 0,
// and kept within the table's field (-99999.99 .. 999999.99). Empty: nothing declared.
std::vector<DetailRow> balance_detail(DetailWindow window, const Declaration& d, const Result& r,
                                      const DetailMonths& months = {});

}  // namespace kx::tax
