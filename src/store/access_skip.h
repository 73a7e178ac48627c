// The record walking of the list screens.
#pragma once

#include <cstdint>

#include "dbf/table.h"

namespace kx::store {

// Moves `wanted` records (negative: backwards) one at a time in the active order and returns
// the signed count moved. An empty table does not move; 0 reads the current record again.
// Forwards from the last record, `append_row` counts the blank row after it as one more
// position (the list's row for a new entry) and stops there; otherwise the table steps back to
// the last record. Forwards from the blank row nothing moves. Backwards it stops at the first
// record.
int64_t SKIPPED(dbf::Table& table, int64_t wanted, bool append_row);

}  // namespace kx::store
