// Index files attached to a table: checked on attach, rebuilt when they cannot be trusted.
#include "dbf/table_impl.h"
#include "os/path.h"

namespace kx::dbf {
namespace {

KeyExpr parse(const Table::Impl& t, std::string_view text) {
  return KeyExpr::parse(text, t.header.schema);
}

}  // namespace

// The key of every record, deleted ones included (their entries stay until pack).
std::vector<KeyOrder::Entry> Table::Impl::collect(const KeyExpr& expr) {
  std::vector<KeyOrder::Entry> entries;
  const uint32_t n = count();
  entries.reserve(n);
  read_blocks(1, n, [&](uint32_t r, std::string_view bytes) {
    entries.emplace_back(expr.eval(RecordView(header.schema, bytes)), r);
    return true;
  });
  return entries;
}

// Deleted records included, as collect().
std::vector<IndexFile::Keys> Table::Impl::collect_keys(const std::vector<const KeyExpr*>& exprs) {
  const uint32_t n = count();
  std::vector<IndexFile::Keys> keys(exprs.size());
  for (std::size_t k = 0; k < exprs.size(); ++k) {
    keys[k].keys.reserve(std::size_t{n} * static_cast<std::size_t>(exprs[k]->width()));
    keys[k].recnos.reserve(n);
  }
  read_blocks(1, n, [&](uint32_t r, std::string_view bytes) {
    const RecordView record(header.schema, bytes);
    for (std::size_t k = 0; k < exprs.size(); ++k) {
      exprs[k]->append_key(record, keys[k].keys);
      keys[k].recnos.push_back(r);
    }
    return true;
  });
  return keys;
}

// Opens the file when it describes the data as it is now; otherwise builds it again (under the
// update lock), or, on a read-only open, an index in memory.
std::unique_ptr<KeyOrder> Table::Impl::attach(const IndexSpec& wanted) {
  const std::string file = os::resolve_nocase(wanted.file);
  IndexState state = IndexState::ok;
  {
    UpdateLock u(*this, os::LockKind::shared);
    count();
    if (auto o = KeyOrder::open_file(file, parse(*this, wanted.expr), signature(), read_only(),
                                     &state))
      return o;
    if (read_only()) return KeyOrder::in_memory(parse(*this, wanted.expr),
                                                collect(parse(*this, wanted.expr)));
  }
  UpdateLock u(*this, os::LockKind::exclusive);
  count();
  // Another open may have rebuilt it while this one waited for the lock.
  if (auto o = KeyOrder::open_file(file, parse(*this, wanted.expr), signature(), false, &state))
    return o;
  KeyExpr expr = parse(*this, wanted.expr);
  auto keys = collect_keys({&expr});
  return KeyOrder::build_file(file, std::move(expr), keys.front(), signature());
}

void Table::Impl::rebuild(int order_number) { rebuild(std::vector<int>{order_number}); }

void Table::Impl::rebuild(const std::vector<int>& order_numbers) {
  std::vector<int> files;
  for (int number : order_numbers) {
    auto& slot = orders[number - 1];
    if (!slot->file().empty() && !read_only()) {
      files.push_back(number);
      continue;
    }
    KeyExpr expr = parse(*this, slot->expr().text());
    UpdateLock u(*this, os::LockKind::shared);
    auto entries = collect(expr);
    slot = KeyOrder::in_memory(std::move(expr), std::move(entries));
  }
  if (files.empty()) return;
  UpdateLock u(*this, os::LockKind::exclusive);
  count();
  std::vector<KeyExpr> exprs;
  std::vector<const KeyExpr*> of;
  exprs.reserve(files.size());
  for (int number : files) {
    exprs.push_back(parse(*this, orders[number - 1]->expr().text()));
    of.push_back(&exprs.back());
  }
  auto keys = collect_keys(of);
  const DataSignature sig = signature();
  for (std::size_t k = 0; k < files.size(); ++k) {
    auto& slot = orders[files[k] - 1];
    const std::string file = slot->file();
    slot = KeyOrder::build_file(file, std::move(exprs[k]), keys[k], sig);
    keys[k] = {};
    if (changing) slot->begin_change(KeyOrder::Sync::disk);  // still inside an exclusive batch
  }
}

void Table::Impl::rebuild_all() {
  std::vector<int> all;
  for (int k = 1; k <= static_cast<int>(orders.size()); ++k) all.push_back(k);
  rebuild(all);
}

void Table::attach_indexes(const std::vector<IndexSpec>& specs) {
  auto& t = *impl_;
  if (specs.size() > 3)
    throw TableError(TableError::Kind::invalid, t.path + ": at most three index files");
  if (!t.read_only()) {
    t.commit();
    t.end_batch();
    if (t.unsynced) t.sync_files();  // the files let go of below have them on the disk too
  }
  std::vector<std::unique_ptr<KeyOrder>> attached;
  for (const IndexSpec& wanted : specs) attached.push_back(t.attach(wanted));
  t.orders = std::move(attached);
  t.active = t.orders.empty() ? 0 : 1;
  go_top();
}

int Table::add_temporary_index(std::string_view expr) {
  auto& t = *impl_;
  t.commit();
  KeyExpr parsed = parse(t, expr);
  std::vector<KeyOrder::Entry> entries;
  {
    UpdateLock u(t, os::LockKind::shared);
    entries = t.collect(parsed);
  }
  t.orders.push_back(KeyOrder::in_memory(std::move(parsed), std::move(entries)));
  set_order(static_cast<int>(t.orders.size()));
  return t.active;
}

int Table::index_count() const { return static_cast<int>(impl_->orders.size()); }
int Table::order() const { return impl_->active; }

void Table::set_order(int order) {
  auto& t = *impl_;
  if (order < 0 || order > index_count())
    throw TableError(TableError::Kind::invalid, t.path + ": no order " + std::to_string(order));
  t.commit();
  t.active = order;
  if (t.at_eof) return t.ipos.reset();
  t.ipos.reset();
  if (order > 0) t.ipos = KeyOrder::Position{t.order().key_of(record()), t.recno};
}

void Table::reindex() {
  auto& t = *impl_;
  t.require_writable("reindex");
  t.commit();
  t.rebuild_all();
  if (!t.at_eof) go_to(t.recno);
}

}  // namespace kx::dbf
