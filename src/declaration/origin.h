// Where the values of a declaration being opened come from.
#pragma once

namespace kx::declaration {

enum class Origin {
  new_taxpayer,  // empty values with the defaults of a new declaration
  existing,      // the values of the registry and summary rows
};

}  // namespace kx::declaration
