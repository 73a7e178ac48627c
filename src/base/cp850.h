// Code page 850: the one-byte text of the tables and the screen.
// Text is held as CP850 bytes in std::string; conversion happens only at the edges.
#pragma once

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
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
constexpr unsigned char from_unicode_constexpr(char32_t cp) {
  if (cp < 0x80) return static_cast<unsigned char>(cp);
  for (std::size_t b = 0x80; b < kToUnicode.size(); ++b)
    if (kToUnicode[b] == cp) return static_cast<unsigned char>(b);
  throw std::invalid_argument("character outside code page 850");
}

// The CP850 text of the UTF-8 bytes C..., converted at compile time (throws in a constant
// expression, i.e. fails to compile, on malformed UTF-8 or characters outside CP850).
template <char... C>
struct Converted {
  static constexpr auto make() {
    const char utf8[] = {C..., '\0'};
    std::array<char, sizeof...(C) + 1> out{};
    std::size_t n = 0;
    for (std::size_t i = 0; i < sizeof...(C);) {
      auto b = static_cast<unsigned char>(utf8[i]);
      std::size_t len = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : 4;
      char32_t cp = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
      if (i + len > sizeof...(C)) throw std::invalid_argument("malformed UTF-8");
      for (std::size_t k = 1; k < len; ++k) {
        auto c = static_cast<unsigned char>(utf8[i + k]);
        if ((c & 0xC0) != 0x80) throw std::invalid_argument("malformed UTF-8");
        cp = (cp << 6) | (c & 0x3F);
      }
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
// "Atenção"_cp is the CP850 text of the literal, converted at compile time. The literal takes
// its characters as a template pack (a GNU extension that GCC and Clang share): the standard
// class-type form crashes Clang 14, the compiler of the fuzzing build.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"
#if defined(__clang__)
#pragma clang diagnostic ignored "-Wgnu-string-literal-operator-template"
#endif
template <typename Char, Char... C>
constexpr std::string_view operator""_cp() {
  static_assert(std::is_same_v<Char, char>, "_cp takes a plain (UTF-8) string literal");
  return cp850::detail::Converted<C...>::view;
}
#pragma GCC diagnostic pop
}  // namespace kx
