// Numbers in the program's own notations.
#pragma once

#include <string_view>

#include "base/decimal.h"

namespace kx::ui {

// The value cut to `decimals` places after rounding at decimals + 2 (10.23999 -> 10.24, 10.23499
// -> 10.23); with mode other than 0 the rounded value at decimals + 2 places. A value that does
// not fit `width` characters (sign and point included) throws DecimalOverflow instead of turning
// into an unreadable field.
Decimal DESPREZA(const Decimal& value, int width, int decimals = 2, int mode = 0);

// a / b, or 0 when b is 0.
inline Decimal DIV(const Decimal& a, const Decimal& b) { return a / b; }

// A number read from Brazilian text: every "." dropped, the first "," is the decimal point
// ("1.234,56" -> 1234.56); read as far as it is a number ("12abc" -> 12); blank -> 0.
Decimal CAR_TO_VAL(std::string_view text);
inline Decimal CAR_TO_VAL(const Decimal& value) { return value; }

}  // namespace kx::ui
