#include "tax/balance.h"

#include "base/cp850.h"

namespace kx::tax {

void patrimony(const Declaration& d, Result& r) {
  for (const Asset& a : d.assets) {
    r.I13_39 += a.I7_3;
    r.I13_40 += a.I7_4;
    r.NTOTBANT1 += a.I7_9;
  }
  for (const Debt& debt : d.debts) {
    r.I13_41 += debt.I8_3;
    r.I13_42 += debt.I8_4;
    r.NTOTDANT1 += debt.I8_6;
  }
  r.VARPATR = (r.I13_40 + r.I13_41) - (r.I13_39 + r.I13_42);
  const Decimal assets = r.I13_40 - r.I13_39;
  const Decimal debts = r.I13_42 - r.I13_41;
  r.EMPREST = Decimal::raw(0, 2);
  r.I10_2 = Decimal::raw(0, 2);
  if (assets >= 0 && debts >= 0) {
    if (debts > assets) r.EMPREST = debts - assets;
  } else if (assets < 0 && debts >= 0) {
    r.EMPREST = debts;
    r.I10_2 = -assets;
  } else if (assets < 0 && debts <= 0) {
    r.I10_2 = Decimal::max(-assets + debts, Decimal());
  }
  r.I10_1 = Decimal::max(r.VARPATR, Decimal());
}

Decimal declared_expenses(const Declaration& d, const Result& r) {
  if (d.registry.USAPADRAO == "N") return r.DESPDECLA + r.I13_09 + r.I13_12 + r.I13_18;
  if (d.registry.SO_SIMPLES == "S") return r.DESPADRAO + r.DESPSIMP;
  return r.DESPDECLA + r.I13_09 + r.I13_18;
}

void balance(const Declaration& d, Result& r) {
  const Summary& s = d.summary;
  r.NREC = r.I9_3 - r.I9_2;
  const Decimal deferred_gain = d.registry.SOMAG == "N" ? Decimal() : s.VALFUTUR;
  r.RECEITA = r.I9_2 + r.NREC + r.I10_2 + r.EMPREST + s.EMPRUR + s.OUTREC + s.ENTRADGP -
              s.ISENTNAO + r.EXGSUSP + r.I13_08 + r.I13_44 + r.I13_45 - r.I4[3] + s.LUCRRVA +
              deferred_gain + r.I13_34;
  r.DESPESA = s.IMPOANTER + r.I13_35 + r.I13_46 + r.I13_47 + r.I13_48 + r.I10_1 + s.AMORUR +
              s.PREJRVA + s.PREJVEN1 + s.PREJRUR + s.DESPNAO + s.OUTRDES + s.CUSTOANO +
              s.CUSTOANT + declared_expenses(d, r);
  r.SALDO = Decimal::max(r.RECEITA - r.DESPESA, "-99999999.99"_dec);
  Decimal index = (r.SALDO / r.RECEITA * 100).round(2);
  if (index < "-99.99"_dec) index = "-99.99"_dec;
  if (index > 1000) index = Decimal(999);
  r.INDGAS = index;
  if (r.SALDO <= 0 || r.INDGAS < s.INDALERTA)
    r.notices.push_back({NoticeKind::CashProblem, {std::string("ATENÇÃO!! PROBLEMA DE CAIXA"_cp)}});
}

}  // namespace kx::tax
