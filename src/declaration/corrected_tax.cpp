#include "declaration/corrected_tax.h"

#include "base/cp850.h"

namespace kx::declaration {

namespace {

// Months counted across years, so that December and the January after it are neighbours.
int month_number(int year, int month) { return year * 12 + month; }

const int kFirstInterestMonth = month_number(2015, 5);

}  // namespace

std::optional<std::vector<std::string>> corrected_tax_refusal(
    Date today, const std::vector<tax::SelicMonth>& selic) {
  if (month_number(today.year(), today.month()) < kFirstInterestMonth)
    return std::vector<std::string>{
        std::string("Função só utilizavel após mês de Maio de 2015"_cp)};
  const int wanted = month_number(today.year(), today.month()) - 1;
  if (selic.empty() || month_number(selic.back().year, selic.back().month) < wanted)
    return std::vector<std::string>{
        std::string("Atenção! A tabela da Selic não está atualizada."_cp),
        std::string("Atualize-a para o cálculo ficar correto!"_cp)};
  return std::nullopt;
}

Decimal corrected_tax_interest(Date today, const std::vector<tax::SelicMonth>& selic) {
  const int end = month_number(today.year(), today.month());
  Decimal rate = 1;
  for (const tax::SelicMonth& m : selic) {
    const int n = month_number(m.year, m.month);
    if (n >= kFirstInterestMonth && n < end) rate += m.TJM;
  }
  return rate;
}

CorrectedTax correct_tax(Decimal IMPPGRE, int QTD_QUOTA, Decimal interest) {
  CorrectedTax c;
  if (IMPPGRE.negative()) {
    c.RESTITU = -IMPPGRE;
    c.CORRIGI = (c.RESTITU + c.RESTITU * interest / 100).round(2);
  } else {
    c.IMPOSTO = (IMPPGRE / Decimal(QTD_QUOTA < 1 ? 1 : QTD_QUOTA)).round(2);
    c.CORRIGI = (c.IMPOSTO + c.IMPOSTO * interest / 100).round(2);
  }
  return c;
}

}  // namespace kx::declaration
