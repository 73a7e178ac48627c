// Exemption limits of income columns, checked when an amount is typed. Each check is evaluated
// first; the questions it carries are put to the operator; `apply` then gives the values to keep.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/date.h"
#include "base/decimal.h"
#include "tax/constants.h"

namespace kx::tax {

struct ExemptLimitCheck {
  Decimal value;   // what the column keeps when nothing is asked or the answers are yes
  Decimal limit;
  Decimal excess;  // the part above the limit, offered for the taxable income
  std::vector<std::string> refusal;          // shown when the column is refused (value 0)
  std::vector<std::string> confirm_question;  // asked first; "no" keeps 0
  std::vector<std::string> excess_question;   // asked when there is an excess
};

struct ExemptLimitOutcome {
  Decimal column;  // the value kept in the column
  Decimal I1_4;    // the row's taxable income, with the excess added when accepted
};
ExemptLimitOutcome apply(const ExemptLimitCheck& check, Decimal I1_4, bool confirmed,
                         bool add_excess);

// The person a pension of someone aged 65 or more belongs to.
struct Pensioner {
  bool titular = true;
  Date birth;
  int CODIDEPEN = 0;   // dependency code of a dependant
  std::string CPF;     // a dependant's CPF (for the messages)
  std::string CODAT;   // the titular's nature code
};

// LIMIT3: the exempt portion of a pension of someone aged 65 or more by the end of the base year
// (the 65th birthday compared as a date). `other_rows` is the same column in the person's other
// rows; `row_income` the row's I1_4.
ExemptLimitCheck check_pension65(Decimal value, const Pensioner& person, Decimal other_rows,
                                 Decimal row_income, const TaxConstants& k);

// LIMIT2: a pension for serious illness is confirmed unless the nature code is "62".
ExemptLimitCheck check_serious_illness(Decimal value, const std::string& CODAT);

// LIMITFIFA: the volunteer benefit up to its exempt limit.
ExemptLimitCheck check_volunteer_benefit(Decimal value, Decimal other_rows, Decimal row_income,
                                         const TaxConstants& k);

// FDOAPAG: the rule of the paid column of a payment row. Education (codes 1-6) and the domestic
// employer (code 50) get their part above the limit as non-deductible; a private pension (36, 38)
// without official social security (`I13_09` 0) gets a warning.
struct PaidColumn {
  std::optional<Decimal> I6_5;  // the new non-deductible part, when the rule sets it
  std::vector<std::string> warning;
};
PaidColumn paid_column(int code, Decimal amount, Decimal I13_09, const TaxConstants& k);

// FCONFNDEDU: the rule of the non-deductible column. Only medical codes (8-28) take a value, and
// never more than the amount paid; otherwise the refusal is shown and the column keeps 0.
struct NonDeductibleColumn {
  Decimal value;
  std::vector<std::string> refusal;
};
NonDeductibleColumn non_deductible_column(int code, Decimal value, Decimal paid);

}  // namespace kx::tax
