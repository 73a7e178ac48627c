// A value of an entry field or a setting: text (CP850), number, date or logical.
#pragma once

#include <string>
#include <variant>

#include "base/date.h"
#include "base/decimal.h"

namespace kx::ui {

using Value = std::variant<std::string, Decimal, Date, bool>;

}  // namespace kx::ui
