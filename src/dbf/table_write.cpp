// Changing records: the current record's buffer, commit, append, delete and recall, flush.
#include <algorithm>

#include "dbf/table_impl.h"

namespace kx::dbf {
namespace {

using os::lock_offset::kAppend;

std::string memo_reference(const Field& f, uint32_t block) {
  if (f.width == 4) {
    std::string b(4, '\0');
    for (int i = 0; i < 4; ++i) b[i] = static_cast<char>((block >> (8 * i)) & 0xFF);
    return b;
  }
  std::string digits = std::to_string(block);
  return std::string(f.width - digits.size(), ' ') + digits;
}

}  // namespace

// ---- the buffer ----------------------------------------------------------------------------

namespace {
// The field of `ref`, checked for the change: writable open, on a record, locked, right type.
const Field& changed_field(Table::Impl& t, FieldRef ref, FieldType type) {
  t.require_writable("change");
  if (t.at_eof) throw TableError(TableError::Kind::invalid, t.path + ": no current record");
  t.require_locked();
  const Field& f = t.field(ref);
  if (f.type != type)
    throw TableError(TableError::Kind::invalid,
                     t.path + ": field " + f.name + " is of type " + static_cast<char>(f.type));
  return f;
}
}  // namespace

void Table::set_text(FieldRef ref, std::string_view cp850) {
  put_text(impl_->buf, changed_field(*impl_, ref, FieldType::character), cp850);
  impl_->dirty = true;
}
void Table::set_number(FieldRef ref, Decimal value) {
  put_number(impl_->buf, changed_field(*impl_, ref, FieldType::numeric), value);
  impl_->dirty = true;
}
void Table::set_date(FieldRef ref, Date value) {
  put_date(impl_->buf, changed_field(*impl_, ref, FieldType::date), value);
  impl_->dirty = true;
}
void Table::set_logical(FieldRef ref, bool value) {
  put_logical(impl_->buf, changed_field(*impl_, ref, FieldType::logical), value);
  impl_->dirty = true;
}
void Table::set_memo(FieldRef ref, std::string_view cp850) {
  auto& t = *impl_;
  const Field& f = changed_field(t, ref, FieldType::memo);
  t.memos[t.header.schema.index_of(f.name)] = std::string(cp850);
  t.dirty = true;
}

void Table::commit() { impl_->commit(); }
bool Table::pending() const { return impl_->dirty; }
std::string Table::blank_record() const { return impl_->blank(); }

// ---- writing -------------------------------------------------------------------------------

void Table::Impl::begin_batch() {
  if (changing) return;
  for (auto& o : orders) o->begin_change(KeyOrder::Sync::disk);
  changing = true;
}

// Exclusive opens: the count and the index change marks once per batch. The data reaches the
// disk before the index files say they describe it.
void Table::Impl::end_batch() {
  if (!exclusive() || (!header_dirty && !changing)) return;
  if (header_dirty) {
    write_date_and_count(header.record_count);
    header_dirty = false;
  }
  data.fsync();
  if (memo) memo->fsync();
  if (changing) {
    const DataSignature sig = signature();
    for (auto& o : orders) o->end_change(sig, KeyOrder::Sync::disk);
    changing = false;
  }
}

// Memo texts, the record bytes and every index entry whose key changed. The caller holds the
// update lock (shared opens) or has begun the batch (exclusive opens).
void Table::Impl::write_current() {
  const auto& fields = header.schema.fields();
  for (auto& [position, text] : memos) {
    const Field& f = fields[position];
    const std::string ref =
        text.empty() ? std::string(f.width, ' ') : memo_reference(f, memo->write(text));
    buf.replace(f.offset, f.width, ref);
  }
  std::string bytes = buf;
  if (is_new) bytes += kEndOfData;
  data.pwrite(bytes.data(), bytes.size(), header.record_offset(recno));
  const RecordView now(header.schema, buf), before(header.schema, original);
  for (auto& o : orders) {
    std::string key = o->key_of(now);
    if (is_new) {
      o->insert(key, recno);
      continue;
    }
    std::string old_key = o->key_of(before);
    if (o->expr().compare(key, old_key) == 0) continue;
    o->erase(old_key, recno);
    o->insert(key, recno);
  }
  if (active > 0) ipos = KeyOrder::Position{order().key_of(now), recno};
}

void Table::Impl::commit() {
  if (!dirty) return;
  require_writable("write");
  require_locked();
  if (exclusive()) {
    begin_batch();
    write_current();
  } else {
    UpdateLock u(*this, os::LockKind::exclusive);
    for (auto& o : orders) o->begin_change(KeyOrder::Sync::none);
    write_current();
    const uint32_t n = count();  // other opens may have appended since this one last looked
    if (header.last_update != clock->today()) write_date_and_count(n);
    const DataSignature sig = signature();
    for (auto& o : orders) o->end_change(sig, KeyOrder::Sync::none);
    unsynced = true;
  }
  original = buf;
  dirty = is_new = false;
  memos.clear();
}

// Waits for the append lock together with the lock of the record it will add (a file lock of
// another open refuses it), then writes record, end mark, count and index entries.
uint32_t Table::Impl::append_shared(std::string bytes, const LockWait& wait) {
  const int64_t start = clock->monotonic_ms();
  uint32_t n = 0;
  for (;;) {
    if (os::try_lock(fd(), kAppend, 1, os::LockKind::exclusive)) {
      n = count();
      if (os::try_lock(fd(), os::lock_offset::record(n + 1), 1, os::LockKind::exclusive)) break;
      os::unlock(fd(), kAppend, 1);
    }
    const int64_t waited = clock->monotonic_ms() - start;
    if (wait.timeout_ms < 0 || (wait.timeout_ms > 0 && waited >= wait.timeout_ms)) return 0;
    if (wait.cancel && wait.cancel()) return 0;
    clock->sleep_ms(wait.timeout_ms > 0 ? std::min(wait.retry_ms, wait.timeout_ms - waited)
                                        : wait.retry_ms);
  }
  struct Release {
    int fd;
    ~Release() { os::unlock(fd, kAppend, 1); }
  } release{fd()};
  record_locks.insert(n + 1);
  recno = n + 1;
  at_eof = false;
  buf = std::move(bytes);
  original = blank();
  is_new = true;
  {
    UpdateLock u(*this, os::LockKind::exclusive);
    for (auto& o : orders) o->begin_change(KeyOrder::Sync::none);
    write_current();
    write_date_and_count(n + 1);
    const DataSignature sig = signature();
    for (auto& o : orders) o->end_change(sig, KeyOrder::Sync::none);
    unsynced = true;
  }
  original = buf;
  dirty = is_new = false;
  return n + 1;
}

uint32_t Table::append_blank(const LockWait& wait) {
  auto& t = *impl_;
  t.require_writable("append");
  t.commit();
  t.at_bof = false;
  t.ipos.reset();
  if (t.shared()) return t.append_shared(t.blank(), wait);
  // Exclusive: the new record is written once, when it is committed.
  t.recno = ++t.header.record_count;
  t.header_dirty = true;
  t.at_eof = false;
  t.buf = t.original = t.blank();
  t.dirty = t.is_new = true;
  return t.recno;
}

uint32_t Table::append(std::string_view record_bytes, const LockWait& wait) {
  auto& t = *impl_;
  if (record_bytes.size() != static_cast<std::size_t>(t.header.record_length))
    throw TableError(TableError::Kind::invalid,
                     t.path + ": a record is " + std::to_string(t.header.record_length) + " bytes");
  std::string bytes(record_bytes);
  if (bytes[0] != '*') bytes[0] = ' ';
  if (t.shared()) {
    t.require_writable("append");
    t.commit();
    t.at_bof = false;
    t.ipos.reset();
    return t.append_shared(std::move(bytes), wait);
  }
  uint32_t r = append_blank(wait);
  t.buf = std::move(bytes);
  t.commit();
  return r;
}

namespace {
void mark(Table::Impl& t, char flag) {
  t.require_writable("delete");
  if (t.at_eof) throw TableError(TableError::Kind::invalid, t.path + ": no current record");
  t.require_locked();
  t.buf[0] = flag;
  t.dirty = true;
  t.commit();
}
}  // namespace

void Table::delete_record() { mark(*impl_, '*'); }
void Table::recall() { mark(*impl_, ' '); }

void Table::flush() {
  auto& t = *impl_;
  if (t.read_only()) return;
  t.commit();
  t.end_batch();
  t.sync_files();
}

void Table::Impl::sync_files() {
  data.fsync();
  if (memo) memo->fsync();
  for (auto& o : orders) o->sync();
  unsynced = false;
}

}  // namespace kx::dbf
