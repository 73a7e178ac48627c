#include <gtest/gtest.h>

#include "declaration/cpf_prompt.h"
#include "store/catalogue.h"
#include "taxpayer_fixture.h"

namespace kx::declaration {
namespace {

class CorrectedTaxScreenTest : public testing::TaxpayerScreenTest {
 protected:
  CorrectedTaxScreenTest() {
    add("52998224725", "ZELIA PRADO", {{"IMPPGRE", "1000.00"}, {"QTD_QUOTA", "0"}});
    add("11144477735", "ANA SOUZA", {{"IMPPGRE", "-500.00"}});
    add("39053344705", "BRUNO LIMA", {{"IMPPGRE", "1200.00"}, {"QTD_QUOTA", "3"}});
    add("86288366757", "MARIA ALVES");
  }
  void run(const std::string& script) {
    f.h.type(script);
    EXPECT_EQ(GET_CODIGO(f.session, 11, {}).outcome, PromptResult::Outcome::left);
    EXPECT_TRUE(f.h.terminal.script_done());
  }
};

TEST_F(CorrectedTaxScreenTest, EachTaxCorrectedByTheSelicSinceMay) {
  f.h.clock.set({*Date::from_ymd(2015, 8, 10), 9, 0, 0});
  run("<F5><Esc><Esc>");
  EXPECT_TRUE(seen("Imposto Corrigido"));
  // 1 % + May, June and July 2015 of the register installed: 4.24 %.
  EXPECT_TRUE(seen("│  1.000,00│          │  1.042,40│"));  // no quota count: one quota
  EXPECT_TRUE(seen("│          │    500,00│    521,20│"));
  EXPECT_TRUE(seen("│    400,00│          │    416,96│"));
  EXPECT_FALSE(seen("MARIA ALVES"));
}

TEST_F(CorrectedTaxScreenTest, Refusals) {
  run("<F5><Enter><Esc>");  // the harness's day: 02/03/2015
  EXPECT_TRUE(seen("Função só utilizavel após mês de Maio de 2015"));
  screens.clear();
  f.h.clock.set({*Date::from_ymd(2016, 3, 10), 9, 0, 0});  // the register ends in 12/2015
  run("<F5><Enter><Esc>");
  EXPECT_TRUE(seen("Atenção! A tabela da Selic não está atualizada."));
  screens.clear();
  f.h.clock.set({*Date::from_ymd(2015, 8, 10), 9, 0, 0});
  const auto entry = store::table_entry(44, f.globals.NUSU);
  dbf::Table other = dbf::Table::open(f.globals.ROTADEF + "/" + entry->data_file_name(),
                                      {dbf::OpenMode::exclusive, false}, f.h.clock);
  run("<F5><Wait 12000><Enter><Enter><Esc>");  // the open waits for the table, then tells
  EXPECT_TRUE(seen("Opção sendo usada em outro terminal"));
}

}  // namespace
}  // namespace kx::declaration
