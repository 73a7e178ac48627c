#include "shell/install.h"

#include <cstdlib>

#include "dbf/table.h"
#include "os/error.h"
#include "os/folder.h"
#include "os/path.h"
#include "store/catalogue.h"
#include "store/layout.h"
#include "store/layout_defaults.h"
#include "store/reftab.h"

namespace kx::shell {
namespace {

// Tables named after a terminal are made by the program when that terminal first needs them.
bool per_terminal(const store::TableEntry& e) {
  return store::table_entry(e.number, "01")->name != store::table_entry(e.number, "02")->name;
}

// Opens the table of `e` in `folder` exclusively and, when `initial` is not empty, appends it
// as its first record; the index files are built then.
void fill_new_table(const std::string& folder, const store::TableEntry& e,
                    std::string_view initial, Clock& clock) {
  const std::string path = os::join_path(folder, e.data_file_name());
  dbf::Table t = dbf::Table::open(path, {dbf::OpenMode::exclusive}, clock);
  if (!initial.empty()) t.append(initial);
  std::vector<dbf::IndexSpec> specs;
  for (const store::IndexFile& index : e.indexes)
    specs.push_back({index.key, os::join_path(folder, index.file_name())});
  t.attach_indexes(specs);
  t.close();
}

// Creates the table of `e` in `folder` with its index files; false when it exists. A table cut
// short by a kill after its creation is empty: the program appends a single-record table's
// record when it finds it empty, and builds missing index files when it opens it.
bool create_table(const std::string& folder, const store::TableEntry& e, Clock& clock) {
  const std::string path = os::join_path(folder, e.data_file_name());
  if (os::find_nocase(path)) return false;
  try {
    dbf::Table::create(path, e.layout());
  } catch (const dbf::TableError& error) {
    if (error.kind() == dbf::TableError::Kind::exists) return false;  // another installer
    throw;
  }
  fill_new_table(folder, e,
                 e.single_record ? store::shared_settings_initial_record() : std::string(), clock);
  return true;
}

void record(InstallReport& report, const std::string& name, bool created) {
  (created ? report.created : report.kept).push_back(name);
}

}  // namespace

InstallReport install_program_folder(const std::string& folder, const std::string& data_folder,
                                     Clock& clock) {
  const os::CreateFoldersResult made = os::create_folders(folder);
  if (!made.ok()) throw os::Error("create folder", made.failed_level, made.code);
  InstallReport report;
  for (int n = store::kLastWorkingCopy + 1; n <= store::kLastTable; ++n) {
    const std::optional<store::TableEntry> e = store::table_entry(n, "00");
    if (e && e->kind == store::TableKind::system && !per_terminal(*e))
      record(report, e->data_file_name(), create_table(folder, *e, clock));
  }
  for (int n : store::reference_tables()) {
    const store::TableEntry e = *store::table_entry(n, "00");
    const std::string name = e.data_file_name();
    switch (store::build_reference_table(folder, n, data_folder, clock)) {
      case store::BuildOutcome::created:
        fill_new_table(folder, e, {}, clock);
        report.created.push_back(name);
        break;
      case store::BuildOutcome::kept: report.kept.push_back(name); break;
      case store::BuildOutcome::no_source: report.no_source.push_back(name); break;
    }
  }
  for (int n = 1; n <= store::kDeclarationTables; ++n) {
    const store::TableEntry e = *store::table_entry(n, "00");
    record(report, e.data_file_name(), create_table(folder, e, clock));
  }
  return report;
}

std::string data_folder() {
  const char* set = std::getenv("KAPRIX_DATA");
  return set && *set ? set : KX_DATA_DIR;
}

}  // namespace kx::shell
