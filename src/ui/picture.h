// Picture masks: "@Ez 999,999,999.99", "@R 999.999.999-99", "@D", "@!s52", "@K".
//
// A mask has an optional function part ("@" and letters up to the first blank, any case and
// order) and a template (the rest after that blank; a mask without "@" is a template alone).
// Numbers are formatted exactly from their Decimal value, rounded half away from zero.
#pragma once

#include <string>
#include <string_view>

#include "base/date.h"
#include "base/decimal.h"

namespace kx::ui {

struct Picture {
  bool brazilian = false;  // E: "," and "." of the template swap in the display; dates d/m/y
  bool blank_zero = false;  // Z
  bool upper = false;       // !
  bool insert_literals = false;  // R
  bool date = false;        // D
  bool clear_first = false;  // K
  int scroll_width = 0;     // S n (0: none)
  std::string tmpl;         // the template (CP850)

  static Picture parse(std::string_view mask);

  // Template positions that take a character of the value.
  static bool is_placeholder(char t) { return t == '9' || t == '#' || t == 'X' || t == '!'; }
  // Whether template character `t` admits `c` where it is typed (numeric: the field holds a
  // number, where 9 and # also take a sign or a blank).
  static bool admits(char t, unsigned char c, bool numeric);
  // The number of decimals of a number template (placeholders after the first ".").
  int decimals() const;
};

// Display and print forms. A number wider than the template gives a row of "*" of the template's
// width. A date shows as dd/mm/yyyy (the program's one date format) whatever the template; the
// empty date as "  /  /    " (blanks under Z).
std::string format(const Picture& p, const Decimal& value);
std::string format(const Picture& p, Date value);
std::string format(const Picture& p, std::string_view text);  // CP850 in and out

// The mask text forms of the same.
inline std::string transform(const Decimal& v, std::string_view mask) {
  return format(Picture::parse(mask), v);
}
inline std::string transform(Date v, std::string_view mask) { return format(Picture::parse(mask), v); }
inline std::string transform(std::string_view v, std::string_view mask) {
  return format(Picture::parse(mask), v);
}

}  // namespace kx::ui
