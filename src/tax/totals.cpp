#include "tax/totals.h"

#include <algorithm>
#include <map>

#include "base/cp850.h"
#include "tax/progressive.h"
#include "tax/rounding.h"

namespace kx::tax {

namespace {

bool between(int code, int low, int high) { return code >= low && code <= high; }

// Yearly cost of a domestic employee from the employer's social security of a code 50 row.
Decimal employee_cost(const PaymentRow& p) {
  const Decimal factor = "8.333335"_dec;
  if (p.I6_4.is_zero() && p.I6_5 > 0) return (p.I6_5 / factor + p.I6_5).round(2);
  return (p.I6_4 * factor + p.I6_4).round(2);
}

}  // namespace

void recount_dependants(const std::vector<Dependant>& dependants, Result& r) {
  r.N_DEPEN = 0;
  r.DESPALIM = 0;
  r.person_numbers.clear();
  for (size_t i = 0; i < dependants.size(); ++i) {
    const Dependant& dep = dependants[i];
    if (dep.CODIDEPEN < 98) ++r.N_DEPEN;
    else if (dep.CODIDEPEN <= 99) ++r.DESPALIM;
    r.person_numbers.push_back(dep.NRODEPEN != 0 ? dep.NRODEPEN : static_cast<int>(i + 1));
  }
}

void payment_totals(const std::vector<PaymentRow>& payments, Result& r) {
  for (const PaymentRow& p : payments) {
    const int code = p.I6_3;
    const Decimal paid = p.I6_4;
    if (between(code, 1, 2)) {
      r.I13_13T += paid;
      r.DESPINST = paid > 0 ? "X" : "";
    } else if (between(code, 8, 26)) {
      r.I13_14 += paid - p.I6_5;
      if (paid > 0) r.I13_14D += p.I6_5;
    } else if (between(code, 30, 31)) {
      r.I13_15 += paid;
    } else if (between(code, 33, 34)) {
      r.I13_16 += paid;
    } else if (code == 36 || code == 38) {
      r.I13_11T += paid;
    } else if (code == 37) {
      r.NFUNPRESP += paid;
    } else if (code == 39) {
      r.I13_22C += paid;
    } else if (between(code, 40, 44)) {
      r.I13_22T += paid;
    } else if (between(code, 45, 46)) {
      r.I13_22P += paid;
    } else if (code == 50) {
      r.I13_24T += paid;
      const Decimal cost = employee_cost(p);
      r.NTOTEMPREG += cost;
      r.DESPDECLA += cost;
    } else if (between(code, 51, 69)) {
      r.NADVOGADO += paid;
      r.DESPSIMP += paid;
    } else if (code == 70 || code == 76) {
      r.NALUGUEL += paid;
      r.DESPSIMP += paid;
    } else if (code == 71) {
      r.NADMINS += paid;
      r.DESPSIMP += paid;
    } else if (code == 72) {
      r.NCORRETOR -= paid;
      r.DESPSIMP -= paid;
    } else if (code == 80 || code == 81) {
      r.NDOABENS += paid;
      r.DESPSIMP += paid;
    } else if (code == 90) {
      r.NAJUSTE += paid;
      r.DESPSIMP += paid;
    } else if (code == 98) {
      r.NPARTIDO += paid;
      r.DESPSIMP += paid;
    } else if (code == 99) {
      r.NOUTROS += paid;
      r.DESPSIMP += paid;
    }
    if (code == 72) r.DESPDECLA -= paid;
    else if (code != 50 && !between(code, 91, 97)) r.DESPDECLA += paid;
  }
}

void education(const std::vector<PaymentRow>& payments, const std::vector<Dependant>& dependants,
               const TaxConstants& k, Result& r) {
  std::map<int, Decimal> per_person{{0, Decimal()}};
  for (size_t i = 0; i < dependants.size() && i < r.person_numbers.size(); ++i)
    if (dependants[i].CODIDEPEN < 100) per_person.emplace(r.person_numbers[i], Decimal());
  for (const PaymentRow& p : payments) {
    if (!between(p.I6_3, 1, 2)) continue;
    auto slot = per_person.find(p.I6_6);
    if (slot == per_person.end()) {
      r.notices.push_back({NoticeKind::EducationPersonMissing,
                           {join({"Despesa com instrução da pessoa número "_cp, std::to_string(p.I6_6),
                                  " não dedutível:"_cp}),
                            std::string("não há dependente ou alimentando com esse número."_cp)}});
      continue;
    }
    slot->second = Decimal::min(slot->second + p.I6_4, k.NVALESCOL);
  }
  r.I13_13 = Decimal();
  for (const auto& [number, amount] : per_person) r.I13_13 += amount;
}

Decimal rra_own_tax(const IncomeRow& row, const TaxConstants& k) {
  if (row.TIPOCR != "N" || row.I1_21 <= 0) return Decimal::raw(0, 2);
  const Decimal net = row.I1_4 - row.I1_6 - row.I1_12;
  const Bracket b = monthly_bracket(k, net / row.I1_21);
  if (b.index == 0) return Decimal::raw(0, 2);
  return despreza(net * b.rate - b.deduction * row.I1_21, 15);
}

void income_totals(const Declaration& d, Result& r) {
  auto& I3 = r.I3;
  auto& I4 = r.I4;
  Decimal largest;
  for (size_t i = 0; i < d.income.size(); ++i) {
    const IncomeRow& row = d.income[i];
    const bool company = row.I1_1 == "J" || row.I1_1 == "D";
    if (company) {
      const bool titular = row.I1_1 == "J";
      if (titular && (r.CGCPAGADOR.empty() || row.I1_4 > largest)) {
        largest = row.I1_4;
        r.CGCPAGADOR = row.I1_3;
      }
      Decimal& withheld = titular ? r.I13_27 : r.I13_28;
      if (row.I1_18 > 0) {  // serious illness: the 13th salary is exempt too
        withheld += row.I1_39;
        I3[7] += row.I1_18 + row.I1_7;
      } else {
        I4[titular ? 1 : 6] += row.I1_7;
      }
      (titular ? r.I13_01 : r.I13_02) += row.I1_4;
      withheld += row.I1_5;
      (titular ? r.NPREVTIT : r.NPREVDEP) += row.I1_6;
      I3[1] += row.I1_29;
      I3[3] += row.I1_30;
      I3[5] += row.I1_15;
      I3[6] += row.I1_17;
      I3[8] += row.I1_37;
      I3[9] += row.I1_16;
      I3[10] += row.I1_23;
      I3[12] += row.I1_31;
      I3[13] += row.I1_13;
      I3[14] += row.I1_14;
      I3[15] += row.I1_24;
      I3[16] += row.I1_25;
      I3[17] += row.I1_26;
      I3[18] += row.I1_27;
      I3[19] += row.I1_28;
      I3[24] += row.I1_9;
      I4[4] += row.I1_38;
      I4[8] += row.I1_32;
      I4[9] += row.I1_33;
      I4[10] += row.I1_34;
      r.EXGSUSP += row.I1_19 - row.I1_20;
    } else if (row.I1_1 == "A") {
      const bool titular = row.titular();
      if (row.TIPOCR == "N") {
        I4[titular ? 5 : 7] += row.I1_4 - row.I1_5 - row.I1_6 - row.I1_12;
        (titular ? r.I13_25A : r.I13_25B) += r.income[i].I1_20;
        (titular ? r.I13_34A : r.I13_34B) += row.I1_5;
      } else {
        (titular ? r.I13_05 : r.I13_06) += row.I1_4;
        (titular ? r.I13_27 : r.I13_28) += row.I1_5;
        (titular ? r.I13_10A : r.I13_10B) += row.I1_6;
        r.I13_17 += row.I1_12;
      }
    }
  }
  // Lines entered or produced by other computations.
  r.I3_04D = d.summary.I3_04GCPV + d.summary.I3_04UNIC + d.summary.I3_04REDU + d.summary.I3_04EXTR;
  r.I3_04C = d.summary.I3_04GCPVC + d.summary.I3_04UNICC + d.summary.I3_04REDUC;
  I3[2] = d.summary.I3_02;
  I3[4] = r.I3_04D + r.I3_04C;
  I3[11] = d.summary.I3_11;
  I3[20] = d.summary.I3_20;
  I3[21] = d.summary.I3_21;
  I3[22] = d.summary.I3_22;
  I3[23] = d.summary.I3_23;
  I4[2] = d.summary.I4_02;
  I4[3] = d.summary.I4_03;

  r.I13_09 = r.CARNEINSS + r.CARNEDEPEN + r.NPREVTIT + r.NPREVDEP + r.NFUNPRESP;
  r.I13_10 = r.I13_10A + r.I13_10B;
  r.I13_25 = r.I13_25A + r.I13_25B;
  r.I13_34 = r.I13_34A + r.I13_34B;
  r.I13_44 = Decimal();
  for (int n = 1; n <= 24; ++n) r.I13_44 += I3[n];
  r.I13_45 = Decimal();
  for (int n = 1; n <= 10; ++n) r.I13_45 += I4[n];
}

}  // namespace kx::tax
