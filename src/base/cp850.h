// Code page 850: the one-byte text of the tables and the screen.
// Text is held as CP850 bytes in std::string; conversion happens only at the edges.
#pragma once

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "base/cp850_table.h"

namespace kx::cp850 {

// Unicode code point of a CP850 byte (0x00-0x1F and 0x7F map to themselves).
char32_t to_unicode(unsigned char byte);
// CP850 byte of a code point; `fallback` when it has none.
unsigned char from_unicode(char32_t code_point, unsigned char fallback = '?');

std::string to_utf8(std::string_view text);
// Malformed UTF-8 and characters outside CP850 become `fallback`.
std::string from_utf8(std::string_view utf8, unsigned char fallback = '?');

// Plain ASCII: accented letters lose their accents ("Ç" -> "C", "ã" -> "a"), "º"/"ª" -> "o"/"a",
// box-drawing and other symbols become the nearest ASCII character or a blank. Same length.
std::string fold_ascii(std::string_view text);

// xBase UPPER/LOWER for CP850 letters, accented ones included ("ç" <-> "Ç", "ã" <-> "Ã").
unsigned char upper(unsigned char byte);
unsigned char lower(unsigned char byte);
std::string upper(std::string_view text);
std::string lower(std::string_view text);

namespace detail {
// Converts a UTF-8 string literal to CP850 at compile time (throws in a constant expression, i.e.
// fails to compile, on characters outside CP850).
template <std::size_t N>
struct Utf8Literal {
  char text[N]{};
  constexpr Utf8Literal(const char (&s)[N]) {  // NOLINT: implicit on purpose
    for (std::size_t i = 0; i < N; ++i) text[i] = s[i];
  }
};
constexpr unsigned char from_unicode_constexpr(char32_t cp) {
  if (cp < 0x80) return static_cast<unsigned char>(cp);
  for (std::size_t b = 0x80; b < kToUnicode.size(); ++b)
    if (kToUnicode[b] == cp) return static_cast<unsigned char>(b);
  throw std::invalid_argument("character outside code page 850");
}
template <Utf8Literal L>
struct Converted {
  static constexpr auto make() {
    std::array<char, sizeof(L.text)> out{};
    std::size_t n = 0;
    for (std::size_t i = 0; i + 1 < sizeof(L.text);) {
      auto b = static_cast<unsigned char>(L.text[i]);
      char32_t cp;
      int len = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : 4;
      cp = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
      for (int k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(L.text[i + k]) & 0x3F);
      i += len;
      out[n++] = static_cast<char>(from_unicode_constexpr(cp));
    }
    return std::pair{out, n};
  }
  static constexpr auto data = make();
  static constexpr std::string_view view{data.first.data(), data.second};
};
}  // namespace detail

}  // namespace kx::cp850

namespace kx {
// "Atenção"_cp is the CP850 text of the literal, converted at compile time.
template <cp850::detail::Utf8Literal L>
constexpr std::string_view operator""_cp() {
  return cp850::detail::Converted<L>::view;
}
}  // namespace kx
