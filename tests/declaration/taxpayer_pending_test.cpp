#include <gtest/gtest.h>

#include "declaration/cpf_prompt.h"
#include "store/access.h"
#include "taxpayer_fixture.h"

namespace kx::declaration {
namespace {

class TaxpayerPendingTest : public testing::TaxpayerScreenTest {
 protected:
  TaxpayerPendingTest() {
    add("52998224725", "ZELIA PRADO");
    add("39053344705", "BRUNO LIMA");
    store::Access a = f.session.access();
    EXPECT_TRUE(store::ABERTURA(a, 11));
    dbf::Table& notes = f.workspace.table(11);
    const struct {
      const char *cpf, *note, *code;
    } rows[] = {{"52998224725", "Falta informe do banco", "7"},
                {"39053344705", "Nota de outro contribuinte", "1"},
                {"52998224725", "Recibo médico sem CPF", "2"}};
    for (const auto& r : rows)
      add_row(notes, {{"CPF", r.cpf}, {"OBSERV", r.note}, {"CODERR", r.code}});
    f.workspace.close(11);
  }
};

TEST_F(TaxpayerPendingTest, TheNotesOfTheRowInCodeOrder) {
  f.h.type("5299822472<F11><Esc><Esc>");  // at the CPF typed so far
  GET_CODIGO(f.session, 11, {});
  std::string shown;
  for (const std::string& s : screens) {
    if (s.find("Pendências") != std::string::npos) shown = s;
  }
  ASSERT_FALSE(shown.empty());
  const auto first = shown.find("Recibo médico sem CPF"),
             second = shown.find("Falta informe do banco");
  ASSERT_NE(first, std::string::npos);
  ASSERT_NE(second, std::string::npos);
  EXPECT_LT(first, second);  // code 2 before code 7
  EXPECT_EQ(shown.find("Nota de outro contribuinte"), std::string::npos);
}

}  // namespace
}  // namespace kx::declaration
