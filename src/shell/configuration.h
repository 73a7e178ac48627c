// The terminal's configuration record (CONFIG), its colour record (CORES) and the shared
// settings record (DEFINE), copied into and out of the program's settings.
#pragma once

#include <string_view>
#include <vector>

#include "entry/session.h"
#include "shell/start_options.h"

namespace kx::shell {

inline constexpr int kConfigTable = 42;
inline constexpr int kSharedSettingsTable = 43;
inline constexpr int kColourTable = 56;

// CRIACOR: the colour record of NUSU (appended with the default colours when missing) copied
// into the colour settings; the table is closed afterwards. False when it cannot be opened.
bool CRIACOR(entry::Session& s);
// GRAVACOR: the colour settings written back to the record of NUSU (record lock).
bool GRAVACOR(entry::Session& s);

// CONFIGURA: opens the configuration table, appends the record of NUSU with the defaults of a
// new terminal when missing, and copies the record into the settings (folders stored in Windows
// form mapped through `drives`; LOCIRPF and the operator name derived). False when the table
// cannot be opened or the record not appended.
bool CONFIGURA(entry::Session& s, const DriveMap& drives);

// Writes the settings of the named fields into the record of NUSU under a record lock. False
// when the record is not there or its lock not obtained: nothing is stored then.
bool store_configuration(entry::Session& s, const std::vector<std::string_view>& fields);

// Opens the shared settings table (its single record appended when missing) and copies the
// record into the settings; the table stays open. False when it cannot be opened.
bool load_shared_settings(entry::Session& s);
// Writes the named shared settings under a record lock.
bool store_shared_settings(entry::Session& s, const std::vector<std::string_view>& fields);

// The fields ROTSAIDA stores at the end of a run.
const std::vector<std::string_view>& exit_fields();

}  // namespace kx::shell
