#include "base/text.h"

#include <algorithm>

namespace kx::text {
namespace {

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string_view ltrim(std::string_view s) {
  while (!s.empty() && is_space(s.front())) s.remove_prefix(1);
  return s;
}

std::string_view rtrim(std::string_view s) {
  while (!s.empty() && is_space(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view trim(std::string_view s) { return rtrim(ltrim(s)); }

std::string pad_right(std::string_view s, std::size_t width, char fill) {
  std::string out(s.substr(0, width));
  out.resize(width, fill);
  return out;
}

std::string pad_left(std::string_view s, std::size_t width, char fill) {
  std::string_view cut = s.substr(0, width);
  return std::string(width - cut.size(), fill).append(cut);
}

bool iequals(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char x, char y) { return ascii_lower(x) == ascii_lower(y); });
}

std::vector<std::string_view> split(std::string_view s, char sep) {
  std::vector<std::string_view> parts;
  for (;;) {
    std::size_t at = s.find(sep);
    parts.push_back(s.substr(0, at));
    if (at == std::string_view::npos) return parts;
    s.remove_prefix(at + 1);
  }
}

bool is_blank(std::string_view s) { return std::all_of(s.begin(), s.end(), is_space); }

bool all_digits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace kx::text
