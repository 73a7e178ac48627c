#include "ui/picture.h"

#include <cctype>

#include "base/cp850.h"

namespace kx::ui {

Picture Picture::parse(std::string_view mask) {
  Picture p;
  if (mask.empty() || mask[0] != '@') {
    p.tmpl = std::string(mask);
    return p;
  }
  auto blank = mask.find(' ');
  std::string_view functions = mask.substr(1, blank == std::string_view::npos ? mask.npos : blank - 1);
  if (blank != std::string_view::npos) p.tmpl = std::string(mask.substr(blank + 1));
  for (std::size_t i = 0; i < functions.size(); ++i) {
    switch (std::toupper(static_cast<unsigned char>(functions[i]))) {
      case 'E': p.brazilian = true; break;
      case 'Z': p.blank_zero = true; break;
      case '!': p.upper = true; break;
      case 'R': p.insert_literals = true; break;
      case 'D': p.date = true; break;
      case 'K': p.clear_first = true; break;
      case 'S': {
        int n = 0;
        while (i + 1 < functions.size() && std::isdigit(static_cast<unsigned char>(functions[i + 1]))) {
          n = n * 10 + (functions[++i] - '0');
          if (n > 1000) n = 1000;
        }
        p.scroll_width = n;
        break;
      }
      default: break;
    }
  }
  return p;
}

bool Picture::admits(char t, unsigned char c, bool numeric) {
  switch (t) {
    case '9':
      return std::isdigit(c) || (numeric && (c == '-' || c == '+'));
    case '#':
      return std::isdigit(c) || c == '-' || c == '+' || c == ' ';
    case 'X':
    case '!':
      return c >= 32;
    default:
      return false;
  }
}

int Picture::decimals() const {
  auto point = tmpl.find('.');
  if (point == std::string::npos) return 0;
  int n = 0;
  for (std::size_t i = point + 1; i < tmpl.size(); ++i) {
    if (tmpl[i] == '9' || tmpl[i] == '#') ++n;
  }
  return n;
}

namespace {

bool is_digit_slot(char t) { return t == '9' || t == '#'; }

std::string swap_separators(std::string s) {
  for (char& c : s) {
    if (c == ',') c = '.';
    else if (c == '.') c = ',';
  }
  return s;
}

}  // namespace

std::string format(const Picture& p, const Decimal& value) {
  if (p.tmpl.empty()) {
    if (p.blank_zero && value.is_zero()) return std::string(value.str().size(), ' ');
    std::string s = value.str();
    return p.brazilian ? swap_separators(s) : s;
  }
  const std::string& t = p.tmpl;
  const int decimals = p.decimals();
  Decimal v;
  try {
    v = value.with_scale(decimals);
  } catch (const DecimalOverflow&) {
    return std::string(t.size(), '*');
  }
  if (p.blank_zero && v.is_zero()) return std::string(t.size(), ' ');

  // Digits of |v|: integer part and exactly `decimals` fraction digits.
  std::string digits = v.abs().str(decimals);
  std::string int_digits = digits, frac_digits;
  if (auto dot = digits.find('.'); dot != std::string::npos) {
    int_digits = digits.substr(0, dot);
    frac_digits = digits.substr(dot + 1);
  }
  const bool negative = v.negative();

  std::string out(t.size(), ' ');
  const auto point = t.find('.');
  const std::size_t int_end = point == std::string::npos ? t.size() : point;

  // Fraction: left to right after the point.
  std::size_t f = 0;
  for (std::size_t i = int_end; i < t.size(); ++i) {
    if (i == point) out[i] = '.';
    else if (is_digit_slot(t[i])) out[i] = f < frac_digits.size() ? frac_digits[f++] : '0';
    else out[i] = t[i];
  }

  // Integer part: right to left. A leading "0" alone is dropped when there is no slot for it.
  int slots = 0;
  for (std::size_t i = 0; i < int_end; ++i) slots += is_digit_slot(t[i]);
  if (int_digits == "0" && slots == 0) int_digits.clear();
  if (static_cast<int>(int_digits.size()) + (negative ? 1 : 0) > slots) {
    // A "-" may also take the place of an unused separator just before the first digit.
    bool fits = static_cast<int>(int_digits.size()) <= slots;
    if (fits && negative) {
      int used = 0;
      std::size_t i = int_end;
      while (i > 0 && used < static_cast<int>(int_digits.size())) used += is_digit_slot(t[--i]);
      fits = i > 0 && t[i - 1] == ',';
    }
    if (!fits) return std::string(t.size(), '*');
  }
  int d = static_cast<int>(int_digits.size()) - 1;
  std::size_t first_digit = int_end;
  for (std::size_t i = int_end; i-- > 0;) {
    char tc = t[i];
    if (is_digit_slot(tc)) {
      if (d >= 0) {
        out[i] = int_digits[static_cast<std::size_t>(d--)];
        first_digit = i;
      }
    } else if (tc == ',') {
      out[i] = d >= 0 ? ',' : ' ';
    } else {
      out[i] = tc;
    }
  }
  if (negative) {
    // Just before the first digit: the nearest slot or unused separator to its left.
    for (std::size_t i = first_digit; i-- > 0;) {
      if (is_digit_slot(t[i]) || t[i] == ',') {
        out[i] = '-';
        break;
      }
    }
  }
  return p.brazilian ? swap_separators(out) : out;
}

std::string format(const Picture& p, Date value) {
  if (value.empty()) return p.blank_zero ? std::string(10, ' ') : value.dmy();
  return value.dmy();
}

std::string format(const Picture& p, std::string_view text) {
  std::string value = p.upper ? cp850::upper(text) : std::string(text);
  if (p.tmpl.empty()) {
    if (p.blank_zero && value.find_first_not_of(' ') == std::string::npos) {
      return std::string(value.size(), ' ');
    }
    return value;
  }
  std::string out;
  out.reserve(p.tmpl.size());
  std::size_t v = 0;
  for (char t : p.tmpl) {
    if (Picture::is_placeholder(t)) {
      unsigned char c = v < value.size() ? static_cast<unsigned char>(value[v]) : ' ';
      ++v;
      out += static_cast<char>(t == '!' ? cp850::upper(c) : c);
    } else {
      out += t;
      // Without R a literal takes the place of the value's character there.
      if (!p.insert_literals) ++v;
    }
  }
  if (p.blank_zero && value.find_first_not_of(' ') == std::string::npos) {
    return std::string(out.size(), ' ');
  }
  return out;
}

}  // namespace kx::ui
