#include <gtest/gtest.h>

#include "declaration/cpf_prompt.h"
#include "taxpayer_fixture.h"

namespace kx::declaration {
namespace {

class TaxpayerDetailsTest : public testing::TaxpayerScreenTest {
 protected:
  TaxpayerDetailsTest() {
    add("52998224725", "ZELIA PRADO",
        {{"NASCIMENTO", "15/03/1980"},
         {"CEP", "01310100"},
         {"UF", "SP"},
         {"MUNICIPIO", "SÃO PAULO"},
         {"EMAIL", "zelia@example.com"},
         {"TEMRURAL", "S"}});
    add("39053344705", "BRUNO LIMA", {{"NASCIMENTO", "04/03/1975"}});
  }

  // The screen the details view showed while waiting for its Esc.
  std::string details_of(const std::string& script) {
    f.h.type(script);
    GET_CODIGO(f.session, 11, {});
    for (const std::string& s : screens) {
      if (s.find("Detalhes") != std::string::npos) return s;
    }
    return {};
  }
};

TEST_F(TaxpayerDetailsTest, ValuesAgeAndBirthdayFromThePromptAndFromTheList) {
  // From the prompt, at the CPF typed so far (a soft seek).
  std::string shown = details_of("5299822472<F6><Esc><Esc>");
  ASSERT_FALSE(shown.empty());
  EXPECT_NE(shown.find("CPF 529.982.247-25"), std::string::npos);
  EXPECT_NE(shown.find("Nome ZELIA PRADO"), std::string::npos);
  EXPECT_NE(shown.find("Idade  34 anos 9 meses"), std::string::npos);
  EXPECT_NE(shown.find("CEP 01310-100"), std::string::npos);
  EXPECT_NE(shown.find("SÃO PAULO"), std::string::npos);
  EXPECT_NE(shown.find("zelia@example.com"), std::string::npos);
  // From the list, on its row: born 04/03, today 02/03/2015 (the harness's day).
  screens.clear();
  shown = details_of("<F2><Ctrl-PgUp><F6><Esc><Esc><Esc>");
  ASSERT_FALSE(shown.empty());
  EXPECT_NE(shown.find("BRUNO LIMA"), std::string::npos);
  EXPECT_NE(shown.find("Aniversário na Quarta"), std::string::npos);
}

}  // namespace
}  // namespace kx::declaration
