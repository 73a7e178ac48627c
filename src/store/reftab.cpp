#include "store/reftab.h"

#include <unistd.h>

#include <atomic>
#include <stdexcept>

#include "base/text.h"
#include "dbf/table.h"
#include "os/folder.h"
#include "os/path.h"
#include "store/catalogue.h"
#include "store/reftab_csv.h"

namespace kx::store {
namespace {

// Reference tables are the same for every terminal; the catalogue wants some terminal number.
constexpr std::string_view kAnyTerminal = "00";

TableEntry reference_entry(int table) {
  std::optional<TableEntry> entry = table_entry(table, kAnyTerminal);
  if (!entry || entry->kind != TableKind::reference)
    throw std::invalid_argument("table " + std::to_string(table) + " is not a reference table");
  if (entry->layout().has_memo())
    throw std::invalid_argument(entry->name + " has memo fields: its rows come from no list");
  return *entry;
}

// A complete new table written beside `target` under a hidden name (kept out of the program's
// wildcards), then renamed to `target`. Removed when it was not renamed.
class ScratchTable {
 public:
  ScratchTable(const std::string& target, const dbf::Schema& schema,
               const std::vector<std::string>& rows, Clock& clock)
      : target_(target) {
    static std::atomic<unsigned> counter{0};
    const std::string prefix = os::join_path(
        os::parent_of(target), "." + os::name_of(target) + ".kx~" + std::to_string(::getpid()));
    for (;;) {
      path_ = prefix + "." + std::to_string(counter++);
      try {
        dbf::Table::create(path_, schema);
        break;
      } catch (const dbf::TableError& e) {
        if (e.kind() != dbf::TableError::Kind::exists) {
          remove();  // whatever a failed create left
          throw;
        }
      }
    }
    try {
      dbf::Table table = dbf::Table::open(path_, {dbf::OpenMode::exclusive}, clock);
      for (const std::string& row : rows) table.append(row);
      table.flush();
      table.close();
    } catch (...) {
      remove();
      throw;
    }
  }
  ScratchTable(const ScratchTable&) = delete;
  ScratchTable& operator=(const ScratchTable&) = delete;
  ~ScratchTable() { remove(); }

  void rename_to_target() {
    os::rename_file(path_, target_);
    path_.clear();
  }

 private:
  void remove() noexcept {
    if (path_.empty()) return;
    try {
      os::remove_file(path_);
    } catch (...) {  // a leftover hidden file harms nobody
    }
    path_.clear();
  }

  std::string target_;
  std::string path_;
};

}  // namespace

std::vector<int> reference_tables() {
  std::vector<int> tables;
  for (int n = 1; n <= kLastTable; ++n) {
    const std::optional<TableEntry> entry = table_entry(n, kAnyTerminal);
    if (entry && entry->kind == TableKind::reference && !entry->layout().has_memo())
      tables.push_back(n);
  }
  return tables;
}

std::optional<int> reference_table_number(std::string_view name) {
  for (int n : reference_tables())
    if (text::iequals(table_entry(n, kAnyTerminal)->name, name)) return n;
  return std::nullopt;
}

std::string reference_source(const std::string& data_folder, int table) {
  return os::join_path(data_folder, reference_entry(table).name + ".csv");
}

BuildOutcome build_reference_table(const std::string& program_folder, int table,
                                   const std::string& data_folder, Clock& clock) {
  const TableEntry entry = reference_entry(table);
  const std::string target = os::join_path(program_folder, entry.data_file_name());
  if (os::find_nocase(target)) return BuildOutcome::kept;
  const std::optional<std::string> source = os::find_nocase(reference_source(data_folder, table));
  if (!source) return BuildOutcome::no_source;
  const std::vector<std::string> rows = read_reference_rows(*source, entry.layout());
  ScratchTable scratch(os::resolve_nocase(target), entry.layout(), rows, clock);
  if (os::find_nocase(target)) return BuildOutcome::kept;  // another installer was quicker
  scratch.rename_to_target();
  return BuildOutcome::created;
}

uint32_t import_reference_table(const std::string& program_folder, int table,
                                const std::string& source_file, Clock& clock) {
  const TableEntry entry = reference_entry(table);
  const std::string target = os::join_path(program_folder, entry.data_file_name());
  const std::optional<std::string> found = os::find_nocase(target);
  if (!found) throw ReftabError(target + ": no such table");
  std::optional<dbf::Table> held =
      dbf::Table::try_open(*found, {dbf::OpenMode::exclusive}, clock);
  if (!held) throw ReftabError(*found + ": in use by another terminal");
  const dbf::Schema schema = held->schema();
  const std::vector<std::string> rows = read_reference_rows(source_file, schema);
  ScratchTable scratch(*found, schema, rows, clock);
  scratch.rename_to_target();  // while the old file is still held exclusively
  held->close();
  return static_cast<uint32_t>(rows.size());
}

}  // namespace kx::store
