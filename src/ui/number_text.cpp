#include "ui/number_text.h"

#include <string>

#include "base/text.h"

namespace kx::ui {

Decimal DESPREZA(const Decimal& value, int width, int decimals, int mode) {
  Decimal rounded = value.round(decimals + 2).with_scale(decimals + 2);
  if (static_cast<int>(rounded.str().size()) > width) {
    throw DecimalOverflow("DESPREZA: " + value.str() + " does not fit " + std::to_string(width) +
                          " characters");
  }
  return mode == 0 ? rounded.cut(decimals).with_scale(decimals) : rounded;
}

Decimal CAR_TO_VAL(std::string_view text) {
  std::string s;
  bool comma_seen = false;
  for (char c : text::trim(text)) {
    if (c == '.') continue;
    if (c == ',' && !comma_seen) {
      comma_seen = true;
      s += '.';
      continue;
    }
    s += c;
  }
  // The longest leading part that reads as a number.
  std::size_t end = 0;
  if (end < s.size() && (s[end] == '-' || s[end] == '+')) ++end;
  while (end < s.size() && s[end] >= '0' && s[end] <= '9') ++end;
  if (end < s.size() && s[end] == '.') {
    ++end;
    while (end < s.size() && s[end] >= '0' && s[end] <= '9') ++end;
  }
  std::string number = s.substr(0, end);
  if (number.empty() || number == "-" || number == "+" || number == "." || number == "-." ||
      number == "+.") {
    return Decimal{};
  }
  if (number[0] == '+') number.erase(0, 1);
  if (number.back() == '.') number.pop_back();
  auto v = Decimal::parse(number);
  return v ? *v : Decimal{};
}

}  // namespace kx::ui
