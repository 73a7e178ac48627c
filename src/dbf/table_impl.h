// The state of one open table, shared by the table_*.cpp files. Not part of the public API.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "dbf/dbf_header.h"
#include "dbf/key_order.h"
#include "dbf/memo_file.h"
#include "dbf/table.h"
#include "os/file.h"
#include "os/lock.h"

namespace kx::dbf {

struct Table::Impl {
  Impl(Clock& c, OpenOptions o) : clock(&c), options(o) {}

  Clock* clock;
  OpenOptions options;
  std::string path;
  os::File data;
  DbfHeader header;  // record_count: as last read (shared) or as owned (exclusive)
  std::unique_ptr<MemoFile> memo;
  std::vector<std::unique_ptr<KeyOrder>> orders;  // attached files first, then temporary ones
  int active = 0;                                 // 0 = record order
  std::vector<std::string> repairs;

  // Position and the current record.
  uint32_t recno = 1;  // record_count + 1 at the end
  bool at_eof = true, at_bof = false, was_found = false;
  std::optional<KeyOrder::Position> ipos;  // in the active order, when on a record
  std::string buf;                         // current bytes, pending changes included
  std::string original;                    // the bytes as in the file (blank for a new record)
  bool dirty = false;
  bool is_new = false;                 // an exclusive append not yet written
  std::map<int, std::string> memos;    // pending memo texts by field position

  bool deleted_visible = false;
  Filter filter;
  std::set<uint32_t> record_locks;
  bool file_lock = false;

  // Exclusive batching: index files marked unfinished / header count not yet written.
  bool changing = false;
  bool header_dirty = false;
  int update_depth = 0;  // nesting of UpdateLock
  // Shared opens: changes written that the disk may not have yet (see sync_files).
  bool unsynced = false;

  bool exclusive() const { return options.mode == OpenMode::exclusive; }
  bool read_only() const { return options.mode == OpenMode::read_only; }
  bool shared() const { return options.mode == OpenMode::shared; }
  int fd() const { return data.fd(); }

  // ---- table.cpp ----
  bool open_file(const std::string& found);  // false when the open-mode lock is held elsewhere
  void read_header();
  void check_size();
  std::string short_text();  // the message of a file shorter than its count
  void open_memo();
  uint32_t count();  // the header's count, read again unless exclusive
  DataSignature signature();
  std::string blank() const;
  std::string read_record(uint32_t r);  // caller holds the update lock (shared opens)
  void write_date_and_count(uint32_t n);
  void require_writable(const char* what) const;
  void require_locked() const;
  const Field& field(FieldRef ref) const;

  // ---- table_nav.cpp ----
  bool visible(std::string_view bytes) const;
  void load(uint32_t r, std::string bytes);
  void set_eof();
  KeyOrder& order() { return *orders[active - 1]; }
  // Runs an index walk under the update lock; an order found inconsistent is rebuilt and the
  // walk run once more.
  void walk(const std::function<void()>& fn);
  // The first visible entry from `p` on, forward or backward; positions the table on it.
  bool settle(std::optional<KeyOrder::Position> p, bool forward);
  // The memo text a record refers to in field `f` ("" when blank).
  std::string memo_text(const Field& f, std::string_view record) const;
  void read_blocks(uint32_t first, uint32_t last,
                   const std::function<bool(uint32_t, std::string_view)>& fn);

  // ---- table_write.cpp ----
  void commit();
  void begin_batch();
  void end_batch();
  void write_current();
  // Waits until the data, memo and index files written so far are on the disk.
  void sync_files();
  uint32_t append_shared(std::string bytes, const LockWait& wait);

  // ---- table_index.cpp ----
  std::vector<KeyOrder::Entry> collect(const KeyExpr& expr);
  // The keys of every record by each expression, from one pass over the data.
  std::vector<IndexFile::Keys> collect_keys(const std::vector<const KeyExpr*>& exprs);
  std::unique_ptr<KeyOrder> attach(const IndexSpec& wanted);
  void rebuild(int order_number);  // 1-based
  // Rebuilds these orders (1-based); the index files from one pass over the data.
  void rebuild(const std::vector<int>& order_numbers);
  void rebuild_all();

  // ---- table_pack.cpp ----
  void finish_interrupted_pack();
  void rewrite(bool keep_live_records);
};

// The table's update lock (os::lock_offset::kUpdate) for the life of the guard. Exclusive opens
// need none; nested guards share the outer one, which must be at least as strong.
class UpdateLock {
 public:
  UpdateLock(Table::Impl& t, os::LockKind kind);
  ~UpdateLock();
  UpdateLock(const UpdateLock&) = delete;
  UpdateLock& operator=(const UpdateLock&) = delete;

 private:
  Table::Impl& t_;
  bool held_ = false;
};

// The memo file beside a data file: same name, extension `ext` (".FPT" or ".DBT").
inline std::string memo_path_for(const std::string& data_path, const char* ext) {
  std::string base = data_path;
  auto slash = base.find_last_of('/');
  auto dot = base.find_last_of('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) base.resize(dot);
  return base + ext;
}

// Pending bytes of a data file's pack: "<data file>.pack" and "<memo file>.pack".
inline std::string pack_name(const std::string& file) { return file + ".pack"; }

}  // namespace kx::dbf
