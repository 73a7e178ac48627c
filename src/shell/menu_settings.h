// Storing settings at once in the terminal's configuration record (table 42, the record of
// NUSU) or in the shared settings record (table 43), under the record's lock.
#pragma once

#include <functional>

#include "dbf/table.h"
#include "entry/session.h"

namespace kx::shell {

inline constexpr int kConfigTable = 42, kDefineTable = 43;

// Opens `table` (kConfigTable or kDefineTable) when its slot is empty, and closes it again
// afterwards; positions on the record (the terminal's record is appended when missing), locks
// it, lets `write` set the fields, commits and unlocks. False, with nothing written, when the
// table cannot be opened or the lock is not obtained (the operator has been told).
bool store_settings(entry::Session& s, int table, const std::function<void(dbf::Table&)>& write);

}  // namespace kx::shell
