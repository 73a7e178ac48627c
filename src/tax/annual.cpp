#include "tax/annual.h"

#include <algorithm>

#include "base/cp850.h"
#include "tax/progressive.h"
#include "tax/rounding.h"

namespace kx::tax {

namespace {

bool in(int code, int low, int high) { return code >= low && code <= high; }

// Allocates the amounts of the rows selected by `pick` from the remainder `rest`.
template <class Pick>
void allocate(const std::vector<PaymentRow>& payments, Pick pick, Decimal& rest,
              std::vector<Decimal>& non_deductible) {
  for (size_t i = 0; i < payments.size(); ++i) {
    if (!pick(payments[i].I6_3)) continue;
    const Decimal paid = payments[i].I6_4;
    if (rest > paid) {
      non_deductible[i] = Decimal::raw(0, 2);
      rest -= paid;
    } else {
      non_deductible[i] = paid - rest;
      rest = Decimal();
    }
  }
}

// The deductions of the complete model that do not depend on the tax: lines 11, 12, 19, LIMMAX.
void complete_deductions(const TaxConstants& k, Result& r) {
  r.I13_11 = Decimal::min(r.I13_11T, (r.I13_08 * k.PENSION_LIMIT_RATE).round(2));
  r.I13_12 = Decimal(r.N_DEPEN) * k.NVALDEPANO;
  r.I13_19 = r.I13_09 + r.I13_10 + r.I13_11 + r.I13_12 + r.I13_13 + r.I13_14 + r.I13_15 +
             r.I13_16 + r.I13_17 + r.I13_18;
  r.LIMMAX = Decimal::max(r.I13_08 - r.I13_19, Decimal());
}

// Tax due I without the income from abroad, for the limit of the tax paid abroad.
Decimal tax_without_abroad(const Declaration& d, const TaxConstants& k, int months,
                           const Result& r) {
  const Decimal income = r.I13_08 - (r.I13_49 + r.I13_50);
  const Decimal pension = Decimal::min(r.I13_11T, (income * k.PENSION_LIMIT_RATE).round(2));
  const Decimal deductions = r.I13_09 + r.I13_10 + pension + r.I13_12 + r.I13_13 + r.I13_14 +
                             r.I13_15 + r.I13_16 + r.I13_17 + r.I13_18;
  const Decimal tax = annual_tax(k, Decimal::max(income - deductions, Decimal()), months);
  std::vector<Decimal> scratch(d.payments.size());
  return tax - incentive_deduction(d.payments, tax, true, k, scratch);
}

}  // namespace

int period_months(const Summary& s, std::vector<Notice>& notices) {
  if (s.DECFINAL == "S") {
    if (!s.DATAPARTI.empty()) return s.DATAPARTI.month();
    if (!s.DATALAVRA.empty()) return s.DATALAVRA.month();
    notices.push_back({NoticeKind::EstateDateMissing,
                       {std::string("Na declaração final o cálculo do Imposto"_cp),
                        std::string("depende da data Partilha ou Lavratura"_cp)}});
    return 12;
  }
  if (s.DECSAIDA == "S") {
    if (s.DATASAIDA.empty()) {
      notices.push_back({NoticeKind::DepartureDateMissing,
                         {std::string("Na declaração de saída o cálculo do Imposto"_cp),
                          std::string("depende da data da saída. Informe-a"_cp)}});
      return 12;
    }
    int months = s.DATASAIDA.month();
    if (!s.DATADECIS.empty()) months -= s.DATADECIS.month() - 1;
    if (months < 1 || months > 12) {
      notices.push_back({NoticeKind::PeriodOutOfRange,
                         {std::string("Na declaração de saída o período de residência"_cp),
                          join({"resulta em "_cp, std::to_string(months),
                                " meses. Confira as datas; o cálculo usa 12 meses."_cp})}});
      return 12;
    }
    return months;
  }
  return 12;
}

Decimal incentive_deduction(const std::vector<PaymentRow>& payments, Decimal tax_due,
                            bool complete, const TaxConstants& k,
                            std::vector<Decimal>& non_deductible) {
  const auto limit = [&](Decimal rate) {
    return complete ? despreza(tax_due * rate, 14) : Decimal::raw(0, 2);
  };
  for (size_t i = 0; i < payments.size(); ++i) non_deductible[i] = payments[i].I6_5;
  Decimal rest = limit(k.DONATION_RATE);
  allocate(payments, [](int c) { return in(c, 40, 44); }, rest, non_deductible);
  rest = Decimal::min(rest, limit(k.CHILDREN_FUND_RATE));
  allocate(payments, [](int c) { return c == 39; }, rest, non_deductible);
  for (int code : {45, 46}) {
    rest = limit(k.PROGRAMME_RATE);
    allocate(payments, [code](int c) { return c == code; }, rest, non_deductible);
  }
  Decimal total;
  for (size_t i = 0; i < payments.size(); ++i)
    if (in(payments[i].I6_3, 39, 46)) total += payments[i].I6_4 - non_deductible[i];
  return Decimal::min(total, tax_due);
}

Quotas quotas(Decimal I13_36, int entered, const std::string& DEBITAUT, bool complete,
              bool estate_partition, Date today, const TaxConstants& k) {
  Quotas q;
  if (I13_36 <= 0) return q;
  q.DEBITAUT = DEBITAUT;
  int n = static_cast<int>((I13_36 / k.MINIMUM_QUOTA).to_int());
  n = std::clamp(n, 1, k.MAX_QUOTAS);
  if (entered <= 0 || entered > n) {
    if (complete && n == 1) q.DEBITAUT = "";
  } else {
    n = entered;
  }
  if (complete && estate_partition && n > 1) {
    q.estate_refused = true;
    n = 1;
    q.DEBITAUT = "";
  }
  q.QTD_QUOTA = n;
  q.I13_37 = despreza(I13_36 / n, 15);
  if (n == 1 && today > *Date::from_ymd(k.BASE_YEAR + 1, 4, 1)) q.DEBITAUT = "";
  return q;
}

void annual_adjustment(const Declaration& d, const Context& context, Result& r) {
  const TaxConstants& k = context.constants;
  const Summary& s = d.summary;
  const bool complete = d.registry.USAPADRAO == "N";
  const int months = period_months(s, r.notices);

  r.I13_07 = s.I13_07;
  r.I13_08 = r.I13_01 + r.I13_02 + r.I13_03 + r.I13_04 + r.I13_05 + r.I13_06 + r.I13_07 +
             r.I13_49 + r.I13_50;
  complete_deductions(k, r);
  r.DESPADRAO = Decimal::min((r.I13_08 * k.SIMPLIFIED_RATE).round(2), k.NDESCPRAD);

  // The complete model in full: its tax Tc is what the simplified one is compared with.
  std::vector<Decimal> complete_non_deductible(d.payments.size());
  const Decimal complete_21 = annual_tax(k, Decimal::max(r.I13_08 - r.I13_19, Decimal()), months);
  const Decimal complete_22 =
      incentive_deduction(d.payments, complete_21, true, k, complete_non_deductible);
  const Decimal complete_24 =
      Decimal::min(Decimal::min(r.I13_24T, complete_21 - complete_22), k.NMAXINSS);
  r.tax_complete = annual_tax(k, r.I13_08 - r.I13_19, months) - complete_22 - complete_24;
  r.tax_simplified = annual_tax(k, r.I13_08 - r.DESPADRAO, months);

  const bool estate_or_departure = s.DECFINAL == "S" || s.DECSAIDA == "S";
  if (complete) {
    r.DESCON = r.I13_19;
    const bool rural_allows = d.registry.TEMRURAL != "S" ||
                              (d.rural.I4R_04.is_zero() && d.rural.I4R_07 >= 0);
    if (r.tax_simplified < r.tax_complete && !estate_or_departure && rural_allows)
      r.notices.push_back({NoticeKind::AdviceSimplified,
                           {std::string("ATENÇÃO! É mais vantajoso usar o formulário simples"_cp)}});
  } else {
    r.DESCON = r.DESPADRAO;
    if (r.tax_simplified > r.tax_complete && r.I13_08 > 0)
      r.notices.push_back({NoticeKind::AdviceComplete,
                           {std::string("  ATENÇAO!!  "_cp), std::string(" Melhor opção"_cp),
                            std::string("  Formulario "_cp), std::string("   Completo  "_cp)}});
    if (r.I13_08 <= 0) r.DESCON = Decimal();
  }
  r.I13_20 = Decimal::max(r.I13_08 - r.DESCON, Decimal());
  r.I13_21 = annual_tax(k, r.I13_20, months);

  std::vector<Decimal> non_deductible(d.payments.size());
  r.I13_22 = incentive_deduction(d.payments, r.I13_21, complete, k, non_deductible);
  r.payments.resize(d.payments.size());
  for (size_t i = 0; i < d.payments.size(); ++i) r.payments[i].I6_5 = non_deductible[i];
  r.I13_23 = r.I13_21 - r.I13_22;

  // Tax paid abroad, limited to the part of tax due I that the income from abroad causes.
  r.I13_32 = Decimal::raw(0, 2);
  if (r.I13_49 + r.I13_50 > 0 && s.I13_32 > 0) {
    const Decimal with_abroad = complete ? r.I13_23 : complete_21 - complete_22;
    const Decimal without = tax_without_abroad(d, k, months, r);
    const Decimal limit = with_abroad - without;
    r.I13_32 = s.I13_32;
    if (limit <= 0) {
      r.I13_32 = Decimal::raw(0, 2);
    } else if (s.I13_32 > limit) {
      r.I13_32 = limit;
      r.notices.push_back(
          {NoticeKind::AbroadLimited,
           {std::string("O imposto pago no exterior não pode execeder a diferença"_cp),
            join({"entre o imposto devido com esses rendimentos: "_cp, with_abroad.br(2)}),
            join({"e sem eles: "_cp, without.br(2)}),
            join({"Esse limite Ú de R$"_cp, limit.br(2), ". O programa irá assumí-lo."_cp})}});
    }
  }

  if (complete) {
    r.I13_24 = Decimal::min(Decimal::min(r.I13_24T, r.I13_23), k.NMAXINSS);
    r.I13_26 = Decimal::max(r.I13_23 + r.I13_25 - r.I13_24, Decimal());
  } else {
    r.I13_24 = Decimal::raw(0, 2);
    r.I13_26 = r.I13_23 + r.I13_25;
  }
  r.I13_31 = s.I13_31;
  r.I13_33 = s.I13_33;
  r.I13_35 = r.I13_27 + r.I13_28 + r.I13_29 + r.I13_30 + r.I13_31 + r.I13_33 + r.I13_34 +
             (complete ? r.I13_32 : Decimal());
  r.IMPPGRE = r.I13_26 - r.I13_35;
  r.I13_36 = r.IMPPGRE > 0 ? r.IMPPGRE : Decimal::raw(0, 2);
  r.I13_38 = r.IMPPGRE < 0 ? -r.IMPPGRE : Decimal::raw(0, 2);

  const bool estate_partition =
      s.DECFINAL == "S" && ((!s.DATAPARTI.empty() && s.DECJUDI == "S") ||
                            (!s.DATALAVRA.empty() && s.DECJUDI == "N"));
  const Quotas q = quotas(r.I13_36, s.QTD_QUOTA, d.registry.DEBITAUT, complete, estate_partition,
                          context.today, k);
  r.QTD_QUOTA = q.QTD_QUOTA;
  r.I13_37 = q.I13_37;
  r.DEBITAUT = q.DEBITAUT;
  if (q.estate_refused)
    r.notices.push_back({NoticeKind::QuotaEstate, {std::string(" ATENÇÃO! Não é permitido o"_cp),
                                                   std::string("parcelamento em declaração final"_cp)}});
}

std::vector<std::string> model_switch_refusal(const Summary& s) {
  if (s.DECFINAL == "S")
    return {std::string("A declaração final de espólio só pode ser uma completa"_cp)};
  if (s.DECSAIDA == "S")
    return {std::string("A declaração de saída definitiva só pode ser uma completa"_cp)};
  return {};
}

std::vector<std::string> rural_loss_question(const RuralResult& rural) {
  if (rural.I4R_03 >= 0) return {};
  return {std::string("Atenção! Esse contribuinte esta com prejuízo na Atividade Rural"_cp),
          std::string("ao optar pela declaração simplificada ele NÃO poderá compensar"_cp),
          std::string("esse prejuízo no próximo ano. Muda mesmo assim para o simples?"_cp)};
}

}  // namespace kx::tax
