#include "tax/rounding.h"

#include <string>

namespace kx::tax {

Decimal despreza(Decimal x, int width, int decimals) {
  const Decimal rounded = x.round(decimals + 2);
  // Characters left for the integer part: the width less the point, the decimals and the sign.
  const int integer_digits = width - (decimals + 2) - 1 - (rounded.negative() ? 1 : 0);
  const int64_t integer_part = rounded.abs().to_int();
  if (integer_digits < 1 || std::to_string(integer_part).size() > static_cast<size_t>(integer_digits))
    throw DecimalOverflow("amount " + rounded.str() + " does not fit " + std::to_string(width) +
                          " characters");
  return rounded.cut(decimals);
}

}  // namespace kx::tax
