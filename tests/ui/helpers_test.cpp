#include <gtest/gtest.h>

#include "base/cp850.h"
#include "ui/number_text.h"
#include "ui/path_helpers.h"
#include "ui/text_helpers.h"

namespace kx::ui {
namespace {

Decimal dec(const char* s) { return *Decimal::parse(s); }

TEST(NumberText, DesprezaCutsAfterRoundingTwoPlacesFurther) {
  const std::pair<const char*, const char*> cases[] = {
      {"10.23999", "10.24"}, {"10.23499", "10.23"}, {"-1.2345", "-1.23"},
      {"0.005", "0.00"},     {"2.999999", "3.00"},  {"1234567.899", "1234567.89"},
  };
  for (auto [in, out] : cases) {
    Decimal r = DESPREZA(dec(in), 15);
    EXPECT_EQ(r, dec(out)) << in;
    EXPECT_EQ(r.scale(), 2) << in;
  }
  EXPECT_EQ(DESPREZA(dec("1.23456"), 15, 2, 1), dec("1.2346"));
  // A value that does not fit its width is an error, never a silent zero.
  EXPECT_THROW(DESPREZA(dec("123456789012"), 15), DecimalOverflow);
}

TEST(NumberText, CarToValReadsBrazilianNumbers) {
  const std::pair<const char*, const char*> cases[] = {
      {"1.234,56", "1234.56"}, {"123,45", "123.45"}, {"-1.500,00", "-1500"}, {"", "0"},
      {"   ", "0"},            {"12abc", "12"},      {"1.234.567", "1234567"}, {"abc", "0"},
      {",5", "0.5"},           {"7,", "7"},
  };
  for (auto [in, out] : cases) EXPECT_EQ(CAR_TO_VAL(std::string_view(in)), dec(out)) << in;
  EXPECT_EQ(CAR_TO_VAL(dec("3.5")), dec("3.5"));
}

TEST(TextHelpers, AccentsOfWindowsTextsBecomeScreenLetters) {
  // "CONCEIÇÃO" as the official program's files hold it (Latin-1).
  EXPECT_EQ(cp850::to_utf8(AJUS_CAR("  CONCEI\xC7\xC3O ")), "CONCEIÇAO");
  EXPECT_EQ(cp850::to_utf8(AJUS_CAR("\xE3\xF5\xC1\xC9\xE9")), "äöAÉé");
  EXPECT_EQ(AJUS_CAR("plain"), "plain");
}

TEST(TextHelpers, MonthsDaysAndTimes) {
  EXPECT_EQ(TRAZ_MES(3), "Marco    ");
  EXPECT_EQ(TRAZ_MES(9).size(), 9u);
  EXPECT_EQ(TRAZ_MES(13), "");
  EXPECT_EQ(DIA_SEMANA(*Date::from_ymd(2015, 3, 1)), "Domingo");
  EXPECT_EQ(DIA_SEMANA(*Date::from_ymd(2015, 3, 7)), "Sabado");
  EXPECT_EQ(DIA_SEMANA(Date{}), "");
  EXPECT_EQ(HORA_SEG("01:02:03"), 3723);
  EXPECT_EQ(SEG_HORA(3723), "01:02:03");
  EXPECT_EQ(SEG_HORA(90000), "01:00:00");
  EXPECT_EQ(SEG_HOR_2(93780), "01D02h03m");
  EXPECT_EQ(TEMPO_PAS("23:59:00", "00:01:00"), 120);
  EXPECT_EQ(TEMPO_PAS("10:00:00", "10:00:30"), 30);
}

struct ScriptedPrompter : Prompter {
  std::vector<std::vector<std::string>> told;
  void tell(const std::vector<std::string>& l) override { told.push_back(l); }
  bool ask(const std::vector<std::string>&) override {
    ADD_FAILURE() << "nothing is asked";
    return false;
  }
};

TEST(PathHelpers, EspcifWantsAPathTheProgramCanPlace) {
  ScriptedPrompter p;
  EXPECT_TRUE(ESPCIF("/home/x", p));
  EXPECT_TRUE(ESPCIF("~/dados", p));
  EXPECT_TRUE(ESPCIF(" C:\\KAPRIX", p));
  EXPECT_TRUE(p.told.empty());
  EXPECT_FALSE(ESPCIF("dados", p));
  ASSERT_EQ(p.told.size(), 1u);
  EXPECT_EQ(cp850::to_utf8(p.told[0].at(0)), "Especifique o drive com ':' após a letra");
}

}  // namespace
}  // namespace kx::ui
