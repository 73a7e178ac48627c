#include "base/cp850.h"

#include <algorithm>
#include <utility>

namespace kx::cp850 {
namespace {

using detail::kToUnicode;

// (code point, byte) of bytes 0x80-0xFF, sorted by code point, for from_unicode.
constexpr auto kFromUnicode = [] {
  std::array<std::pair<char32_t, unsigned char>, 128> m{};
  for (std::size_t b = 0x80; b < 0x100; ++b)
    m[b - 0x80] = {kToUnicode[b], static_cast<unsigned char>(b)};
  std::sort(m.begin(), m.end());
  return m;
}();

// ASCII stand-ins of bytes 0x80-0xFF, sixteen per row, in the order of the rows below.
constexpr std::string_view kFold =
    "CueaaaaceeeiiiAA"    // Ç ü é â ä à å ç ê ë è ï î ì Ä Å
    "EaAooouuyOUoLOxf"    // É æ Æ ô ö ò û ù ÿ Ö Ü ø £ Ø × ƒ
    "aiounNao?R-  !\"\""  // á í ó ú ñ Ñ ª º ¿ ® ¬ ½ ¼ ¡ « »
    "   |+AAAC+|++cY+"    // ░ ▒ ▓ │ ┤ Á Â À © ╣ ║ ╗ ╝ ¢ ¥ ┐
    "++++-+aA+++++=+ "    // └ ┴ ┬ ├ ─ ┼ ã Ã ╚ ╔ ╩ ╦ ╠ ═ ╬ ¤
    "dDEEEiIII++  |I "    // ð Ð Ê Ë È ı Í Î Ï ┘ ┌ █ ▄ ¦ Ì ▀
    "OsOOoOupPUUUyY-'"    // Ó ß Ô Ò õ Õ µ þ Þ Ú Û Ù ý Ý ¯ ´
    "-+_  S/,o\".132* ";  // soft hyphen ± ‗ ¾ ¶ § ÷ ¸ ° ¨ · ¹ ³ ² ■ no-break space
static_assert(kFold.size() == 128);

// Lower and upper case of the same letter.
constexpr std::pair<char32_t, char32_t> kCasePairs[] = {
    {U'ç', U'Ç'}, {U'ü', U'Ü'}, {U'é', U'É'}, {U'â', U'Â'}, {U'ä', U'Ä'}, {U'à', U'À'},
    {U'å', U'Å'}, {U'ê', U'Ê'}, {U'ë', U'Ë'}, {U'è', U'È'}, {U'ï', U'Ï'}, {U'î', U'Î'},
    {U'ì', U'Ì'}, {U'æ', U'Æ'}, {U'ô', U'Ô'}, {U'ö', U'Ö'}, {U'ò', U'Ò'}, {U'û', U'Û'},
    {U'ù', U'Ù'}, {U'ø', U'Ø'}, {U'á', U'Á'}, {U'í', U'Í'}, {U'ó', U'Ó'}, {U'ú', U'Ú'},
    {U'ñ', U'Ñ'}, {U'ã', U'Ã'}, {U'ð', U'Ð'}, {U'õ', U'Õ'}, {U'þ', U'Þ'}, {U'ý', U'Ý'},
};

struct CaseTables {
  std::array<unsigned char, 256> upper{}, lower{};
};

constexpr CaseTables kCase = [] {
  CaseTables t;
  for (int b = 0; b < 256; ++b) t.upper[b] = t.lower[b] = static_cast<unsigned char>(b);
  for (int c = 'a'; c <= 'z'; ++c) {
    t.upper[c] = static_cast<unsigned char>(c - 'a' + 'A');
    t.lower[c - 'a' + 'A'] = static_cast<unsigned char>(c);
  }
  for (auto [lo, up] : kCasePairs) {
    unsigned char l = detail::from_unicode_constexpr(lo), u = detail::from_unicode_constexpr(up);
    t.upper[l] = u;
    t.lower[u] = l;
  }
  return t;
}();

// Appends the UTF-8 form of a code point below U+10000.
void append_utf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Decodes one UTF-8 sequence at the start of `s`; returns its code point and length, or
// length 1 with a negative code point when it is malformed (bad lead, truncated, overlong,
// surrogate or beyond U+10FFFF).
std::pair<int32_t, std::size_t> decode_utf8(std::string_view s) {
  auto b0 = static_cast<unsigned char>(s[0]);
  if (b0 < 0x80) return {b0, 1};
  std::size_t len;
  char32_t cp, min;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    return {-1, 1};
  }
  if (s.size() < len) return {-1, 1};
  for (std::size_t i = 1; i < len; ++i) {
    auto b = static_cast<unsigned char>(s[i]);
    if ((b & 0xC0) != 0x80) return {-1, 1};
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {-1, 1};
  return {static_cast<int32_t>(cp), len};
}

}  // namespace

char32_t to_unicode(unsigned char byte) { return kToUnicode[byte]; }

unsigned char from_unicode(char32_t code_point, unsigned char fallback) {
  if (code_point < 0x80) return static_cast<unsigned char>(code_point);
  auto it = std::lower_bound(kFromUnicode.begin(), kFromUnicode.end(),
                             std::pair<char32_t, unsigned char>{code_point, 0});
  return it != kFromUnicode.end() && it->first == code_point ? it->second : fallback;
}

std::string to_utf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) append_utf8(out, kToUnicode[static_cast<unsigned char>(c)]);
  return out;
}

std::string from_utf8(std::string_view utf8, unsigned char fallback) {
  std::string out;
  out.reserve(utf8.size());
  while (!utf8.empty()) {
    auto [cp, len] = decode_utf8(utf8);
    out.push_back(static_cast<char>(cp < 0 ? fallback : from_unicode(static_cast<char32_t>(cp), fallback)));
    utf8.remove_prefix(len);
  }
  return out;
}

std::string fold_ascii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    auto b = static_cast<unsigned char>(c);
    if (b >= 0x80) c = kFold[b - 0x80];
  }
  return out;
}

unsigned char upper(unsigned char byte) { return kCase.upper[byte]; }
unsigned char lower(unsigned char byte) { return kCase.lower[byte]; }

std::string upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(kCase.upper[static_cast<unsigned char>(c)]);
  return out;
}

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(kCase.lower[static_cast<unsigned char>(c)]);
  return out;
}

}  // namespace kx::cp850
