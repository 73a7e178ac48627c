#include "ui/picture.h"

#include <gtest/gtest.h>

#include "base/cp850.h"

namespace kx::ui {
namespace {

struct NumberCase {
  const char* mask;
  const char* value;
  const char* shown;
};

TEST(Picture, FormatsNumbers) {
  const NumberCase cases[] = {
      {"@Ez 999,999,999.99", "1234.5", "      1.234,50"},
      {"@Ez 999,999,999.99", "-1500", "     -1.500,00"},
      {"@Ez 999,999,999.99", "0", "              "},
      {"@Ez 999,999,999.99", "1000000000", "**************"},
      {"@Ez 999,999,999.99", "999999999.994", "999.999.999,99"},
      {"@Ez 999,999,999.99", "999999999.995", "**************"},  // rounds past the capacity
      {"@E 9,999.99", "-999", " -999,00"},                           // the sign takes the free separator
      {"@E 999,999.99", "-100000", "**********"},                    // no room for the sign
      {"@E 999,999.99", "-1000000", "**********"},
      {"999", "-999", "***"},
      {"999", "-99", "-99"},
      {"@Z 999.99", "0.004", "      "},
      {"@Z 999.99", "-0.004", "      "},
      {"999.99", "-0.004", "  0.00"},                                // no "-0.00"
      {"999.99", "0.5", "  0.50"},
      {"999.99", "2.345", "  2.35"},                                 // half away from zero
      {"999.99", "-2.345", " -2.35"},
      {"@E 9,999,999,999.99", "1234567890.12", "1.234.567.890,12"},
      {"@Ez 99,999,999,999.9999", "12345.6789", "        12.345,6789"},
      {"@ez   999,999,999.99", "5", "            5,00"},            // leading template blanks kept
      {"@z  9", "7", " 7"},
      {"@ 99", "7", " 7"},
      {"@R ##:##", "1234", "12:34"},
      {"@EZ 999,999.9999", "1.5", "      1,5000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(transform(*Decimal::parse(c.value), c.mask), c.shown) << c.mask << " / " << c.value;
  }
}

TEST(Picture, FunctionLettersInAnyCaseAndOrder) {
  Decimal v = *Decimal::parse("-1234.5");
  for (const char* mask : {"@ZE 999.99", "@Ez 999.99", "@eZ 999.99", "@ez 999.99"}) {
    EXPECT_EQ(transform(v, mask), transform(v, "@EZ 999.99")) << mask;
  }
  Picture p = Picture::parse("@!s52");
  EXPECT_TRUE(p.upper);
  EXPECT_EQ(p.scroll_width, 52);
  EXPECT_EQ(Picture::parse("@KS").scroll_width, 0);
  EXPECT_TRUE(Picture::parse("@k ").clear_first);
}

TEST(Picture, FormatsTextAndIdentifiers) {
  struct Case {
    const char* mask;
    const char* value;
    const char* shown;
  } cases[] = {
      {"@R 999.999.999-99", "12345678901", "123.456.789-01"},
      {"@r 99.999.999/9999-99", "11222333000181", "11.222.333/0001-81"},
      {"@R 99999-999", "01310", "01310-   "},            // short values leave blanks
      {"999.999", "123456", "123.56 "},                   // without R a literal takes a place
      {"@!", "conceição", "CONCEIÇÃO"},
      {"@R !!!!!-!", "ab12c3", "AB12C-3"},
      {"@S40", "texto", "texto"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(cp850::to_utf8(transform(cp850::from_utf8(c.value), c.mask)), c.shown) << c.mask;
  }
}

TEST(Picture, FormatsDates) {
  Date d = *Date::from_ymd(2015, 4, 30);
  for (const char* mask : {"@D", "@d", "@ D", "@E"}) EXPECT_EQ(transform(d, mask), "30/04/2015") << mask;
  EXPECT_EQ(transform(Date{}, "@D"), "  /  /    ");
  EXPECT_EQ(transform(Date{}, "@DZ"), "          ");
}

TEST(Picture, TemplateAdmitsTypedCharacters) {
  EXPECT_TRUE(Picture::admits('9', '5', false));
  EXPECT_FALSE(Picture::admits('9', 'a', false));
  EXPECT_FALSE(Picture::admits('9', '-', false));
  EXPECT_TRUE(Picture::admits('9', '-', true));
  EXPECT_TRUE(Picture::admits('#', ' ', false));
  EXPECT_TRUE(Picture::admits('X', 'a', false));
  EXPECT_FALSE(Picture::admits('.', '.', false));
  EXPECT_EQ(Picture::parse("@E 999,999.9999").decimals(), 4);
}

}  // namespace
}  // namespace kx::ui
