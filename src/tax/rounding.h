// The program's cut of tax amounts to centavos.
#pragma once

#include "base/decimal.h"

namespace kx::tax {

// DESPREZA: x rounded half away from zero at decimals + 2 places, then cut toward zero to
// `decimals` places. `width` is the width of the zero-filled form the value must fit (sign and
// point included, with decimals + 2 places); a value that does not fit throws DecimalOverflow.
// Widths in use: 12 annual tax, 14 monthly tax and donation limit, 15 quotas, conversions, RRA.
Decimal despreza(Decimal x, int width, int decimals = 2);

}  // namespace kx::tax
