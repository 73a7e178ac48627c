// A DBF table as one open of its data file, with its memo file and up to three index files.
//
// Every Table is one open: two Tables on one file (in one process or in two) behave as two
// terminals do, because every lock is an open-file-description lock on the Table's own
// descriptor (os/lock.h). Reads see the writes of other opens: a record is read from the file
// whenever the table is positioned on it, and the header's record count is read again at the
// end of the table.
//
// Writes go through the current record's buffer: set_* change the buffer, commit() writes the
// record, its memo texts and every attached index together. Moving to another record, unlocking
// it or closing the table commits pending changes first. On a shared open every change needs the
// record lock of the current record or the file lock (set_* throw not_locked otherwise); an
// exclusive open needs no locks; a read-only open never writes anything (not even a repair).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/clock.h"
#include "base/date.h"
#include "base/decimal.h"
#include "dbf/schema.h"

namespace kx::dbf {

class TableError : public std::runtime_error {
 public:
  enum class Kind {
    not_found,    // no data file of that name (or no memo file for a table with memo fields)
    exists,       // create: a file of that name is already there
    in_use,       // another open holds the table in a conflicting mode
    damaged,      // header, size, memo or an interrupted pack that this open cannot mend
    read_only,    // a write through a read-only open
    not_locked,   // a change of a shared table without the record lock or the file lock
    exclusive,    // pack and zap need an exclusive open
    invalid,      // unknown field, record number out of range, key that does not fit, ...
    io,           // create or open failed in the operating system (later operations throw
                  // kx::os::Error for a failed read or write)
  };
  TableError(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
  Kind kind() const { return kind_; }

 private:
  Kind kind_;
};

enum class OpenMode {
  shared,     // other shared opens allowed; writes under record, file and append locks
  exclusive,  // no other open at all; writes are batched (see flush())
  read_only,  // shared with other opens, never writes: bad indexes are replaced in memory
};

struct OpenOptions {
  OpenMode mode = OpenMode::shared;
  // A data file shorter than its header's record count says is damage: open throws damaged,
  // unless `repair` is set on a writing open; then the count is lowered to the complete records
  // and repairs() says so.
  bool repair = false;
};

struct IndexSpec {
  std::string expr;  // key expression (dbf/expr.h)
  std::string file;  // index file: found without regard to case, built when missing or unusable
};

enum class SeekMode {
  exact,   // a key equal to the whole key given (padded to the key width)
  prefix,  // the first key that begins with the key given
  soft,    // as prefix; when none, the table stays on the next greater key (eof when none)
};

// A field named (any case) or given by position (0-based).
class FieldRef {
 public:
  FieldRef(std::string_view name) : name_(name) {}  // NOLINT: implicit on purpose
  FieldRef(const char* name) : name_(name) {}       // NOLINT
  FieldRef(const std::string& name) : name_(name) {}  // NOLINT
  FieldRef(int position) : position_(position) {}   // NOLINT
  std::string_view name() const { return name_; }
  int position() const { return position_; }

 private:
  std::string_view name_;
  int position_ = -1;
};

// How long a lock is awaited: `timeout_ms` 0 waits without limit; `cancel` (may be empty) is
// asked before every new attempt and gives up when it returns true. Time goes by the table's
// Clock.
struct LockWait {
  int64_t timeout_ms = 0;
  int64_t retry_ms = 500;
  std::function<bool()> cancel;
};

struct TableInfo {
  std::string path;
  std::string memo_path;  // empty without memo file
  int version = 0;        // first header byte: 0x03, 0xF5 (FPT memo), 0x83 (DBT memo), ...
  int code_page = 0;      // language driver byte (0x02 = CP850)
  Date last_update;
  uint32_t record_count = 0;
  int header_length = 0;
  int record_length = 0;
  std::vector<Field> fields;
  struct Index {
    std::string file;  // empty for a temporary index
    std::string expr;
    bool active = false;
  };
  std::vector<Index> indexes;
};

class Table {
 public:
  using Filter = std::function<bool(const RecordView&)>;

  // Writes a new empty table, and its empty FPT memo file when the schema has memo fields.
  // Throws TableError exists when a data file of that name (in any case) is already there: the
  // data file is made only when none exists, so no table is ever overwritten.
  static void create(const std::string& path, const Schema& schema);

  // Opens an existing data file found without regard to case, taking the open-mode lock.
  // Finishes an interrupted pack and trims bytes a killed append left after the counted
  // records (writing opens only; see repairs()).
  static Table open(const std::string& path, OpenOptions options, Clock& clock);
  // As open(), but nullopt instead of TableError in_use (for waiting loops).
  static std::optional<Table> try_open(const std::string& path, OpenOptions options,
                                       Clock& clock);

  Table(Table&&) noexcept;
  Table& operator=(Table&&) noexcept;
  ~Table();  // closes; a failure of the final write is lost there: call close() to see it
  // Commits pending changes, writes a batched header and index state, puts what this open wrote
  // on the disk, releases every lock.
  void close();

  const std::string& path() const;  // the data file as found
  const Schema& schema() const;
  OpenMode mode() const;
  Clock& clock() const;  // the clock given to open()
  // What open mended, one sentence each (empty when nothing was wrong).
  const std::vector<std::string>& repairs() const;
  TableInfo info();

  // ---- Index files and orders ------------------------------------------------------------
  // Attaches index files in the order given (order 1, 2, 3) and makes order 1 active. Each file
  // is checked against the data file and rebuilt when missing, foreign, damaged, for another
  // expression or stale; on a read-only open an unusable file is left alone and a temporary
  // index takes its place. Replaces indexes attached before. Throws ExprError (dbf/expr.h) on
  // a bad expression.
  void attach_indexes(const std::vector<IndexSpec>& specs);
  // An index kept in memory only, for this open (working copies, read-only tables). Added after
  // the attached ones and made active; returns its order number.
  int add_temporary_index(std::string_view expr);
  int index_count() const;
  // 0 = record order, 1..index_count(). Keeps the current record.
  void set_order(int order);
  int order() const;
  // Rebuilds every attached index file from the data (shared opens hold the update lock).
  void reindex();

  // ---- Navigation -----------------------------------------------------------------------
  // All movements skip deleted records (unless set_deleted_visible(true)) and records the
  // filter refuses, in the active order.
  void go_top();
  void go_bottom();
  void skip(int64_t n = 1);
  // Positions on record `recno` (1..record_count()) whatever the filter says; a number beyond
  // the count positions at the end (eof).
  void go_to(uint32_t recno);
  bool eof() const;
  bool bof() const;
  // The current record number; record_count() + 1 at the end.
  uint32_t recno() const;
  // The header's count, read from the file on shared and read-only opens.
  uint32_t record_count();
  void set_deleted_visible(bool visible);
  void set_filter(Filter filter);  // empty: no filter

  // Seeks `key` in the active index (order >= 1). The key is text as a person types it and is
  // turned into a key by the index expression (KeyExpr::key_from_text). Returns found(); when
  // not found the table is at the end, except in soft mode.
  bool seek(std::string_view key, SeekMode mode = SeekMode::exact);
  // As seek() with a key already in the index's own form (KeyExpr::eval of a record).
  bool seek_raw(std::string_view key, SeekMode mode = SeekMode::exact);
  bool found() const;

  // Visits the visible records in record order, reading the file in large blocks (each block
  // as it was when read). The visitor returns false to stop. The current record is unchanged.
  void scan(const std::function<bool(uint32_t recno, const RecordView&)>& visit);

  // ---- Reading the current record ---------------------------------------------------------
  // The current record's bytes (pending changes included); a blank record at the end.
  RecordView record() const;
  bool deleted() const;
  const Field& field(FieldRef ref) const;  // throws invalid on an unknown field
  std::string get_text(FieldRef f) const;  // C: stored bytes with their padding (CP850)
  Decimal get_number(FieldRef f) const;
  Date get_date(FieldRef f) const;
  bool get_logical(FieldRef f) const;
  std::string get_memo(FieldRef f) const;  // CP850 text; "" when the field is blank

  // ---- Changing data ---------------------------------------------------------------------
  // Into the current record's buffer. Throw FieldOverflow (dbf/schema.h) when the value does
  // not fit, invalid on a type mismatch or at the end of the table.
  void set_text(FieldRef f, std::string_view cp850);  // cut or padded to the width
  void set_number(FieldRef f, Decimal value);         // rounded half away to the decimals
  void set_date(FieldRef f, Date value);
  void set_logical(FieldRef f, bool value);
  void set_memo(FieldRef f, std::string_view cp850);
  // Writes pending changes of the current record (nothing when there are none).
  void commit();
  bool pending() const;

  // A blank record (deleted flag ' ', every field blank) to fill with put_* of dbf/schema.h.
  std::string blank_record() const;
  // Appends a blank record, or the given record bytes (record_length() bytes), and makes it
  // current; returns its number. A shared open waits for the append lock and the new record's
  // lock as `wait` says (0 when not obtained), appends, and leaves the new record locked by this
  // open. An exclusive open writes a blank record when it is committed.
  uint32_t append_blank(const LockWait& wait = {});
  uint32_t append(std::string_view record_bytes, const LockWait& wait = {});
  // Mark and unmark the current record deleted (written at once, same locking as commit()).
  void delete_record();
  void recall();
  // Exclusive opens: remove deleted records / every record, through new files and renames;
  // memo compacted; attached indexes rebuilt. The table is at the top afterwards.
  void pack();
  void zap();
  // Exclusive opens batch the header count and the index change marks; flush() writes them and
  // flushes the files to disk. Other opens write at once, every other process sees the change as
  // soon as it returns, and a process killed at any instant leaves the files consistent; flush()
  // (and close(), when this open changed anything) waits until the disk has them too.
  void flush();

  // ---- Locks ----------------------------------------------------------------------------
  // One attempt; true when held. After a record lock is obtained the record is read again
  // from the file. Exclusive opens always hold every lock; read-only opens never do.
  bool try_lock_record(uint32_t recno);
  bool lock_record(uint32_t recno, const LockWait& wait);
  void unlock_record(uint32_t recno);
  bool record_locked(uint32_t recno) const;
  // The whole table: waits for every record lock of other opens.
  bool try_lock_file();
  bool lock_file(const LockWait& wait);
  void unlock_file();
  bool file_locked() const;
  // Commits pending changes and releases record and file locks.
  void unlock_all();

  // ---- Checking -------------------------------------------------------------------------
  // Every inconsistency found, one sentence each: header against file size, record count, end
  // mark, field descriptors, memo blocks referenced, every attached index file against the
  // data (structure and every key). Empty when everything agrees. Changes nothing.
  std::vector<std::string> check();

  class Impl;

 private:
  explicit Table(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace kx::dbf
