#include "base/collate.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "base/cp850.h"

namespace kx::collate {
namespace {

// Every form of each letter, capitals first: the letters in alphabetical order, each class of
// capitals just before the class of the same small letter.
constexpr std::u32string_view kLetters[] = {
    U"AÁÀÂÃÄÅÆ", U"aáàâãäåæª", U"B", U"b", U"CÇ", U"cç", U"DÐ", U"dð", U"EÉÈÊË", U"eéèêë",
    U"F", U"f", U"G", U"g", U"H", U"h", U"IÍÌÎÏ", U"iíìîïı", U"J", U"j", U"K", U"k", U"L", U"l",
    U"M", U"m", U"NÑ", U"nñ", U"OÓÒÔÕÖØ", U"oóòôõöøº", U"P", U"p", U"Q", U"q", U"R", U"r",
    U"S", U"sß", U"T", U"t", U"UÚÙÛÜ", U"uúùûü", U"V", U"v", U"W", U"w", U"X", U"x",
    U"YÝ", U"yýÿ", U"Z", U"z", U"Þ", U"þ",
};

constexpr std::u32string_view kDigits[] = {
    U"0", U"1¹", U"2²", U"3³", U"4", U"5", U"6", U"7", U"8", U"9",
};

// Weights in rising order: control bytes (each its own), the blanks (space and no-break space),
// punctuation and symbols (each its own, in byte order), digits, letters.
constexpr std::array<unsigned char, 256> kWeight = [] {
  std::array<int, 256> w{};
  w.fill(-1);
  int next = 0;
  for (int b = 0; b < 0x20; ++b) w[b] = next++;
  w[' '] = w[0xFF] = next++;
  // Digits and letters are marked now and weighed after the symbols.
  for (auto cls : kDigits)
    for (char32_t c : cls) w[cp850::detail::from_unicode_constexpr(c)] = -2;
  for (auto cls : kLetters)
    for (char32_t c : cls) w[cp850::detail::from_unicode_constexpr(c)] = -2;
  for (int b = 0x21; b < 0x100; ++b)
    if (w[b] == -1) w[b] = next++;
  for (auto cls : kDigits) {
    for (char32_t c : cls) w[cp850::detail::from_unicode_constexpr(c)] = next;
    ++next;
  }
  for (auto cls : kLetters) {
    for (char32_t c : cls) w[cp850::detail::from_unicode_constexpr(c)] = next;
    ++next;
  }
  if (next > 256) throw "too many weights";
  std::array<unsigned char, 256> out{};
  for (int b = 0; b < 256; ++b) {
    if (w[b] < 0) throw "byte without a weight";
    out[b] = static_cast<unsigned char>(w[b]);
  }
  return out;
}();

}  // namespace

unsigned char weight(unsigned char byte) { return kWeight[byte]; }

int compare(std::string_view a, std::string_view b) {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  const auto* pa = reinterpret_cast<const unsigned char*>(a.data());
  const auto* pb = reinterpret_cast<const unsigned char*>(b.data());
  // Identical bytes weigh the same: skip the common prefix, eight bytes at a time.
  std::size_t first = 0;
  for (uint64_t x, y; first + 8 <= n; first += 8) {
    std::memcpy(&x, pa + first, 8);
    std::memcpy(&y, pb + first, 8);
    if (x != y) break;
  }
  while (first < n && pa[first] == pb[first]) ++first;
  for (std::size_t i = first; i < n; ++i) {
    if (pa[i] != pb[i]) {
      int d = kWeight[pa[i]] - kWeight[pb[i]];
      if (d != 0) return d;
    }
  }
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  // Equal weights all along: the first differing byte decides (e.g. "ALVARO" before "ÁLVARO").
  if (first == n) return 0;
  return pa[first] < pb[first] ? -1 : 1;
}

}  // namespace kx::collate
