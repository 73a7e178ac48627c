// Moving through a table in record order or in the active index order; seeking; scanning;
// reading the current record.
#include <algorithm>

#include "dbf/table_impl.h"

namespace kx::dbf {
namespace {

// Raised inside a walk when an index entry does not agree with its record.
struct InconsistentOrder {};

constexpr std::size_t kScanBlock = 256 * 1024;

}  // namespace

bool Table::Impl::visible(std::string_view bytes) const {
  if (!deleted_visible && !bytes.empty() && bytes[0] == '*') return false;
  return !filter || filter(RecordView(header.schema, bytes));
}

void Table::Impl::load(uint32_t r, std::string bytes) {
  recno = r;
  buf = original = std::move(bytes);
  at_eof = false;
}

void Table::Impl::set_eof() {
  recno = count() + 1;
  buf = original = blank();
  at_eof = true;
  ipos.reset();
}

void Table::Impl::walk(const std::function<void()>& fn) {
  for (int attempt = 0;; ++attempt) {
    try {
      UpdateLock u(*this, os::LockKind::shared);
      fn();
      return;
    } catch (const TableError&) {
      throw;
    } catch (const InconsistentOrder&) {
      if (attempt > 0) throw TableError(TableError::Kind::damaged,
                                        path + ": index " + order().file() + " keeps disagreeing");
    } catch (const std::runtime_error&) {  // an index file found damaged or unfinished
      if (attempt > 0) throw;
    }
    rebuild(active);
  }
}

bool Table::Impl::settle(std::optional<KeyOrder::Position> p, bool forward) {
  KeyOrder& o = order();
  // The count never shrinks while the table is open: it is read again only for a record past
  // the count last seen.
  auto counted = [&](uint32_t r) { return r >= 1 && (r <= header.record_count || r <= count()); };
  while (p) {
    if (counted(p->recno)) {
      std::string bytes = read_record(p->recno);
      if (o.expr().compare(o.key_of(RecordView(header.schema, bytes)), p->key) != 0)
        throw InconsistentOrder{};
      if (visible(bytes)) {
        load(p->recno, std::move(bytes));
        ipos = p;
        return true;
      }
    }
    p = forward ? o.next(*p) : o.prev(*p);
  }
  return false;
}

void Table::go_top() {
  auto& t = *impl_;
  t.commit();
  t.at_bof = false;
  if (t.active == 0) {
    UpdateLock u(t, os::LockKind::shared);
    const uint32_t n = t.count();
    for (uint32_t r = 1; r <= n; ++r) {
      std::string bytes = t.read_record(r);
      if (t.visible(bytes)) return t.load(r, std::move(bytes));
    }
    return t.set_eof();
  }
  t.walk([&] {
    if (!t.settle(t.order().first(), true)) t.set_eof();
  });
}

void Table::go_bottom() {
  auto& t = *impl_;
  t.commit();
  t.at_bof = false;
  if (t.active == 0) {
    UpdateLock u(t, os::LockKind::shared);
    for (uint32_t r = t.count(); r >= 1; --r) {
      std::string bytes = t.read_record(r);
      if (t.visible(bytes)) return t.load(r, std::move(bytes));
    }
    return t.set_eof();
  }
  t.walk([&] {
    if (!t.settle(t.order().last(), false)) t.set_eof();
  });
}

void Table::skip(int64_t n) {
  auto& t = *impl_;
  t.commit();
  if (n == 0) {
    if (!t.at_eof) {
      UpdateLock u(t, os::LockKind::shared);
      t.load(t.recno, t.read_record(t.recno));
    }
    return;
  }
  t.at_bof = false;
  const bool forward = n > 0;
  if (forward && t.at_eof) return;
  if (!forward && t.at_eof) {  // from the end, the first step back lands on the last record
    go_bottom();
    if (t.at_eof) t.at_bof = true;
    ++n;
  }
  for (int64_t steps = forward ? n : -n; steps > 0 && !t.at_eof; --steps) {
    bool moved = false;
    if (t.active == 0) {
      UpdateLock u(t, os::LockKind::shared);
      const uint32_t last = t.count();
      for (uint32_t r = forward ? t.recno + 1 : t.recno - 1; r >= 1 && r <= last;
           r = forward ? r + 1 : r - 1) {
        std::string bytes = t.read_record(r);
        if (t.visible(bytes)) {
          t.load(r, std::move(bytes));
          moved = true;
          break;
        }
      }
    } else {
      t.walk([&] {
        KeyOrder& o = t.order();
        if (!t.ipos) t.ipos = KeyOrder::Position{o.key_of(record()), t.recno};
        auto from = forward ? o.next(*t.ipos) : o.prev(*t.ipos);
        auto at = *t.ipos;
        moved = t.settle(from, forward);
        if (!moved) t.ipos = at;
      });
    }
    if (moved) continue;
    if (forward) {
      t.set_eof();
    } else {
      t.at_bof = true;  // stays on the first visible record
      break;
    }
  }
}

void Table::go_to(uint32_t recno) {
  auto& t = *impl_;
  t.commit();
  t.at_bof = false;
  UpdateLock u(t, os::LockKind::shared);
  if (recno < 1 || recno > t.count()) return t.set_eof();
  t.load(recno, t.read_record(recno));
  t.ipos.reset();
  if (t.active > 0) t.ipos = KeyOrder::Position{t.order().key_of(record()), recno};
}

bool Table::eof() const { return impl_->at_eof; }
bool Table::bof() const { return impl_->at_bof; }
uint32_t Table::recno() const { return impl_->recno; }
uint32_t Table::record_count() {
  UpdateLock u(*impl_, os::LockKind::shared);
  return impl_->count();
}
void Table::set_deleted_visible(bool visible) { impl_->deleted_visible = visible; }
void Table::set_filter(Filter filter) { impl_->filter = std::move(filter); }

bool Table::seek(std::string_view key, SeekMode mode) {
  auto& t = *impl_;
  if (t.active == 0) throw TableError(TableError::Kind::invalid, t.path + ": seek without an index");
  std::string k;
  try {
    k = t.order().expr().key_from_text(key);
  } catch (const ExprError& e) {
    throw TableError(TableError::Kind::invalid, t.path + ": " + e.what());
  }
  return seek_raw(k, mode);
}

bool Table::seek_raw(std::string_view key, SeekMode mode) {
  auto& t = *impl_;
  t.commit();
  if (t.active == 0) throw TableError(TableError::Kind::invalid, t.path + ": seek without an index");
  t.at_bof = false;
  std::string k(key);
  const int width = t.order().expr().width();
  if (static_cast<int>(k.size()) > width) k.resize(width);  // no key is longer
  if (mode == SeekMode::exact && static_cast<int>(k.size()) < width) k.resize(width, ' ');
  t.walk([&] {
    KeyOrder& o = t.order();
    // The first visible entry at or after the key; a soft seek stays there when it differs.
    const bool on = t.settle(o.lower_bound(k), true);
    t.was_found = on && o.expr().compare(t.ipos->key, k) == 0;
    if (!t.was_found && (mode != SeekMode::soft || !on)) t.set_eof();
  });
  return t.was_found;
}

bool Table::found() const { return impl_->was_found; }

void Table::Impl::read_blocks(uint32_t first, uint32_t last,
                              const std::function<bool(uint32_t, std::string_view)>& fn) {
  const std::size_t rl = header.record_length;
  const uint32_t per_block = static_cast<uint32_t>(std::max<std::size_t>(1, kScanBlock / rl));
  std::string block;
  for (uint32_t r = first; r <= last;) {
    const uint32_t n = std::min<uint32_t>(per_block, last - r + 1);
    block.resize(n * rl);
    {
      UpdateLock u(*this, os::LockKind::shared);
      if (data.pread(block.data(), block.size(), header.record_offset(r)) != block.size())
        throw TableError(TableError::Kind::damaged,
                         path + ": records from " + std::to_string(r) + " are cut short");
    }
    for (uint32_t i = 0; i < n; ++i, ++r)
      if (!fn(r, std::string_view(block).substr(i * rl, rl))) return;
  }
}

void Table::scan(const std::function<bool(uint32_t, const RecordView&)>& visit) {
  auto& t = *impl_;
  t.commit();
  uint32_t n;
  {
    UpdateLock u(t, os::LockKind::shared);
    n = t.count();
  }
  t.read_blocks(1, n, [&](uint32_t r, std::string_view bytes) {
    return !t.visible(bytes) || visit(r, RecordView(t.header.schema, bytes));
  });
}

// ---- reading the current record ------------------------------------------------------------

RecordView Table::record() const { return RecordView(impl_->header.schema, impl_->buf); }
bool Table::deleted() const { return record().deleted(); }

std::string Table::get_text(FieldRef f) const { return std::string(record().text(field(f))); }
Decimal Table::get_number(FieldRef f) const { return record().number(field(f)); }
Date Table::get_date(FieldRef f) const { return record().date(field(f)); }
bool Table::get_logical(FieldRef f) const { return record().logical(field(f)); }

std::string Table::get_memo(FieldRef ref) const {
  const auto& t = *impl_;
  const Field& f = field(ref);
  if (f.type != FieldType::memo)
    throw TableError(TableError::Kind::invalid, t.path + ": " + f.name + " is not a memo field");
  if (auto it = t.memos.find(t.header.schema.index_of(f.name)); it != t.memos.end())
    return it->second;
  return t.memo_text(f, t.buf);
}

std::string Table::Impl::memo_text(const Field& f, std::string_view record) const {
  std::string_view raw = record.substr(f.offset, f.width);
  uint32_t block = 0;
  if (f.width == 4) {  // binary block number written by other tools
    for (int i = 3; i >= 0; --i) block = block << 8 | static_cast<uint8_t>(raw[i]);
  } else {  // digits between blanks; anything else, or a number past 32 bits, is damage
    auto bad = [&] { return TableError(TableError::Kind::damaged, path + ": bad memo reference in " + f.name); };
    const std::size_t from = raw.find_first_not_of(' ');
    const std::size_t to = raw.find_last_not_of(' ');
    uint64_t value = 0;
    for (std::size_t i = from; from != std::string_view::npos && i <= to; ++i) {
      if (raw[i] < '0' || raw[i] > '9') throw bad();
      value = value * 10 + static_cast<unsigned>(raw[i] - '0');
      if (value > UINT32_MAX) throw bad();
    }
    block = static_cast<uint32_t>(value);
  }
  if (block == 0) return {};
  try {
    return memo->read(block);
  } catch (const std::invalid_argument& e) {
    throw TableError(TableError::Kind::damaged, memo->path() + ": " + e.what());
  }
}

}  // namespace kx::dbf
