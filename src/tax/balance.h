// Asset and debt totals, the patrimony variation and the balance of receipts and expenses.
#pragma once

#include "tax/input.h"
#include "tax/result.h"

namespace kx::tax {

// FI7_T, FI8_T and FI10_1: I13_39..I13_42, NTOTBANT1, NTOTDANT1, VARPATR, EMPREST, I10_1, I10_2.
void patrimony(const Declaration& d, Result& r);

// The declared expenses of the balance: in the complete model DESPDECLA + I13_09 + I13_12 +
// I13_18; in the simplified one DESPADRAO + DESPSIMP when SO_SIMPLES is "S", else DESPDECLA +
// I13_09 + I13_18.
Decimal declared_expenses(const Declaration& d, const Result& r);

// VE_SALDO: RECEITA, DESPESA, SALDO (at least -99999999.99) and INDGAS (percent of the receipts,
// 0 without receipts, at least -99.99, 999 above 1000), with a notice when the balance is at or
// below 0 or the index below INDALERTA. Reads the lines and totals already in `r`.
void balance(const Declaration& d, Result& r);

}  // namespace kx::tax
