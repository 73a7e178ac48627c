// The corrected-tax list of a work folder: each taxpayer's tax to pay (one quota) or refund with
// the SELIC interest from the due date of the first quota to today.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/date.h"
#include "base/decimal.h"
#include "tax/input.h"

namespace kx::declaration {

// Why the list cannot be made (CP850 lines for the operator); nullopt when it can. Before May
// 2015 it is of no use; the SELIC register must hold the month before today's.
std::optional<std::vector<std::string>> corrected_tax_refusal(
    Date today, const std::vector<tax::SelicMonth>& selic);

// The interest in percent: 1 % for the month of payment plus the SELIC of May 2015 up to the
// month before today's.
Decimal corrected_tax_interest(Date today, const std::vector<tax::SelicMonth>& selic);

struct CorrectedTax {
  Decimal IMPOSTO, RESTITU, CORRIGI;
};

// A refund (IMPPGRE below 0) and its correction, or the tax of one quota (QTD_QUOTA 0 counts as
// one quota) and its correction, in centavos as the table stores them.
CorrectedTax correct_tax(Decimal IMPPGRE, int QTD_QUOTA, Decimal interest);

}  // namespace kx::declaration
