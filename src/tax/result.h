// What one computation produces: every result line, the per-row values written back, the
// carnê-leão grid of every person, the balance, and the notices for the operator.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "base/date.h"
#include "base/decimal.h"
#include "tax/input.h"

namespace kx::tax {

enum class NoticeKind {
  AdviceSimplified,   // the simplified model would give less tax
  AdviceComplete,     // the complete model would give less tax
  EstateDateMissing,  // final estate without partition or deed date: full year used
  DepartureDateMissing,
  PeriodOutOfRange,   // departure period outside 1..12 months: full year used
  AbroadLimited,      // tax paid abroad cut to its limit
  QuotaEstate,        // no instalments in a final estate declaration
  RraMonthsMissing,   // accumulated income taxed on its own without its months
  RraMonthMissing,    // ... without the month of receipt
  EducationPersonMissing,  // education payment for a person number that does not exist
  SelicOutdated,      // a month needed for the interest is missing from the SELIC register
  CashProblem,        // balance at or below the alert
};

// Concatenation of CP850 pieces, for the lines of a notice.
inline std::string join(std::initializer_list<std::string_view> pieces) {
  std::string out;
  for (auto piece : pieces) out.append(piece);
  return out;
}

// A message for the operator: its kind and its lines (CP850), as the program shows them.
struct Notice {
  NoticeKind kind;
  std::vector<std::string> lines;
};

// Per payment row, in input order: the non-deductible part (rewritten for donation codes).
struct PaymentOut { Decimal I6_5; };
// Per income row, in input order: the own tax of an accumulated income and the monthly values
// (dated cash-book entries of fill mode 3 write their amount into their month).
struct IncomeOut {
  Decimal I1_20;
  Months I1_4m;
};

struct Result {
  // Summary lines.
  Decimal I13_01, I13_02, I13_03, I13_04, I13_05, I13_06, I13_07, I13_08, I13_09, I13_10;
  Decimal I13_11, I13_12, I13_13, I13_14, I13_15, I13_16, I13_17, I13_18, I13_19, I13_20;
  Decimal I13_21, I13_22, I13_23, I13_24, I13_25, I13_26, I13_27, I13_28, I13_29, I13_30;
  Decimal I13_31, I13_32, I13_33, I13_34, I13_35, I13_36, I13_37, I13_38, I13_39, I13_40;
  Decimal I13_41, I13_42, I13_43, I13_44, I13_45, I13_46, I13_47, I13_48, I13_49, I13_50;
  // Exempt (I3_01..I3_24) and exclusive (I4_01..I4_10) lines; index 0 unused.
  std::array<Decimal, 25> I3{};
  std::array<Decimal, 11> I4{};
  Decimal I3_04D, I3_04C;
  // Parts and paid totals before limits.
  Decimal I13_10A, I13_10B, I13_25A, I13_25B, I13_34A, I13_34B;
  Decimal I13_11T, I13_13T, I13_14D, I13_22T, I13_22C, I13_22P, I13_24T;
  // Deductions and tax base.
  Decimal DESPADRAO, DESCON, LIMMAX, IMPPGRE;
  int N_DEPEN = 0, DESPALIM = 0;
  Decimal NFUNPRESP, NPREVTIT, NPREVDEP, CARNEINSS, CARNEDEPEN, PENSAOM, NTOTDEP;
  Decimal EXGSUSP;
  std::string CGCPAGADOR, DESPINST;
  // Payment category totals of the balance.
  Decimal DESPDECLA, DESPSIMP, NTOTEMPREG, NADVOGADO, NALUGUEL, NADMINS, NCORRETOR, NDOABENS,
      NAJUSTE, NPARTIDO, NOUTROS;
  // The other model's tax, for the advice: Tc (complete) and Ts (simplified).
  Decimal tax_complete, tax_simplified;
  // Quotas.
  int QTD_QUOTA = 0;
  std::string DEBITAUT;
  // Spouse values as used (tax/spouse.h); I13_43 above is the spouse result.
  Decimal I9_2, I9_3, I13_1C, I13_2C, I13_3C, I13_4C, I13_5C;
  // Patrimony and balance.
  Decimal NTOTBANT1, NTOTDANT1, VARPATR, EMPREST, I10_1, I10_2;
  Decimal NREC, RECEITA, DESPESA, SALDO, INDGAS;
  // Carnê-leão.
  Date DF_PAGTO;
  std::vector<MonthlyRow> monthly;  // titular first, then each dependant with a row
  // Per-row values, in input order.
  std::vector<PaymentOut> payments;
  std::vector<IncomeOut> income;
  std::vector<int> person_numbers;  // NRODEPEN of each dependant row after the recount

  std::vector<Notice> notices;
  bool has_notice(NoticeKind kind) const {
    for (const auto& n : notices)
      if (n.kind == kind) return true;
    return false;
  }
};

}  // namespace kx::tax
