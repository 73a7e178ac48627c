// What one computation reads: the rows of one declaration and its context, as plain values named
// like the table fields they mirror. Amounts not yet produced by other computations (rural result,
// variable income, capital gains) are inputs that stay 0 until those computations exist.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "base/date.h"
#include "base/decimal.h"
#include "tax/constants.h"

namespace kx::tax {

using Months = std::array<Decimal, 12>;  // January .. December

// Registry row (table 9): the fields the computation reads.
struct Registry {
  std::string CPF;
  Date NASCIMENTO;
  std::string CODAT;           // nature of the occupation
  std::string TEMRURAL;        // "S": rural activity
  std::string USAPADRAO = "S";  // "S" simplified model, "N" complete
  std::string DEBITAUT;        // automatic debit of the quotas
  std::string SO_SIMPLES;      // balance counts only the standard discount ("S")
  std::string SOMAG;           // deferred gain counts as a receipt unless "N"
  // Spouse: CPF, values fetched from the spouse's declaration (I9_4 "S") or typed by hand
  // (I9_5 "S"): I9_2 the spouse result, I9_3 the spouse's balance, I13_1C..I13_5C its parts.
  std::string CPFCONJU, I9_4, I9_5, CONJPAD;
  Decimal I9_2, I9_3;
  Decimal I13_1C, I13_2C, I13_3C, I13_4C, I13_5C;
};

// Summary row (table 1): the fields the computation reads.
struct Summary {
  // Entered exempt lines and the parts of exempt line 04 (the ones ending in C come from the
  // capital-gain computation).
  Decimal I3_02, I3_21, I3_22, I3_23;
  Decimal I3_04GCPV, I3_04UNIC, I3_04REDU, I3_04EXTR, I3_04GCPVC, I3_04UNICC, I3_04REDUC;
  // Results of other computations: rural (I3_11, I13_07), variable income (I3_20, I4_03, I13_47,
  // LUCRRVA, PREJRVA), capital gains (I4_02, I13_46, I13_48).
  Decimal I3_11, I3_20, I4_02, I4_03, I13_07, I13_46, I13_47, I13_48;
  // Entered lines of the calculation screen.
  Decimal I13_31, I13_32, I13_33;
  // Estate and departure.
  std::string DECFINAL, DECSAIDA, DECJUDI;
  Date DATAPARTI, DATADECIS, DATASAIDA, DATALAVRA;
  int QTD_QUOTA = 0;
  // Official pension paid by carnê, typed in the fill modes 2 and 4.
  Decimal CARNEINSS, CARNEDEPEN;
  // Balance entries and results of other computations that the balance reads.
  Decimal EMPRUR, AMORUR, PREJRUR, OUTREC, VALFUTUR, OUTRDES, PREJVEN1, PREJRVA, LUCRRVA, DESPNAO;
  Decimal IMPOANTER, CUSTOANT, CUSTOANO, ENTRADGP, ISENTNAO;
  int INDALERTA = 10;
  int CAL_AUTO = 1;   // fill mode of the carnê-leão grid; other values are taken as 1
  bool SO_REC = true;  // lines 29/30 take the paid amounts (else the larger of paid and due)
};

// Income row (table 2).
struct IncomeRow {
  std::string I1_1;   // kind: J D A F E L P I
  std::string I1_2, I1_3;
  std::string I1_8;   // the dependant's CPF
  std::string I1_11 = "S";  // "S" titular, "N" dependant
  std::string TIPOCR;  // A rows: "N" taxed on its own; dated entries: "C"/"D"
  Date DT_LC;
  std::string I1_22, I1_35, I1_36;
  Decimal I1_4, I1_5, I1_6, I1_7, I1_9, I1_10;
  Decimal I1_12, I1_13, I1_14, I1_15, I1_16, I1_17, I1_18, I1_19, I1_20;
  Decimal I1_21;  // months of an accumulated income (one decimal)
  Decimal I1_23, I1_24, I1_25, I1_26, I1_27, I1_28, I1_29, I1_30, I1_31, I1_32, I1_33, I1_34;
  Decimal I1_37, I1_38, I1_39;
  Months I1_4m, I1_5m, I1_6m;  // I1_401..I1_412, I1_501.., I1_601..

  bool titular() const { return I1_11 != "N"; }
};

// Payment row (table 6).
struct PaymentRow {
  std::string I6_1, I6_2, I6_7;
  int I6_3 = 0;  // payment code
  Decimal I6_4, I6_5;
  int I6_6 = 0;  // person number: 0 titular, k the person numbered k
  Months I6_4m;  // I6_401..I6_412
};

// Dependant or alimony recipient (table 3).
struct Dependant {
  std::string NOMEDEPEN, CPFDEPEN;
  int CODIDEPEN = 0;  // below 98 dependant; 98/99 alimony recipient; 100 and above heir
  Date DATADEPEN;
  int NRODEPEN = 0;  // person number; 0 = not yet numbered
};

// Monthly carnê-leão row of one person (table 12): I2_xmm for x = 1..7, mm = 01..12, 13 = year.
struct MonthlyRow {
  std::string CPFDEPEN;  // blank for the titular
  std::array<std::array<Decimal, 13>, 7> I2{};  // I2[x - 1][mm - 1]

  Decimal& at(int x, int mm) { return I2[x - 1][mm - 1]; }
  Decimal at(int x, int mm) const { return I2[x - 1][mm - 1]; }
};

struct Asset { Decimal I7_3, I7_4, I7_9; };  // table 4
struct Debt { Decimal I8_3, I8_4, I8_6; };   // table 5

// Rural result lines (table 15) that the model advice reads.
struct RuralResult { Decimal I4R_03, I4R_04, I4R_07; };

// One month of the SELIC register (table 51): ANOMES "yyyymm" and TJM in percent.
struct SelicMonth {
  int year = 0, month = 0;
  Decimal TJM;
};

struct Context {
  Date today;
  std::vector<SelicMonth> selic;  // in month order
  TaxConstants constants;
};

struct Declaration {
  Registry registry;
  Summary summary;
  std::vector<IncomeRow> income;
  std::vector<PaymentRow> payments;
  std::vector<Dependant> dependants;
  std::vector<MonthlyRow> monthly;  // stored rows: the grid typed in fill modes 2 and 4
  std::vector<Asset> assets;
  std::vector<Debt> debts;
  RuralResult rural;
};

}  // namespace kx::tax
