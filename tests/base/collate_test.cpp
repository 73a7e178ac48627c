#include "base/collate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "base/cp850.h"

namespace kx {
namespace {

std::vector<std::string> sorted(std::vector<std::string_view> names) {
  std::vector<std::string> v(names.begin(), names.end());
  std::sort(v.begin(), v.end(), collate::less);
  return v;
}

std::vector<std::string> cp(std::vector<std::string_view> names) {
  return {names.begin(), names.end()};
}

TEST(Collate, PortugueseNamesSortWithTheirPlainLetters) {
  auto v = sorted({"ALVES"_cp, "ÁLVARO"_cp, "ALVARO"_cp, "BRUNO"_cp, "ÇA"_cp, "CA"_cp, "CB"_cp,
                   "CAZ"_cp, "ÉRICA"_cp, "EDUARDO"_cp, "ESTÊVÃO"_cp, "ESTEVAO"_cp, "ZÉ"_cp,
                   "OTÁVIO"_cp, "ÓTICA"_cp});
  EXPECT_EQ(v, cp({"ALVARO"_cp, "ÁLVARO"_cp, "ALVES"_cp, "BRUNO"_cp, "CA"_cp, "ÇA"_cp, "CAZ"_cp,
                   "CB"_cp, "EDUARDO"_cp, "ÉRICA"_cp, "ESTEVAO"_cp, "ESTÊVÃO"_cp, "OTÁVIO"_cp,
                   "ÓTICA"_cp, "ZÉ"_cp}));
}

TEST(Collate, BlanksThenSymbolsThenDigitsThenLetters) {
  auto v = sorted({"A"_cp, "a"_cp, "B"_cp, "9"_cp, "0"_cp, "-"_cp, "~"_cp, "░"_cp, " "_cp, "á"_cp,
                   "Á"_cp, "b"_cp, "Z"_cp, "z"_cp, "ç"_cp, "Ç"_cp, "c"_cp, "C"_cp});
  EXPECT_EQ(v, cp({" "_cp, "-"_cp, "~"_cp, "░"_cp, "0"_cp, "9"_cp, "A"_cp, "Á"_cp, "a"_cp, "á"_cp,
                   "B"_cp, "b"_cp, "C"_cp, "Ç"_cp, "c"_cp, "ç"_cp, "Z"_cp, "z"_cp}));
  // Padded keys: a blank sorts before any letter.
  EXPECT_LT(collate::compare("SILVA     ", "SILVA JOSE"), 0);
  EXPECT_LT(collate::compare("SILVA JOSE", "SILVAJOSE"), 0);
}

TEST(Collate, PrefixFirstAndTiesByBytes) {
  EXPECT_LT(collate::compare("SIL", "SILVA"), 0);
  EXPECT_GT(collate::compare("SILVA", "SIL"), 0);
  EXPECT_LT(collate::compare("", "A"), 0);
  EXPECT_EQ(collate::compare("", ""), 0);
  EXPECT_EQ(collate::compare("JOÃO"_cp, "JOÃO"_cp), 0);
  // Same weights: never equal unless the bytes are.
  EXPECT_NE(collate::compare("JOÃO"_cp, "JOAO"_cp), 0);
  EXPECT_EQ(collate::weight(cp850::from_unicode(U'Ã')), collate::weight('A'));
  EXPECT_EQ(collate::weight(cp850::from_unicode(U'ç')), collate::weight('c'));
  EXPECT_LT(collate::weight('A'), collate::weight('a'));
  EXPECT_LT(collate::weight('a'), collate::weight('B'));
  // A difference in weight decides before an earlier accent-only difference.
  EXPECT_LT(collate::compare("JOÃOA"_cp, "JOAOB"_cp), 0);
  EXPECT_GT(collate::compare("JOAOB"_cp, "JOÃOA"_cp), 0);
}

TEST(Collate, EveryByteHasItsOwnPlace) {
  std::vector<std::string> all;
  for (int b = 0; b < 256; ++b) all.emplace_back(1, static_cast<char>(b));
  for (const auto& a : all)
    for (const auto& b : all) {
      int ab = collate::compare(a, b), ba = collate::compare(b, a);
      ASSERT_EQ(ab == 0, a == b);
      ASSERT_EQ(ab < 0, ba > 0);
    }
}

// Short texts over letters that differ only by accent or case, blanks and digits.
std::vector<std::string> random_texts() {
  const std::string alphabet = std::string("AÁaáCÇcç 1"_cp);
  std::mt19937 rng(850);
  std::set<std::string> texts;
  while (texts.size() < 400) {
    std::string t(rng() % 5, ' ');
    for (char& c : t) c = alphabet[rng() % alphabet.size()];
    texts.insert(t);
  }
  std::vector<std::string> v(texts.begin(), texts.end());
  std::sort(v.begin(), v.end(), collate::less);
  return v;
}

TEST(Collate, OrderIsTotalAndTransitive) {
  auto v = random_texts();
  for (std::size_t i = 0; i < v.size(); ++i)
    for (std::size_t j = i + 1; j < v.size(); ++j) {
      ASSERT_LT(collate::compare(v[i], v[j]), 0) << i << " " << j;
      ASSERT_GT(collate::compare(v[j], v[i]), 0) << i << " " << j;
    }
}

TEST(Collate, TextsStartingWithTheSameWeightsAreOneRun) {
  // A seek by a prefix relies on this: every text whose first letters weigh as the prefix's
  // lies in one unbroken run of the sorted order.
  auto v = random_texts();
  auto weighs_as = [](std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
      if (collate::weight(text[i]) != collate::weight(prefix[i])) return false;
    return true;
  };
  for (const auto& prefix : v) {
    auto first = std::find_if(v.begin(), v.end(), [&](auto& t) { return weighs_as(t, prefix); });
    auto end = std::find_if_not(first, v.end(), [&](auto& t) { return weighs_as(t, prefix); });
    ASSERT_TRUE(std::none_of(end, v.end(), [&](auto& t) { return weighs_as(t, prefix); }))
        << "prefix \"" << cp850::to_utf8(prefix) << "\"";
  }
}

}  // namespace
}  // namespace kx
