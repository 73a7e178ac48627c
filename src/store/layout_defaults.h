// Records the program writes into a system table when it creates the table.
#pragma once

#include <string>

namespace kx::store {

// The single record of the shared settings table (43) with its initial values: the quota due
// dates of the year, the fee rates, the save intervals, the dollar rate and the compressor
// choice; every other field blank. Record bytes, deleted flag first.
std::string shared_settings_initial_record();

}  // namespace kx::store
