// Opening, creating and closing tables; locks; reading the header and records.
// The file format and the rules that keep several processes consistent: docs/architecture.md.
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "dbf/table_impl.h"
#include "os/error.h"
#include "os/path.h"
#include "os/replace.h"

namespace kx::dbf {
namespace {

using os::lock_offset::kAppend;
using os::lock_offset::kFile;
using os::lock_offset::kOpenMode;
using os::lock_offset::kUpdate;

bool same_file(int fd, const std::string& path) {
  struct stat a {}, b {};
  if (::fstat(fd, &a) != 0 || ::stat(path.c_str(), &b) != 0) return false;
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

UpdateLock::UpdateLock(Table::Impl& t, os::LockKind kind) : t_(t) {
  if (t.exclusive()) return;
  if (t.update_depth++ > 0) return;
  os::lock_wait(t.fd(), kUpdate, 1, t.read_only() ? os::LockKind::shared : kind);
  held_ = true;
}

UpdateLock::~UpdateLock() {
  if (t_.exclusive()) return;
  --t_.update_depth;
  if (held_) os::unlock(t_.fd(), kUpdate, 1);
}

// ---- creating and opening ------------------------------------------------------------------

void Table::create(const std::string& path, const Schema& schema) {
  if (os::find_nocase(path)) throw TableError(TableError::Kind::exists, path + ": table exists");
  const std::string target = os::resolve_nocase(path);
  DbfHeader h;
  h.version = schema.has_memo() ? kVersionFpt : kVersionPlain;
  h.schema = schema;
  h.last_update = Date();  // a new table carries the date of its first change
  std::string bytes = encode_header(h) + kEndOfData;
  try {
    os::File f = os::File::open(target, os::File::Mode::create_new);
    f.pwrite(bytes.data(), bytes.size(), 0);
    f.fsync();
    f.close();
    if (schema.has_memo()) {
      std::string memo = memo_path_for(target, ".FPT");
      os::replace_file(os::find_nocase(memo).value_or(memo), MemoFile::empty_fpt());
    }
  } catch (const os::Error& e) {
    if (e.code() == EEXIST) throw TableError(TableError::Kind::exists, path + ": table exists");
    throw TableError(TableError::Kind::io, e.what());
  }
}

std::optional<Table> Table::try_open(const std::string& path, OpenOptions options,
                                     Clock& clock) {
  auto found = os::find_nocase(path);
  if (!found) throw TableError(TableError::Kind::not_found, path + ": no such table");
  auto impl = std::make_unique<Impl>(clock, options);
  try {
    if (!impl->open_file(*found)) return std::nullopt;
    impl->read_header();
    impl->finish_interrupted_pack();
    impl->check_size();
    impl->open_memo();
  } catch (const os::Error& e) {
    throw TableError(TableError::Kind::io, e.what());
  }
  impl->buf = impl->original = impl->blank();
  Table t(std::move(impl));
  t.go_top();
  return t;
}

Table Table::open(const std::string& path, OpenOptions options, Clock& clock) {
  auto t = try_open(path, options, clock);
  if (!t) throw TableError(TableError::Kind::in_use, path + ": in use by another open");
  return std::move(*t);
}

bool Table::Impl::open_file(const std::string& found) {
  path = found;
  const auto kind = exclusive() ? os::LockKind::exclusive : os::LockKind::shared;
  // The file may be replaced (pack) between the open and the lock: then open the new one.
  for (int attempt = 0; attempt < 100; ++attempt) {
    data = os::File::open(path, read_only() ? os::File::Mode::read : os::File::Mode::read_write);
    if (!os::try_lock(fd(), kOpenMode, 1, kind)) return false;
    if (same_file(fd(), path)) return true;
    data.close();
  }
  throw TableError(TableError::Kind::io, path + ": the file keeps being replaced");
}

void Table::Impl::read_header() {
  std::string first(kFixedHeader, '\0');
  std::size_t n = data.pread(first.data(), first.size(), 0);
  try {
    first.resize(n);
    int length = header_length_of(first);
    std::string bytes(length, '\0');
    bytes.resize(data.pread(bytes.data(), bytes.size(), 0));
    header = parse_header(bytes);
  } catch (const std::invalid_argument& e) {
    throw TableError(TableError::Kind::damaged, path + ": " + e.what());
  }
}

// The counted records must all be in the file. Bytes after them are what an append left when
// its process was killed before it wrote the count: trimmed when no append can be running
// (under the append lock, with the count read again).
void Table::Impl::check_size() {
  if (read_only()) {
    if (data.size() < header.data_end()) throw TableError(TableError::Kind::damaged, short_text());
    return;
  }
  const bool need_lock = !exclusive();
  if (need_lock && !os::try_lock(fd(), kAppend, 1, os::LockKind::exclusive)) {
    // An append is running: the file can only be longer than the count says, never shorter.
    if (data.size() < header.data_end()) throw TableError(TableError::Kind::damaged, short_text());
    return;
  }
  struct Release {
    Table::Impl& t;
    bool on;
    ~Release() {
      if (on) os::unlock(t.fd(), kAppend, 1);
    }
  } release{*this, need_lock};
  count();
  const int64_t size = data.size();
  const int64_t end = header.data_end();
  if (size < end) {
    if (!options.repair) throw TableError(TableError::Kind::damaged, short_text());
    const auto complete = static_cast<uint32_t>(
        std::max<int64_t>(0, size - header.header_length) / header.record_length);
    const uint32_t counted = header.record_count;
    write_date_and_count(complete);
    data.truncate(header.data_end());
    data.pwrite(&kEndOfData, 1, header.data_end());
    data.fsync();
    repairs.push_back("record count lowered from " + std::to_string(counted) + " to the " +
                      std::to_string(complete) + " complete records");
    return;
  }
  char mark = 0;
  const bool marked = size > end && data.pread(&mark, 1, end) == 1 && mark == kEndOfData;
  if (size <= end + (marked ? 1 : 0)) return;
  data.truncate(end);
  data.pwrite(&kEndOfData, 1, end);
  repairs.push_back("removed " + std::to_string(size - end - (marked ? 1 : 0)) +
                    " bytes after the last counted record");
}

std::string Table::Impl::short_text() {
  const int64_t held = std::max<int64_t>(0, data.size() - header.header_length);
  return path + ": the header counts " + std::to_string(header.record_count) +
         " records but the file holds " + std::to_string(held / header.record_length);
}

void Table::Impl::open_memo() {
  if (!header.schema.has_memo()) return;
  const bool writable = !read_only();
  for (auto [ext, kind] : {std::pair{".FPT", MemoFile::Kind::fpt},
                           std::pair{".DBT", MemoFile::Kind::dbt}}) {
    if (auto found = os::find_nocase(memo_path_for(path, ext))) {
      try {
        memo = std::make_unique<MemoFile>(*found, kind, writable && kind == MemoFile::Kind::fpt);
      } catch (const std::invalid_argument& e) {
        throw TableError(TableError::Kind::damaged, *found + ": " + e.what());
      }
      return;
    }
  }
  throw TableError(TableError::Kind::not_found,
                   path + ": the memo file " + memo_path_for(path, ".FPT") + " is missing");
}

// ---- closing -------------------------------------------------------------------------------

Table::Table(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Table::Table(Table&&) noexcept = default;
Table& Table::operator=(Table&& other) noexcept {
  if (this != &other) {
    try {
      close();
    } catch (...) {  // the destination's own final write; see ~Table
    }
    impl_ = std::move(other.impl_);
  }
  return *this;
}

Table::~Table() {
  try {
    close();
  } catch (...) {  // documented: close() reports what a destructor cannot
  }
}

void Table::close() {
  if (!impl_) return;
  auto& t = *impl_;
  if (!t.read_only()) {
    t.commit();
    t.end_batch();
    if (t.unsynced) t.sync_files();
  }
  t.orders.clear();
  t.memo.reset();
  t.data.close();  // releases every lock of this open
  impl_.reset();
}

// ---- the header and records ----------------------------------------------------------------

uint32_t Table::Impl::count() {
  if (exclusive()) return header.record_count;
  unsigned char b[4];
  data.pread_exact(b, sizeof b, kCountOffset);
  uint32_t n = uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
  // A shared table never shrinks while it is open (pack and zap need an exclusive open).
  if (n > header.record_count) header.record_count = n;
  return header.record_count;
}

DataSignature Table::Impl::signature() {
  struct stat st {};
  if (::fstat(fd(), &st) != 0) throw os::Error("fstat", path, errno);
  return DataSignature{header.record_count, static_cast<uint64_t>(st.st_size),
                       int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec};
}

std::string Table::Impl::blank() const { return std::string(header.record_length, ' '); }

std::string Table::Impl::read_record(uint32_t r) {
  std::string bytes(header.record_length, '\0');
  if (data.pread(bytes.data(), bytes.size(), header.record_offset(r)) != bytes.size())
    throw TableError(TableError::Kind::damaged,
                     path + ": record " + std::to_string(r) + " is cut short");
  return bytes;
}

void Table::Impl::write_date_and_count(uint32_t n) {
  std::string b = encode_date_and_count(clock->today(), n);
  data.pwrite(b.data(), b.size(), 1);
  header.last_update = clock->today();
  header.record_count = n;
}

void Table::Impl::require_writable(const char* what) const {
  if (read_only())
    throw TableError(TableError::Kind::read_only, path + ": " + what + " on a read-only open");
}

void Table::Impl::require_locked() const {
  if (shared() && !file_lock && !record_locks.contains(recno))
    throw TableError(TableError::Kind::not_locked,
                     path + ": record " + std::to_string(recno) + " is not locked");
}

const Field& Table::Impl::field(FieldRef ref) const {
  const auto& fields = header.schema.fields();
  if (ref.position() >= 0) {
    if (ref.position() < static_cast<int>(fields.size())) return fields[ref.position()];
    throw TableError(TableError::Kind::invalid,
                     path + ": no field at position " + std::to_string(ref.position()));
  }
  if (const Field* f = header.schema.find(ref.name())) return *f;
  throw TableError(TableError::Kind::invalid, path + ": no field " + std::string(ref.name()));
}

const std::string& Table::path() const { return impl_->path; }
const Schema& Table::schema() const { return impl_->header.schema; }
OpenMode Table::mode() const { return impl_->options.mode; }
Clock& Table::clock() const { return *impl_->clock; }
const std::vector<std::string>& Table::repairs() const { return impl_->repairs; }
const Field& Table::field(FieldRef ref) const { return impl_->field(ref); }

TableInfo Table::info() {
  auto& t = *impl_;
  TableInfo i;
  i.path = t.path;
  if (t.memo) i.memo_path = t.memo->path();
  i.version = t.header.version;
  i.code_page = t.header.code_page;
  i.last_update = t.header.last_update;
  i.record_count = t.count();
  i.header_length = t.header.header_length;
  i.record_length = t.header.record_length;
  i.fields = t.header.schema.fields();
  for (std::size_t k = 0; k < t.orders.size(); ++k)
    i.indexes.push_back({t.orders[k]->file(), t.orders[k]->expr().text(),
                         static_cast<int>(k) + 1 == t.active});
  return i;
}

// ---- locks ---------------------------------------------------------------------------------

bool Table::try_lock_record(uint32_t recno) {
  return lock_record(recno, LockWait{.timeout_ms = -1});
}

bool Table::lock_record(uint32_t recno, const LockWait& wait) {
  auto& t = *impl_;
  t.require_writable("record lock");
  if (recno < 1 || recno > t.count())
    throw TableError(TableError::Kind::invalid, t.path + ": no record " + std::to_string(recno));
  if (t.exclusive()) return true;
  if (!t.record_locks.contains(recno)) {
    const int64_t at = os::lock_offset::record(recno);
    bool held = wait.timeout_ms < 0
                    ? os::try_lock(t.fd(), at, 1, os::LockKind::exclusive)
                    : os::lock_with_timeout(t.fd(), at, 1, os::LockKind::exclusive, *t.clock,
                                            wait.timeout_ms, wait.retry_ms, wait.cancel);
    if (!held) return false;
    t.record_locks.insert(recno);
  }
  if (recno == t.recno && !t.at_eof && !t.dirty) {
    UpdateLock u(t, os::LockKind::shared);
    t.buf = t.original = t.read_record(recno);
  }
  return true;
}

void Table::unlock_record(uint32_t recno) {
  auto& t = *impl_;
  if (recno == t.recno) t.commit();
  if (t.record_locks.erase(recno) && !t.file_lock && t.shared())
    os::unlock(t.fd(), os::lock_offset::record(recno), 1);
}

bool Table::record_locked(uint32_t recno) const {
  const auto& t = *impl_;
  return t.exclusive() || t.file_lock || t.record_locks.contains(recno);
}

bool Table::try_lock_file() { return lock_file(LockWait{.timeout_ms = -1}); }

bool Table::lock_file(const LockWait& wait) {
  auto& t = *impl_;
  t.require_writable("file lock");
  if (t.exclusive() || t.file_lock) return true;
  // The byte kFile and every record byte after it, up to the end of all offsets.
  bool held = wait.timeout_ms < 0
                  ? os::try_lock(t.fd(), kFile, 0, os::LockKind::exclusive)
                  : os::lock_with_timeout(t.fd(), kFile, 0, os::LockKind::exclusive, *t.clock,
                                          wait.timeout_ms, wait.retry_ms, wait.cancel);
  if (!held) return false;
  t.file_lock = true;
  if (!t.at_eof && !t.dirty) {
    UpdateLock u(t, os::LockKind::shared);
    t.buf = t.original = t.read_record(t.recno);
  }
  return true;
}

// The file lock's range covers this open's own record locks too: release only the gaps
// between them, so that no record lock is let go for an instant.
void Table::unlock_file() {
  auto& t = *impl_;
  if (!t.file_lock) return;
  t.commit();
  int64_t from = kFile;
  for (uint32_t r : t.record_locks) {
    const int64_t at = os::lock_offset::record(r);
    if (at > from) os::unlock(t.fd(), from, at - from);
    from = at + 1;
  }
  os::unlock(t.fd(), from, 0);
  t.file_lock = false;
}

bool Table::file_locked() const { return impl_->exclusive() || impl_->file_lock; }

void Table::unlock_all() {
  auto& t = *impl_;
  t.commit();
  if (!t.shared()) return;
  if (t.file_lock) {
    os::unlock(t.fd(), kFile, 0);
    t.file_lock = false;
  } else {
    for (uint32_t r : t.record_locks) os::unlock(t.fd(), os::lock_offset::record(r), 1);
  }
  t.record_locks.clear();
}

}  // namespace kx::dbf
