// The annual adjustment: period of the table, deduction limits, incentive donations, the tax
// paid abroad, both models and the quotas.
#pragma once

#include "tax/input.h"
#include "tax/result.h"

namespace kx::tax {

// Months of the period taxed: 12, or for a final estate the month of the partition (else of the
// deed) and for a departure the months from the decision month to the departure month. A missing
// date, or a period outside 1..12, gives a notice and 12.
int period_months(const Summary& s, std::vector<Notice>& notices);

// FI13_22: allocates the donation rows (codes 40-44 from the general limit, 39 from what is left
// of it up to the children's-fund limit, 45 and 46 each from the programme limit) and returns the
// incentive deduction, at most `tax_due`. Writes the non-deductible part of every donation row
// into `non_deductible` (indexed like `payments`). With `complete` false every limit is 0.
Decimal incentive_deduction(const std::vector<PaymentRow>& payments, Decimal tax_due,
                            bool complete, const TaxConstants& k,
                            std::vector<Decimal>& non_deductible);

// Lines 08 to 38 of both models into `r` (the model in force decides the lines), the advice
// notices, and the quotas. Reads the totals that income_totals, payment_totals, education and
// carne_leao put into `r`.
void annual_adjustment(const Declaration& d, const Context& context, Result& r);

// FQTD_QUOTA / FPARCELA: the number of quotas and the value of each of a tax to pay. `entered` is
// the count the operator typed (0 = none).
struct Quotas {
  int QTD_QUOTA = 0;
  Decimal I13_37;
  std::string DEBITAUT;
  bool estate_refused = false;  // instalments refused in a final estate declaration
};
Quotas quotas(Decimal I13_36, int entered, const std::string& DEBITAUT, bool complete,
              bool estate_partition, Date today, const TaxConstants& k);

// MUDA: why the model cannot be switched (a final estate or a departure declaration is complete
// only), or nothing when it can.
std::vector<std::string> model_switch_refusal(const Summary& s);

// The question asked before switching to the simplified model with a rural loss (I4R_03 < 0),
// which could then not be carried to the next year; nothing when there is no loss.
std::vector<std::string> rural_loss_question(const RuralResult& rural);

}  // namespace kx::tax
