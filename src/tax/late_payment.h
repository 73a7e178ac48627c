// Due dates of monthly taxes and the fine and interest of a late payment. Working days are Monday
// to Friday; there is no holiday calendar.
#pragma once

#include <vector>

#include "base/date.h"
#include "base/decimal.h"
#include "tax/input.h"

namespace kx::tax {

// PROX_DIA: the working day after d.
Date next_working_day(Date d);

// ULT_DIA(m, y, k): the last day of month m + k - 1 (of y, or of the following year), moved back
// from a weekend to Friday, and one day more when it lies in December. (m, y, 2) is the due date
// of a monthly tax of month m; (m, y, 1) the last working day of month m itself.
Date due_date(int month, int year, int offset);

struct LateCharge {
  int64_t days_late = 0;
  Decimal fine_rate, interest_rate;  // percent
  Decimal fine, interest;            // cut to centavos
  Decimal total;                     // principal + fine + interest
  bool register_incomplete = false;  // a month of the interest is missing from the register
};

// Fine and interest of `principal` due on `due` and paid on `payment`. Late days count from the
// first working day after the due date up to the payment day inclusive; a payment before that day
// is on time. Fine: 0.33 % a day, at most 20 %. Interest: the SELIC of each month after the due
// month up to the month before payment, plus 1 % for the month of payment; none when paid within
// the due month.
LateCharge late_charge(Decimal principal, Date due, Date payment,
                       const std::vector<SelicMonth>& selic);

}  // namespace kx::tax
