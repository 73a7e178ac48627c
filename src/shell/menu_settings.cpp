#include "shell/menu_settings.h"

#include "store/access_lock.h"

namespace kx::shell {
namespace {

bool write_record(entry::Session& s, store::Access& a, int table,
                  const std::function<void(dbf::Table&)>& write) {
  s.workspace.select(table);
  dbf::Table& t = s.workspace.table(table);
  bool found;
  if (table == kConfigTable) {
    found = t.seek(s.globals.NUSU);
  } else {
    t.go_top();
    found = !t.eof();
  }
  if (found) {
    if (!store::REC_LOCK(a)) return false;
  } else {
    if (!store::ADD_REC(a, 2)) return false;
    if (table == kConfigTable) t.set_text("NRO_TERM", s.globals.NUSU);
  }
  try {
    write(t);
    t.commit();
  } catch (...) {
    t.unlock_record(t.recno());
    throw;
  }
  t.unlock_record(t.recno());
  return true;
}

}  // namespace

bool store_settings(entry::Session& s, int table, const std::function<void(dbf::Table&)>& write) {
  store::Access a = s.access();
  const bool was_open = s.workspace.held(table) != nullptr;
  if (!was_open && !store::ABERTURA(a, table)) return false;
  bool stored;
  try {
    stored = write_record(s, a, table, write);
  } catch (...) {
    if (!was_open) s.workspace.close(table);
    throw;
  }
  if (!was_open) s.workspace.close(table);
  return stored;
}

}  // namespace kx::shell
