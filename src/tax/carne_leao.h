// The monthly carnê-leão of every person of a declaration: the grid of seven columns by twelve
// months and the year, the due tax of each month, the corrected shortfalls, and the declaration
// lines taken from it.
#pragma once

#include "tax/input.h"
#include "tax/result.h"

namespace kx::tax {

// Columns of a grid row (the x of I2_xmm).
enum GridColumn {
  kFromPersons = 1,  // income from individuals in Brazil
  kFromAbroad = 2,   // income from abroad, in reais
  kCashBook = 3,     // cash-book expenses
  kDeductions = 4,   // official pension, alimony and dependants
  kPaid = 5,         // carnê-leão paid
  kDue = 6,          // carnê-leão due
  kCorrected = 7,    // shortfall with fine and interest
};

// The fill mode actually used: CAL_AUTO, with anything outside 1..4 taken as 1.
int fill_mode(int CAL_AUTO);

// The payment date the corrections assume: the last working day of today's month.
Date assumed_payment_date(Date today);

// Due tax of every month (VE_LEAO), the corrected shortfalls (CORR_DARF) and the year's row
// (the sum of each column) of one grid row.
void complete_grid_row(MonthlyRow& row, Date payment_date, const Context& context,
                       std::vector<Notice>& notices);

// The whole carnê-leão: fills r.monthly (titular first, then each dependant), r.CARNEINSS,
// r.CARNEDEPEN, r.PENSAOM, r.NTOTDEP, r.DF_PAGTO, the monthly values of dated cash-book entries
// (r.income[i].I1_4m) and the lines I13_03, I13_04, I13_49, I13_50, I13_18, I13_29, I13_30.
// In fill modes 1 and 3 the grid comes from the income rows; in modes 2 and 4 it is the stored
// (typed) grid, whose due and corrected columns are recomputed. Reads r.N_DEPEN.
void carne_leao(const Declaration& d, const Context& context, Result& r);

// Mode 4 aid, run when the deductions or the paid tax of a month are typed: the gross income
// whose monthly tax equals `paid` (compared in whole reais), given the month's deductions
// (cash book + column 4). `paid` is replaced by the tax of the lowest bracket when no bracket
// agrees. Column 1 becomes the result less the income from abroad, not below 0.
struct InverseMonth {
  Decimal gross;
  Decimal paid;
};
InverseMonth inverse_month(Decimal paid, Decimal deductions, const TaxConstants& k);

// Conversion of a monthly amount between reais and US dollars at the month's rate (cut, width 15).
Decimal to_dollars(Decimal reais, int month, const TaxConstants& k);
Decimal to_reais(Decimal dollars, int month, const TaxConstants& k);

// The employer's part of a domestic employee's monthly social security slip (GPS), from its total.
Decimal gps_employer_part(Decimal gps_total);

}  // namespace kx::tax
