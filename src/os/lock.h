// Byte-range locks on open files: Linux open-file-description locks (F_OFD_SETLK), so two opens
// of one file conflict even inside one process, as they do between processes.
//
// The lock scheme of a table file. Locks are advisory and far beyond any real file size, so they
// never stop plain reads or writes by other tools.
//
//   kOpenMode          1 byte   shared lock for the life of a shared open,
//                               exclusive lock for the life of an exclusive open
//   kAppend            1 byte   exclusive while a record is appended and the header count moved
//   kUpdate            1 byte   exclusive while a writer changes records and index files together;
//                               shared while a reader checks or walks an index file
//   kFile              1 byte   exclusive: whole-table lock (FIL_LOCK); record locks check it
//   kRecordBase + n    1 byte   exclusive: record n (1-based) locked (REC_LOCK)
//
// A whole-table lock is the byte kFile plus the whole record range, so it waits for every record
// lock and every record lock waits for it.
#pragma once

#include <cstdint>
#include <functional>

#include "base/clock.h"

namespace kx::os {

namespace lock_offset {
inline constexpr int64_t kBase = int64_t{1} << 40;
inline constexpr int64_t kOpenMode = kBase;
inline constexpr int64_t kAppend = kBase + 1;
inline constexpr int64_t kUpdate = kBase + 2;
inline constexpr int64_t kFile = kBase + 3;
inline constexpr int64_t kRecordBase = kBase + 16;
inline constexpr int64_t record(int64_t recno) { return kRecordBase + recno; }
}  // namespace lock_offset

enum class LockKind { shared, exclusive };

// One attempt, never blocks. true when the lock is now held. `length` 0 means "to the end of all
// offsets". Throws kx::os::Error on a failure other than a conflict.
bool try_lock(int fd, int64_t start, int64_t length, LockKind kind);
// Blocks until the lock is held.
void lock_wait(int fd, int64_t start, int64_t length, LockKind kind);
void unlock(int fd, int64_t start, int64_t length);

// Retries every `retry_ms` until held, `timeout_ms` is used up (0 = without limit) or `cancel`
// returns true (checked before each new attempt). Time is measured and slept through `clock`.
bool lock_with_timeout(int fd, int64_t start, int64_t length, LockKind kind, Clock& clock,
                       int64_t timeout_ms, int64_t retry_ms,
                       const std::function<bool()>& cancel = {});

}  // namespace kx::os
