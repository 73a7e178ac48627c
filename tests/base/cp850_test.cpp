#include "base/cp850.h"

#include <gtest/gtest.h>

#include <set>

namespace kx {
namespace {

TEST(Cp850, KnownBytesOfTheScreenAndOfNames) {
  struct Case {
    unsigned char byte;
    char32_t code_point;
  };
  const Case cases[] = {
      {0x41, U'A'}, {0x80, U'Ç'}, {0x87, U'ç'}, {0xC7, U'Ã'}, {0xC6, U'ã'}, {0xE5, U'Õ'},
      {0xE4, U'õ'}, {0xA6, U'ª'}, {0xA7, U'º'}, {0xFE, U'■'}, {0xB0, U'░'}, {0xC4, U'─'},
      {0xB3, U'│'}, {0xDA, U'┌'}, {0xC9, U'╔'}, {0xCD, U'═'}, {0xBC, U'╝'}, {0xD5, U'ı'},
      {0xFF, 0xA0}, {0x1A, 0x1A}, {0x7F, 0x7F}, {0x00, 0x00},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(static_cast<uint32_t>(cp850::to_unicode(c.byte)), static_cast<uint32_t>(c.code_point))
        << int(c.byte);
    EXPECT_EQ(cp850::from_unicode(c.code_point), c.byte) << int(c.byte);
  }
}

TEST(Cp850, AllBytesRoundTripThroughUnicodeAndUtf8) {
  std::set<char32_t> seen;
  std::string all;
  for (int b = 0; b < 256; ++b) {
    char32_t cp = cp850::to_unicode(static_cast<unsigned char>(b));
    EXPECT_TRUE(seen.insert(cp).second) << "two bytes map to U+" << std::hex << static_cast<uint32_t>(cp);
    EXPECT_EQ(cp850::from_unicode(cp, 0), b);
    all.push_back(static_cast<char>(b));
  }
  std::string utf8 = cp850::to_utf8(all);
  EXPECT_EQ(cp850::from_utf8(utf8), all);
}

TEST(Cp850, Utf8Conversion) {
  EXPECT_EQ(cp850::to_utf8("Atenção"_cp), "Atenção");
  EXPECT_EQ(cp850::from_utf8("ÇÃO ■"), "\x80\xC7O \xFE");
  struct Case {
    const char* utf8;
    const char* cp850;
  };
  const Case cases[] = {
      {"€1", "?1"},                  // outside the code page
      {"a\xC3", "a?"},               // truncated sequence
      {"\xC3(", "?("},               // bad continuation: the next byte is kept
      {"\xC0\xAF", "??"},            // overlong form of "/"
      {"\xED\xA0\x80x", "???x"},     // a surrogate
      {"\xF4\x90\x80\x80", "????"},  // beyond U+10FFFF
      {"\xFF", "?"},
      {"\xF0\x9F\x98\x80!", "?!"},   // a valid character outside the code page
  };
  for (const auto& c : cases) EXPECT_EQ(cp850::from_utf8(c.utf8), c.cp850) << c.utf8;
  EXPECT_EQ(cp850::from_utf8("€", '#'), "#");
  EXPECT_EQ(cp850::from_unicode(U'€'), '?');
}

TEST(Cp850, LiteralIsConvertedAtCompileTime) {
  constexpr std::string_view s = "Nº ÇÃO ░■"_cp;
  static_assert(s.size() == 9);
  static_assert(s[1] == '\xA7' && s[3] == '\x80' && s[4] == '\xC7' && s[8] == '\xFE');
  EXPECT_EQ(""_cp, "");
  EXPECT_EQ("plain"_cp, "plain");
}

TEST(Cp850, FoldToAsciiKeepsLength) {
  EXPECT_EQ(cp850::fold_ascii("JOÃO DA CONCEIÇÃO, nº 5, 1ª"_cp), "JOAO DA CONCEICAO, no 5, 1a");
  EXPECT_EQ(cp850::fold_ascii("áéíóú àâêô ãõ ü ÁÉÍÓÚ"_cp), "aeiou aaeo ao u AEIOU");
  EXPECT_EQ(cp850::fold_ascii("┌─┐│└┘═║"_cp), "+-+|++=|");
  for (int b = 0; b < 256; ++b) {
    std::string in(1, static_cast<char>(b));
    std::string out = cp850::fold_ascii(in);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_LT(static_cast<unsigned char>(out[0]), 0x80) << b;
    if (b < 0x80) {
      EXPECT_EQ(out, in);
    }
  }
}

TEST(Cp850, UpperAndLowerOfAccentedLetters) {
  EXPECT_EQ(cp850::upper("joão conceição müller ñ"_cp), "JOÃO CONCEIÇÃO MÜLLER Ñ"_cp);
  EXPECT_EQ(cp850::lower("JOÃO CONCEIÇÃO ÊÔÕÁ"_cp), "joão conceição êôõá"_cp);
  EXPECT_EQ(cp850::upper("1º-ª ß ÿ"_cp), "1º-ª ß ÿ"_cp);  // no capital form in the code page
  // upper and lower are inverse on every letter pair and leave other bytes alone.
  for (int b = 0; b < 256; ++b) {
    auto c = static_cast<unsigned char>(b);
    unsigned char u = cp850::upper(c), l = cp850::lower(c);
    if (u != c) {
      EXPECT_EQ(cp850::lower(u), c) << b;
    }
    if (l != c) {
      EXPECT_EQ(cp850::upper(l), c) << b;
    }
    EXPECT_FALSE(u != c && l != c) << b;
  }
}

}  // namespace
}  // namespace kx
