#include "tax/limits.h"

#include "base/cp850.h"
#include "tax/result.h"

namespace kx::tax {

namespace {

std::string cpf_mask(const std::string& cpf) {
  if (cpf.size() != 11) return cpf;
  return cpf.substr(0, 3) + "." + cpf.substr(3, 3) + "." + cpf.substr(6, 3) + "-" + cpf.substr(9, 2);
}

// The value kept and the question offering the excess for the taxable income.
void offer_excess(ExemptLimitCheck& c, Decimal value, Decimal others, Decimal row_income,
                  std::string_view first_line_start, const std::string& note) {
  const Decimal total = value + others;
  if (total > c.limit) {
    c.excess = Decimal::min(total - c.limit, value);
    c.value = value - c.excess;
    c.excess_question = {
        join({first_line_start, c.limit.br(2), " e o excedente"_cp}),
        join({"de R$ "_cp, c.excess.br(2), " deve ser "_cp,
              row_income > 0 ? "somado ao"_cp : "lançado no"_cp, " rendimento tributável"_cp}),
        std::string("Deseja que o programa faça isso?"_cp)};
    if (!note.empty()) c.excess_question.push_back(note);
  } else {
    c.value = value;
  }
}

}  // namespace

ExemptLimitOutcome apply(const ExemptLimitCheck& check, Decimal I1_4, bool confirmed,
                         bool add_excess) {
  if (!check.refusal.empty() || (!check.confirm_question.empty() && !confirmed))
    return {Decimal(), I1_4};
  if (!check.excess.is_zero() && add_excess) return {check.value, I1_4 + check.excess};
  return {check.value, I1_4};
}

ExemptLimitCheck check_pension65(Decimal value, const Pensioner& person, Decimal other_rows,
                                 Decimal row_income, const TaxConstants& k) {
  ExemptLimitCheck c;
  if (value.is_zero()) return c;
  const std::string who(person.titular ? "contribuinte"_cp : "dependente"_cp);
  if (person.birth.empty()) {
    c.refusal = {join({"Falta data do nascimento do "_cp, who, "."})};
    return c;
  }
  // The 65th birthday (1 March for someone born on 29 February) by the end of the base year.
  const int year65 = person.birth.year() + 65;
  auto birthday = Date::from_ymd(year65, person.birth.month(), person.birth.day());
  if (!birthday) birthday = Date::from_ymd(year65, 3, 1);
  if (*birthday > *Date::from_ymd(k.BASE_YEAR, 12, 31)) {
    c.refusal = {join({"O "_cp, who, " tem menos de 65 anos"_cp}),
                 std::string("e não pode usar desse benefício!"_cp)};
    return c;
  }
  if (person.titular && person.CODAT != "61")
    c.confirm_question = {std::string("ATENÇÃO! Esse campo só pode ser usado por"_cp),
                          std::string(" aposentados, reformados ou pensionistas."_cp),
                          std::string("A situação é essa mesmo com o código errado? "_cp)};
  std::string note;
  c.limit = k.NVALAPOSA;
  if (year65 == k.BASE_YEAR) {
    const int month = person.birth.month();
    c.limit = k.NVALAPOSE * (14 - month);
    note = join({"Obs. O limite Ú menor pois o "_cp, who, " fez 65 anos no mês "_cp,
                 std::to_string(month)});
  }
  if (!person.titular && person.CODIDEPEN == 31 && value + other_rows > c.limit) {
    c.refusal = {join({"O dependente "_cp, cpf_mask(person.CPF), " tem o rendimento maior que"_cp}),
                 join({"o limite R$ "_cp, c.limit.br(2), " permitido para ser dependente."_cp}),
                 std::string("Ele não pode ser dependente e deve ser retirado dessa declaração"_cp)};
    return c;
  }
  offer_excess(c, value, other_rows, row_income, "O limite para esse ano Ú de R$ "_cp, note);
  return c;
}

ExemptLimitCheck check_serious_illness(Decimal value, const std::string& CODAT) {
  ExemptLimitCheck c;
  c.value = value;
  if (!value.is_zero() && CODAT != "62")
    c.confirm_question = {std::string("ATENÇÃO! Esse campo só pode ser usado  "_cp),
                          std::string("por aposentados ou reformados. Preencha"_cp),
                          std::string("o código correto da natureza na tela 6."_cp),
                          std::string(" Você deseja usá-lo assim mesmo ?      "_cp)};
  return c;
}

ExemptLimitCheck check_volunteer_benefit(Decimal value, Decimal other_rows, Decimal row_income,
                                         const TaxConstants& k) {
  ExemptLimitCheck c;
  if (value.is_zero()) return c;
  c.limit = k.FIFA_LIMIT;
  offer_excess(c, value, other_rows, row_income,
               "O limite isento para esse Benefício é de R$ "_cp, "");
  return c;
}

PaidColumn paid_column(int code, Decimal amount, Decimal I13_09, const TaxConstants& k) {
  PaidColumn c;
  const auto above = [&](Decimal limit) {
    return amount > limit ? amount - limit : Decimal::raw(0, 2);
  };
  if (code >= 1 && code <= 6) c.I6_5 = above(k.NVALESCOL);
  if (code == 50) c.I6_5 = above(k.NMAXINSS);
  if ((code == 36 || code == 38) && I13_09.is_zero())
    c.warning = {
        std::string("Atenção! As contribuições de previdência complementar cujo o ônus "_cp),
        std::string("seja do próprio contribuinte fica condicionado a contribuição para"_cp),
        std::string("a previdência oficial, exceto se já aposentado. Na previdência dos"_cp),
        std::string("dependentes menores de 16 anos só podem ser deduzidas se o titular"_cp),
        std::string("contribuir a P. Oficial e se maior de 16 o próprio dependente deve"_cp),
        std::string("recolher a Previdência. Lei 10.887 de 18/06/04 artigo 13.   "_cp)};
  return c;
}

NonDeductibleColumn non_deductible_column(int code, Decimal value, Decimal paid) {
  if (code > 28)
    return {Decimal(),
            {std::string("Valores não dedutíveis só deve ser preenchido para convênios"_cp),
             std::string("hospitalares ou médicos quando o contribuinte é reembolsado. "_cp),
             std::string("Esse campo será preenchido pelo programa nas situações onde"_cp),
             std::string("os valores ultrapassam o limite permitido"_cp)}};
  if (code >= 8 && value > paid)
    return {Decimal(), {std::string("O valor não dedutível ou reembolsado"_cp),
                        std::string("não pode ser maior que o valor pago "_cp)}};
  return {value, {}};
}

}  // namespace kx::tax
