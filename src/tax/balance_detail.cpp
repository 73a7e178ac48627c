#include "tax/balance_detail.h"

#include <cstdio>
#include <string_view>

#include "base/cp850.h"
#include "tax/balance.h"

namespace kx::tax {

namespace {

struct Sources {
  const Declaration& d;
  const Result& r;
  const DetailMonths& months;
};

using Value = Decimal (*)(const Sources&, int month);

// A row of a window. A monthly row stands for twelve rows, the month's number appended to the
// description; a negative value then reads with `negative` and its sign turned.
struct Item {
  DetailWindow window;
  std::string_view description;
  Value value;
  bool monthly = false;
  std::string_view negative = {};
};

Decimal sum_of(const Months& months) {
  Decimal total;
  for (const Decimal& m : months) total += m;
  return total;
}

// Exclusive lines as the window lists them: line 05 and 07 with the tax withheld on the
// accumulated income taxed on its own added back; line 03 (variable income) left out.
Decimal exclusive_line(const Result& r, int line) {
  if (line == 5) return r.I4[5] + r.I13_34A;
  if (line == 7) return r.I4[7] + r.I13_34B;
  return r.I4[line];
}

// The sum of the rows the window lists.
Decimal exclusive_total(const Result& r) {
  Decimal total;
  for (int line : {1, 2, 4, 5, 6, 7, 8, 9, 10})
    total += Decimal::max(exclusive_line(r, line), Decimal());
  return total;
}

bool typed_spouse(const Sources& s) { return s.d.registry.CONJPAD == "S"; }

#define KX_VALUE(EXPR) \
  []([[maybe_unused]] const Sources& s, [[maybe_unused]] int m) -> Decimal { return EXPR; }
#define KX_EXEMPT(N, TEXT) {DetailWindow::exempt, TEXT ""_cp, KX_VALUE(s.r.I3[N])}
#define KX_EXCLUSIVE(N, TEXT) {DetailWindow::exclusive, TEXT ""_cp, KX_VALUE(exclusive_line(s.r, N))}

using W = DetailWindow;

const Item kItems[] = {
    {W::taxable, "Recebido de P.Jurídica pelo Titular "_cp, KX_VALUE(s.r.I13_01)},
    {W::taxable, "Recebido de P.Jurídica pelo Dependente"_cp, KX_VALUE(s.r.I13_02)},
    {W::taxable, "Rec. P.Física pelo Titular "_cp, KX_VALUE(s.r.I13_03)},
    {W::taxable, "Recebido de P.Física pelo Dependente"_cp, KX_VALUE(s.r.I13_04)},
    {W::taxable, "Recebido do Exterior pelo Titular "_cp, KX_VALUE(s.r.I13_49)},
    {W::taxable, "Recebido do Exterior pelo Dependente"_cp, KX_VALUE(s.r.I13_50)},
    {W::taxable, "Acumulado do Titular "_cp, KX_VALUE(s.r.I13_05)},
    {W::taxable, "Acumulado do Dependente"_cp, KX_VALUE(s.r.I13_06)},
    {W::taxable, "Resultado Tributável da Atividade Rural"_cp, KX_VALUE(s.r.I13_07)},
    {W::taxable, "Total dos Rendimentos Tributáveis"_cp, KX_VALUE(s.r.I13_08)},

    KX_EXEMPT(1, "Bolsa de Estudo "),
    KX_EXEMPT(2, "Capital ou Prêmio de seguro pago"),
    KX_EXEMPT(3, "Indenizações p/rescisão ou acidentes"),
    KX_EXEMPT(4, "Valores isentos no ganho de capital"),
    KX_EXEMPT(5, "Lucros e dividendos recebidos"),
    KX_EXEMPT(6, "Parcela isenta aposentad. Maior 65 anos"),
    KX_EXEMPT(7, "Pensão,aposentadoria por moléstia grave"),
    KX_EXEMPT(8, "Rendimentos de caderneta de poupança"),
    KX_EXEMPT(9, "Rendimentos de Sócio de ME ou EPP"),
    KX_EXEMPT(10, "Transf. patrimonial, doações, heranças"),
    KX_EXEMPT(11, "Parcela isenta da atividade rural"),
    KX_EXEMPT(12, "IR de anos anteriores compensado"),
    KX_EXEMPT(13, "75% de rend. recebido por servidor exter."),
    KX_EXEMPT(14, "Incorporação de reservas ao capital"),
    KX_EXEMPT(15, "Bolsa de Estudo medico residente"),
    KX_EXEMPT(16, "Beneficios indiretos voluntario FIFA"),
    KX_EXEMPT(17, "Transf. patrimonial, dissolucao casamento"),
    KX_EXEMPT(18, "Ganho liquido na bolsa até 20 mil"),
    KX_EXEMPT(19, "Ganho liquido em ouro  até 20 mil"),
    KX_EXEMPT(20, "Recuperacao de prejuizos em R.Variavel"),
    KX_EXEMPT(21, "Rendimentos brutos ate 60% - carga"),
    KX_EXEMPT(22, "Rendimentos brutos ate 40% - transporte"),
    KX_EXEMPT(23, "Restituicao do IR de anos anteriores"),
    KX_EXEMPT(24, "Outros isentos"),
    {W::exempt, "Total dos rendimentos isentos"_cp, KX_VALUE(s.r.I13_44)},

    KX_EXCLUSIVE(1, "Décimo terceiro salário (do Titular) "),
    KX_EXCLUSIVE(2, "Ganhos de capital na alienação de bens"),
    KX_EXCLUSIVE(4, "Rendimentos de aplicações financeiras "),
    KX_EXCLUSIVE(5, "Recebido acumulado pelo titular       "),
    KX_EXCLUSIVE(6, "13ro Salário recebido pelos dependentes"),
    KX_EXCLUSIVE(7, "Recebido acumulado pelos dependentes  "),
    KX_EXCLUSIVE(8, "Juros sobre capital próprio          "),
    KX_EXCLUSIVE(9, "Participacao nos lucros              "),
    KX_EXCLUSIVE(10, "Outros "),
    {W::exclusive, "Total do rendimento tributado na fonte"_cp, KX_VALUE(exclusive_total(s.r))},

    {W::variable_income, "Lucro no mês "_cp, KX_VALUE(s.months.variable_income[m]), true,
     "Prejuízo no mês "_cp},
    {W::variable_income, "Total Ganho na Renda Variável"_cp, KX_VALUE(s.d.summary.LUCRRVA)},
    {W::variable_income, "Total Prejuízo na Renda Variável"_cp, KX_VALUE(s.d.summary.PREJRVA)},

    // The spouse's parts read as the printed declaration reads them: typed by hand (CONJPAD
    // "S"), line 4C is the tax withheld and 5C the carnê-leão and complementary tax.
    {W::spouse, "Total rendimento oficial do conjuge"_cp, KX_VALUE(s.r.I9_2)},
    {W::spouse, "Outras rendas do cônjuge"_cp, KX_VALUE(s.r.NREC)},
    {W::spouse, "Saldo no balanço do cônjuge"_cp, KX_VALUE(s.r.I9_3)},
    {W::spouse, "Diferença entre Rendimento e Saldo"_cp, KX_VALUE(s.r.I9_2 - s.r.I9_3)},
    {W::spouse, "+ Base de cálculo"_cp, KX_VALUE(s.r.I13_1C)},
    {W::spouse, "+ Rendimentos Isentos e Não Tributados"_cp, KX_VALUE(s.r.I13_2C)},
    {W::spouse, "+ Rendimentos Tributados na fonte"_cp, KX_VALUE(s.r.I13_3C)},
    {W::spouse, "- Total dos impostos pagos"_cp,
     KX_VALUE(typed_spouse(s) ? Decimal() : s.r.I13_4C)},
    {W::spouse, "- Impostos retido na Fonte Tit e Depen"_cp,
     KX_VALUE(typed_spouse(s) ? s.r.I13_4C : Decimal())},
    {W::spouse, "- Carnê Leão - I.Complementar"_cp,
     KX_VALUE(typed_spouse(s) ? s.r.I13_5C : Decimal())},

    {W::capital_gains, "Total das entradas no Ganho de Capital"_cp,
     KX_VALUE(s.d.summary.ENTRADGP)},
    {W::capital_gains, "Corretagem no mês "_cp, KX_VALUE(s.months.brokerage[m]), true},
    {W::capital_gains, "Total da corretagem"_cp, KX_VALUE(sum_of(s.months.brokerage))},
    {W::capital_gains, "Total do custo no ano dos Bens Vendidos"_cp,
     KX_VALUE(s.d.summary.CUSTOANO)},
    {W::capital_gains, "Total do custo dos Bens Baixados"_cp, KX_VALUE(s.d.summary.CUSTOANT)},
    {W::capital_gains, "Bens de pequeno valor"_cp,
     KX_VALUE(s.d.summary.I3_04GCPV + s.d.summary.I3_04GCPVC)},
    {W::capital_gains, "Venda do único imóvel nos últimos 5 anos"_cp,
     KX_VALUE(s.d.summary.I3_04UNIC + s.d.summary.I3_04UNICC)},
    {W::capital_gains, "Valor da redução na venda de imóveis"_cp,
     KX_VALUE(s.d.summary.I3_04REDU + s.d.summary.I3_04REDUC)},
    {W::capital_gains, "Valor tributado na alienação de Bens"_cp, KX_VALUE(s.r.I4[2])},
    {W::capital_gains, "Total Abatimento de Isentos e Tributado"_cp,
     KX_VALUE(s.d.summary.ISENTNAO)},
    {W::capital_gains, "Valor a receber no Ganho de capital"_cp, KX_VALUE(s.d.summary.VALFUTUR)},

    {W::patrimony, " Valor dos Bens declarado em 2014 (+)"_cp, KX_VALUE(s.r.I13_40)},
    {W::patrimony, " Valor das Dívidas declarado em 2013 (-)"_cp, KX_VALUE(s.r.I13_41)},
    {W::patrimony, " Valor dos Bens declarado em 2013 (+)"_cp, KX_VALUE(s.r.I13_39)},
    {W::patrimony, " Valor das Dívidas declarado em 2014 (=)"_cp, KX_VALUE(s.r.I13_42)},
    {W::patrimony, " Variação nos Bens "_cp, KX_VALUE(s.r.I13_40 - s.r.I13_39)},
    {W::patrimony, " Variação nas Dívidas"_cp, KX_VALUE(s.r.I13_42 - s.r.I13_41)},
    {W::patrimony, " Variação Patrimonial total"_cp, KX_VALUE(s.r.VARPATR)},

    {W::taxes_paid, "Imposto retido do Titular"_cp, KX_VALUE(s.r.I13_27)},
    {W::taxes_paid, "Imposto retido do Dependente"_cp, KX_VALUE(s.r.I13_28)},
    {W::taxes_paid, "Carnê Leão do Titular "_cp, KX_VALUE(s.r.I13_29)},
    {W::taxes_paid, "Carnê Leão do Dependente"_cp, KX_VALUE(s.r.I13_30)},
    {W::taxes_paid, "Imposto complementar "_cp, KX_VALUE(s.r.I13_31)},
    {W::taxes_paid, "Imposto Pago no Exterior"_cp, KX_VALUE(s.r.I13_32)},
    {W::taxes_paid, "Imposto Lei 11.033/2004"_cp, KX_VALUE(s.r.I13_33)},
    {W::taxes_paid, "Imposto retido RRA     "_cp, KX_VALUE(s.r.I13_34)},
    {W::taxes_paid, "Impostos Sobre Ganho de Capital"_cp, KX_VALUE(s.r.I13_46)},
    {W::taxes_paid, "Impostos Sobre a Renda Variável"_cp, KX_VALUE(s.r.I13_47)},
    {W::taxes_paid, "Imp. Lei 11.033 Ret. na Fonte"_cp, KX_VALUE(s.r.I13_48)},
    {W::taxes_paid, "Total dos Impostos pagos no Ano"_cp,
     KX_VALUE(s.r.I13_35 + s.r.I13_46 + s.r.I13_47 + s.r.I13_48)},

    {W::declared_expenses, "Valor do abatimento Padrão"_cp,
     KX_VALUE(s.d.registry.USAPADRAO == "N" ? Decimal() : s.r.DESPADRAO)},
    {W::declared_expenses, "Contribuição previdenciária Oficial"_cp, KX_VALUE(s.r.I13_09)},
    {W::declared_expenses, "Contribuição previdenciária RAA"_cp, KX_VALUE(s.r.I13_10)},
    {W::declared_expenses, "Contribuição previdenciária Privada"_cp, KX_VALUE(s.r.I13_11)},
    {W::declared_expenses, "Livro Caixa"_cp, KX_VALUE(s.r.I13_18)},
    {W::declared_expenses, "Abatimento com Dependentes"_cp, KX_VALUE(s.r.I13_12)},
    {W::declared_expenses, "Total das despesas declaradas"_cp,
     KX_VALUE(declared_expenses(s.d, s.r))},
};

#undef KX_EXCLUSIVE
#undef KX_EXEMPT
#undef KX_VALUE

// value / base x 100 within the table's field N 9,2.
Decimal share(Decimal value, Decimal base) {
  const Decimal percent = (value / base * 100).round(2);
  return Decimal::min(Decimal::max(percent, "-99999.99"_dec), "999999.99"_dec);
}

std::string month_suffix(int month) {
  char buf[4];
  std::snprintf(buf, sizeof buf, "%02d", month);
  return buf;
}

}  // namespace

std::vector<DetailRow> balance_detail(DetailWindow window, const Declaration& d, const Result& r,
                                      const DetailMonths& months) {
  const Sources sources{d, r, months};
  std::vector<DetailRow> rows;
  auto add = [&](std::string description, Decimal value) {
    if (value > 0)
      rows.push_back({std::move(description), value, share(value, r.DESPESA),
                      share(value, r.RECEITA)});
  };
  for (const Item& item : kItems) {
    if (item.window != window) continue;
    if (!item.monthly) {
      add(std::string(item.description), item.value(sources, 0));
      continue;
    }
    for (int m = 0; m < 12; ++m) {
      const Decimal value = item.value(sources, m);
      if (value < 0 && !item.negative.empty())
        add(std::string(item.negative) + month_suffix(m + 1), -value);
      else
        add(std::string(item.description) + month_suffix(m + 1), value);
    }
  }
  return rows;
}

}  // namespace kx::tax
