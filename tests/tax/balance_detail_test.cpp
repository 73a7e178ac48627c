#include <gtest/gtest.h>

#include "base/cp850.h"
#include "fixture.h"
#include "tax/balance_detail.h"
#include "tax/compute.h"

namespace kx::tax {
namespace {

// Complete model: a salary with its 13th and dividends, accumulated income taxed on its own, a
// private pension, a dependant, typed spouse values, assets that grew and a new debt.
//   I13_08 60000; I13_19 = 6000 + 2000 + 2156.52 = 10156.52; I13_20 49843.48;
//   tax 49843.48 x 22.5 % - 7235.54 = 3979.24; paid 4000 + 600 = 4600.
//   Spouse I9_2 = 30000 + 500 - 2000 = 28500 (typed: I9_3 the same, NREC 0).
//   Variation (70000 + 0) - (50000 + 5000) = 15000, all of it I10_1.
//   RECEITA = 28500 + 60000 + 8000 exempt + 16400 exclusive + 600 = 113500.
//   DESPESA = 4600 + 15000 + declared (2000 + 6000 + 2156.52) = 29756.52.
Declaration small_declaration() {
  Declaration d;
  d.registry.USAPADRAO = "N";
  d.registry.CPFCONJU = "11144477735";
  d.registry.I9_5 = "S";
  d.registry.CONJPAD = "S";
  d.registry.I13_1C = "30000"_dec;
  d.registry.I13_4C = "2000"_dec;
  d.registry.I13_5C = "500"_dec;
  IncomeRow salary = test::company("J", "60000"_dec, "4000"_dec, "6000"_dec);
  salary.I1_7 = "5000"_dec;
  salary.I1_15 = "8000"_dec;
  IncomeRow accumulated = test::accumulated("12000"_dec, "12"_dec);
  accumulated.I1_5 = "600"_dec;  // 1000 a month: no own tax
  d.income = {salary, accumulated};
  d.payments = {test::payment(36, "2000"_dec)};
  d.dependants = {test::dependant(1)};
  d.assets = {{"50000"_dec, "70000"_dec, {}}};
  d.debts = {{Decimal(), "5000"_dec, {}}};
  return d;
}

struct Row {
  const char* description;  // UTF-8
  const char* value;
};

void expect_rows(const std::vector<DetailRow>& got, const std::vector<Row>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(cp850::to_utf8(got[i].DESCRICAO), want[i].description) << i;
    EXPECT_EQ(got[i].VALORDOC, Decimal::parse(want[i].value).value()) << want[i].description;
  }
}

TEST(BalanceDetail, RowsOfEachWindowAboveZero) {
  const Declaration d = small_declaration();
  const Result r = compute(d, test::context());
  ASSERT_EQ(r.RECEITA, "113500"_dec);
  ASSERT_EQ(r.DESPESA, "29756.52"_dec);
  struct Case {
    DetailWindow window;
    std::vector<Row> rows;
  } cases[] = {
      {DetailWindow::taxable,
       {{"Recebido de P.Jurídica pelo Titular ", "60000"},
        {"Total dos Rendimentos Tributáveis", "60000"}}},
      {DetailWindow::exempt,
       {{"Lucros e dividendos recebidos", "8000"}, {"Total dos rendimentos isentos", "8000"}}},
      // Accumulated income with its 600 withheld added back: 11400 + 600.
      {DetailWindow::exclusive,
       {{"Décimo terceiro salário (do Titular) ", "5000"},
        {"Recebido acumulado pelo titular       ", "12000"},
        {"Total do rendimento tributado na fonte", "17000"}}},
      {DetailWindow::variable_income, {}},
      // Typed by hand: 4C is the tax withheld and 5C the carnê-leão.
      {DetailWindow::spouse,
       {{"Total rendimento oficial do conjuge", "28500"},
        {"Saldo no balanço do cônjuge", "28500"},
        {"+ Base de cálculo", "30000"},
        {"- Impostos retido na Fonte Tit e Depen", "2000"},
        {"- Carnê Leão - I.Complementar", "500"}}},
      {DetailWindow::capital_gains, {}},
      {DetailWindow::patrimony,
       {{" Valor dos Bens declarado em 2014 (+)", "70000"},
        {" Valor dos Bens declarado em 2013 (+)", "50000"},
        {" Valor das Dívidas declarado em 2014 (=)", "5000"},
        {" Variação nos Bens ", "20000"},
        {" Variação nas Dívidas", "5000"},
        {" Variação Patrimonial total", "15000"}}},
      {DetailWindow::taxes_paid,
       {{"Imposto retido do Titular", "4000"},
        {"Imposto retido RRA     ", "600"},
        {"Total dos Impostos pagos no Ano", "4600"}}},
      // The standard discount is not an expense of the complete model.
      {DetailWindow::declared_expenses,
       {{"Contribuição previdenciária Oficial", "6000"},
        {"Contribuição previdenciária Privada", "2000"},
        {"Abatimento com Dependentes", "2156.52"},
        {"Total das despesas declaradas", "10156.52"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.window));
    expect_rows(balance_detail(c.window, d, r), c.rows);
  }
}

TEST(BalanceDetail, SharesOfReceiptsAndExpenses) {
  const Declaration d = small_declaration();
  const Result r = compute(d, test::context());
  const auto taxable = balance_detail(DetailWindow::taxable, d, r);
  ASSERT_FALSE(taxable.empty());
  EXPECT_EQ(taxable[0].PERCRECE, "52.86"_dec);   // 60000 / 113500 = 52.863 %
  EXPECT_EQ(taxable[0].PERCDESP, "201.64"_dec);  // 60000 / 29756.52 = 201.636 %
  const auto paid = balance_detail(DetailWindow::taxes_paid, d, r);
  ASSERT_EQ(paid.size(), 3u);
  EXPECT_EQ(paid[2].PERCDESP, "15.46"_dec);  // 4600 / 29756.52 = 15.4589 %
  EXPECT_EQ(paid[1].PERCRECE, "0.53"_dec);   // 600 / 113500 = 0.5286 %

  // No receipts: the shares of the receipts are 0, not a division fault; a tiny base keeps the
  // share within the table's field.
  Result bare;
  bare.I13_27 = "5000"_dec;
  bare.DESPESA = "0.01"_dec;
  const auto rows = balance_detail(DetailWindow::taxes_paid, Declaration{}, bare);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].PERCRECE, Decimal());
  EXPECT_EQ(rows[0].PERCDESP, "999999.99"_dec);
}

TEST(BalanceDetail, MonthlyRowsAndTheSpouseFetched) {
  Declaration d = small_declaration();
  d.summary.LUCRRVA = "700"_dec;
  d.summary.PREJRVA = "250"_dec;
  d.summary.ENTRADGP = "90000"_dec;
  d.summary.I3_04GCPV = "1000"_dec;
  d.summary.I3_04GCPVC = "2000"_dec;
  d.registry.I9_4 = "S";  // fetched: I9_3 is the spouse's balance
  d.registry.I9_3 = "40000"_dec;
  d.registry.CONJPAD = "N";
  const Result r = compute(d, test::context());
  DetailMonths months;
  months.variable_income[0] = "700"_dec;
  months.variable_income[2] = "-250"_dec;
  months.brokerage[1] = "30"_dec;
  months.brokerage[10] = "45.50"_dec;
  expect_rows(balance_detail(DetailWindow::variable_income, d, r, months),
              {{"Lucro no mês 01", "700"},
               {"Prejuízo no mês 03", "250"},
               {"Total Ganho na Renda Variável", "700"},
               {"Total Prejuízo na Renda Variável", "250"}});
  expect_rows(balance_detail(DetailWindow::capital_gains, d, r, months),
              {{"Total das entradas no Ganho de Capital", "90000"},
               {"Corretagem no mês 02", "30"},
               {"Corretagem no mês 11", "45.50"},
               {"Total da corretagem", "75.50"},
               {"Bens de pequeno valor", "3000"}});  // typed and computed parts
  // 40000 - 28500 of other income; the spouse's own model: 4C is the tax paid, 5C not listed.
  expect_rows(balance_detail(DetailWindow::spouse, d, r),
              {{"Total rendimento oficial do conjuge", "28500"},
               {"Outras rendas do cônjuge", "11500"},
               {"Saldo no balanço do cônjuge", "40000"},
               {"+ Base de cálculo", "30000"},
               {"- Total dos impostos pagos", "2000"}});
}

TEST(BalanceDetail, NothingDeclaredLeavesEveryWindowEmpty) {
  const Declaration d;
  const Result r = compute(d, test::context());
  for (int w = 1; w <= 9; ++w)
    EXPECT_TRUE(balance_detail(static_cast<DetailWindow>(w), d, r).empty()) << w;
}

}  // namespace
}  // namespace kx::tax
