// The age of a taxpayer at the end of the base year and the birthday notice of the detail view.
#pragma once

#include <optional>
#include <string>

#include "base/date.h"

namespace kx::declaration {

struct Age {
  // Years and months at 31/12/2014 by calendar year and month; nullopt (shown blank) for an
  // empty birth date or one after that day.
  std::optional<int> years, months;
  std::string notice;      // CP850; empty when no birthday is near
  bool attention = false;  // today or tomorrow: shown in the attention colour
};

// DIZANOS. The notice is given when the birthday falls in today's month: today, tomorrow, or in
// 2 to 5 days (with this year's weekday). A birthday on 29/02 is kept on 28/02 in a year
// without that day.
Age DIZANOS(Date birth, Date today);

}  // namespace kx::declaration
