// Opening tables by number (ABERTURA), the start-up check, closing, and switching the registry.
#include "store/access.h"

#include <stdexcept>
#include <utility>

#include "base/cp850.h"
#include "base/text.h"
#include "os/path.h"
#include "store/access_files.h"
#include "store/folder.h"
#include "store/layout.h"
#include "store/layout_defaults.h"

namespace kx::store {
namespace {

constexpr int kRegistry = 9;
constexpr int kFolderList = 50;
constexpr int kSeedWaitMs = 5000;

// The tables the start-up check opens once, in this order; the optional ones may fail.
struct StartupTable {
  int number;
  bool optional;
};
constexpr StartupTable kStartupTables[] = {
    {41, false}, {45, true},  {46, false}, {47, false}, {48, false}, {49, false},
    {51, false}, {52, false}, {53, false}, {54, false}, {58, false}, {66, true},
};

std::string folder_of(const Access& a, const TableEntry& e) {
  return e.folder == TableFolder::work ? a.settings.LOCARQ : a.settings.ARQDEF;
}

// Appends the first record of a table that must never be empty. A shared table is locked
// whole first, so that two terminals opening it at once append one record between them.
void seed_when_empty(dbf::Table& t, const std::string& record) {
  if (t.record_count() > 0) return;
  const dbf::LockWait wait{kSeedWaitMs, 500, {}};
  if (t.mode() == dbf::OpenMode::shared && !t.lock_file(wait)) return;  // its holder seeds it
  if (t.record_count() == 0) t.append(record, wait);
  t.unlock_all();
  t.go_top();
}

// The folder list's row for the program folder, selected.
std::string program_folder_row(const Access& a, const dbf::Table& list) {
  std::string row = list.blank_record();
  const dbf::Schema& schema = list.schema();
  dbf::put_text(row, *schema.find("DIRETOR"), BAR_FORA(a.settings.ARQDEF));
  dbf::put_text(row, *schema.find("SELEC"), "S");
  return row;
}

bool startup_check(Access& a) {
  a.workspace.close_all();
  if (!ABERTURA(a, kFolderList)) return false;
  dbf::Table& list = a.workspace.table(kFolderList);
  std::vector<std::pair<uint32_t, std::string>> rows;
  list.scan([&](uint32_t recno, const dbf::RecordView& row) {
    rows.emplace_back(recno, std::string(text::rtrim(row.text(*row.schema().find("DIRETOR")))));
    return true;
  });
  const std::string work_folder = a.settings.LOCARQ;
  struct Restore {
    Settings& s;
    std::string folder;
    ~Restore() { s.LOCARQ = folder; }
  } restore{a.settings, work_folder};
  for (const auto& [recno, folder] : rows) {
    if (!VERDIR(folder)) {
      list.go_to(recno);
      list.delete_record();  // the folder list is open exclusively: no lock to wait for
      continue;
    }
    a.settings.LOCARQ = folder;
    if (a.upgrade_folder) a.upgrade_folder(a, folder);
  }
  for (const StartupTable& t : kStartupTables)
    if (!ABERTURA(a, t.number) && !t.optional) return false;
  return SAI_ABRE(a, 0);
}

}  // namespace

bool ABERTURA(Access& a, int n, bool exclusive) {
  if (n == 0) return startup_check(a);
  const auto entry = table_entry(n, a.settings.NUSU);
  if (!entry || entry->kind == TableKind::working_copy)
    throw std::invalid_argument("ABERTURA: no table " + std::to_string(n));
  const std::string file = in_folder(folder_of(a, *entry), entry->name);
  if (entry->needs_memo_file &&
      !(os::file_exists(fs_path(file + ".DBF")) && os::file_exists(fs_path(file + ".DBT"))))
    return false;
  const bool open_exclusively = entry->sharing == Sharing::exclusive ||
                                (entry->sharing == Sharing::as_asked && exclusive);
  if (!ABREARQ(a, n, open_exclusively, file, entry->indexes)) return false;
  dbf::Table& t = a.workspace.table(n);
  if (entry->seeds_folder_row) seed_when_empty(t, program_folder_row(a, t));
  if (entry->single_record) seed_when_empty(t, shared_settings_initial_record());
  if (entry->kind != TableKind::declaration) RET_FECHAJAN(a, true);
  return true;
}

bool SAI_ABRE(Access& a, int n) {
  RET_FECHAJAN(a, true);
  if (n == 0) a.workspace.close_all();
  if (n == 0 || n == kFolderList) return ABERTURA(a, kFolderList);
  return true;
}

bool RET_FECHAJAN(Access& a, bool value) {
  if (a.settings.MOS_MENS) a.op.clear_message();
  return value;
}

void FECHA_PROV(Access& a) { a.workspace.close_range(kFirstWorkingCopy, kLastWorkingCopy); }

void FECHA_TODO(Access& a) {
  a.workspace.close_range(1, kDeclarationTables, kRegistry);
  FECHA_PROV(a);
}

bool MUDADIR(Access& a, std::string_view folder) {
  if (!CRI_NDIR(a.op, folder, " KAPRIX")) return false;
  const auto entry = table_entry(kRegistry, a.settings.NUSU);
  if (!ABREARQ(a, kRegistry, false, in_folder(folder, entry->name), entry->indexes)) return false;
  dbf::Table& registry = a.workspace.table(kRegistry);
  if (!text::is_blank(a.settings.CPF) && registry.seek(a.settings.CPF))
    a.settings.NOMECONTR = std::string(text::rtrim(registry.get_text("NOMECONTR")));
  else
    registry.go_top();
  registry.set_order(2);
  return true;
}

}  // namespace kx::store
