#include "tax/compute.h"

#include "base/cp850.h"
#include "tax/annual.h"
#include "tax/balance.h"
#include "tax/carne_leao.h"
#include "tax/spouse.h"
#include "tax/totals.h"

namespace kx::tax {

namespace {

// The own tax of every accumulated-income row, with notices for missing months.
void accumulated_income(const Declaration& d, const TaxConstants& k, Result& r) {
  for (size_t i = 0; i < d.income.size(); ++i) {
    const IncomeRow& row = d.income[i];
    r.income[i].I1_20 = row.I1_20;
    if (row.I1_1 != "A") continue;
    r.income[i].I1_20 = rra_own_tax(row, k);
    if (row.TIPOCR != "N") continue;
    if (row.I1_21 <= 0)
      r.notices.push_back({NoticeKind::RraMonthsMissing,
                           {std::string("É necessário informar a quantidade de meses"_cp),
                            row.I1_2}});
    if (row.I1_36.find_first_not_of(' ') == std::string::npos)
      r.notices.push_back({NoticeKind::RraMonthMissing,
                           {std::string("É necessário informar o mês do recebimento"_cp),
                            row.I1_2}});
  }
}

}  // namespace

Result compute(const Declaration& d, const Context& context) {
  const TaxConstants& k = context.constants;
  Result r;
  r.income.resize(d.income.size());
  for (size_t i = 0; i < d.income.size(); ++i) r.income[i].I1_4m = d.income[i].I1_4m;

  recount_dependants(d.dependants, r);
  payment_totals(d.payments, r);
  education(d.payments, d.dependants, k, r);
  carne_leao(d, context, r);
  accumulated_income(d, k, r);
  income_totals(d, r);

  spouse(d, r);
  r.I13_46 = d.summary.I13_46;
  r.I13_47 = d.summary.I13_47;
  r.I13_48 = d.summary.I13_48;
  annual_adjustment(d, context, r);
  patrimony(d, r);
  balance(d, r);
  return r;
}

}  // namespace kx::tax
