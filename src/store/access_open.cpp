// Opening a table file in a slot: NETUSE and ABREARQ.
#include <stdexcept>

#include "base/cp850.h"
#include "os/path.h"
#include "store/access.h"
#include "store/access_files.h"
#include "store/folder.h"
#include "store/layout.h"

namespace kx::store {
namespace detail {

TableFiles::TableFiles(std::string_view file, const std::vector<IndexFile>& indexes) {
  const std::string name = TIRA_DIR(file);
  const auto dot = name.rfind('.');
  const bool has_extension = dot != std::string::npos;
  stem = std::string(file.substr(0, file.size() - (has_extension ? name.size() - dot : 0)));
  named = has_extension ? std::string(file) : stem + ".dbf";
  data = fs_path(has_extension ? std::string(file) : stem + ".DBF");
  alias = TIRA_DIR(stem);
  const std::string folder = stem.substr(0, stem.size() - alias.size());
  for (std::size_t i = 0; i < indexes.size(); ++i) {
    const std::string index_name =
        folder + (indexes[i].name.empty() ? default_index_name(alias, static_cast<int>(i) + 1)
                                          : indexes[i].name);
    index_names.push_back(index_name);
    specs.push_back({indexes[i].key, fs_path(index_name + ".CDX")});
  }
}

std::optional<dbf::Table> open_waiting(Access& a, const std::string& data, dbf::OpenMode mode,
                                       int seconds) {
  const int64_t started = a.clock.monotonic_ms();
  for (;;) {
    if (auto table = dbf::Table::try_open(data, {mode}, a.clock)) return table;
    if (seconds > 0 && a.clock.monotonic_ms() - started >= int64_t{seconds} * 1000)
      return std::nullopt;
    a.clock.sleep_ms(1000);
  }
}

void progress(Access& a, std::string_view text) {
  if (a.settings.MOS_MENS) a.op.show_message(text);
}

void progress_index(Access& a, std::string_view index_name) {
  std::string text = std::string("Criando o indice "_cp) + std::string(index_name) + ".cdx";
  if (text.size() > 79) text.resize(79);
  progress(a, text);
}

void tell_unavailable(Access& a, std::string_view stem) {
  a.op.message_box({std::string(stem) + std::string(".DBF não está disponível "_cp)});
}

}  // namespace detail

using detail::TableFiles;

namespace {

bool file_exists(const std::string& fs) { return os::find_nocase(fs).has_value(); }

// The slot's table serves a request for `data` when it is that very file, open in a mode that
// allows what was asked.
bool serves(const OpenTable& held, const std::string& data, bool exclusive) {
  const auto mode = held.table.mode();
  const bool compatible = mode == dbf::OpenMode::exclusive ||
                          (mode == dbf::OpenMode::shared && !exclusive);
  return compatible && same_file(held.table.path(), data);
}

// Opens the slot's table again in `exclusive` mode (nothing when it already is); false after
// the box when another terminal holds it.
bool reopen(Access& a, int slot, const TableFiles& f, bool exclusive) {
  const auto wanted = exclusive ? dbf::OpenMode::exclusive : dbf::OpenMode::shared;
  if (a.workspace.table(slot).mode() == wanted) return true;
  const std::string alias = a.workspace.held(slot)->alias;
  a.workspace.close(slot);
  auto table = detail::open_waiting(a, f.data, wanted, kOpenWaitSeconds);
  if (!table) {
    detail::tell_unavailable(a, f.stem);
    return false;
  }
  a.workspace.put(slot, {std::move(*table), alias});
  return true;
}

}  // namespace

bool NETUSE(Access& a, std::string_view file, bool exclusive, int seconds) {
  const TableFiles f(file, {});
  const std::string alias = a.settings.APELIDO.empty() ? f.alias : a.settings.APELIDO;
  const int slot = a.workspace.current();
  if (OpenTable* held = a.workspace.held(slot); held && serves(*held, f.data, exclusive)) {
    held->alias = alias;
    return true;
  }
  a.workspace.close(slot);
  auto table = detail::open_waiting(
      a, f.data, exclusive ? dbf::OpenMode::exclusive : dbf::OpenMode::shared, seconds);
  if (!table) return false;
  a.workspace.put(slot, {std::move(*table), alias});
  return true;
}

bool ABREARQ(Access& a, int slot, bool exclusive, std::string_view file,
             const std::vector<IndexFile>& indexes) {
  if (indexes.size() > 3) throw std::invalid_argument("a table has at most three index files");
  a.workspace.close(slot);
  a.workspace.select(slot);
  const TableFiles f(file, indexes);
  detail::progress(a, std::string("Verificando o Arquivo "_cp) + std::string(file));

  if (!file_exists(f.data)) {
    const dbf::Schema* layout = creation_layout(slot);
    if (!layout) {
      a.op.message_box({std::string("Arquivo "_cp) + f.named + std::string(" não localizado!"_cp)});
      return false;
    }
    detail::progress(a, f.named + std::string(" não localizado está  sendo criado "_cp));
    try {
      dbf::Table::create(f.data, *layout);
    } catch (const dbf::TableError& e) {
      // Another terminal created it in the meantime.
      if (e.kind() != dbf::TableError::Kind::exists) throw;
    }
  }

  if (!NETUSE(a, file, exclusive, kOpenWaitSeconds)) {
    detail::tell_unavailable(a, f.stem);
    return false;
  }
  if (indexes.empty()) return true;

  const bool rebuild = a.settings.REFAZ_IND;
  std::vector<bool> missing;
  for (const dbf::IndexSpec& wanted : f.specs) missing.push_back(!file_exists(wanted.file));

  if (missing[0] || rebuild) {
    // Index files are built holding the table exclusively, so that no two terminals build
    // them at once and no deleted record survives into them.
    if (!reopen(a, slot, f, true)) return false;
    dbf::Table& table = a.workspace.table(slot);
    if (missing[0]) table.pack();
    for (std::size_t i = 0; i < f.specs.size(); ++i)
      if (missing[i] || rebuild) detail::progress_index(a, f.index_names[i]);
    table.attach_indexes(f.specs);
    if (rebuild) table.reindex();
    if (!reopen(a, slot, f, exclusive)) return false;
  } else {
    for (std::size_t i = 1; i < f.specs.size(); ++i)
      if (missing[i]) detail::progress_index(a, f.index_names[i]);
  }
  dbf::Table& table = a.workspace.table(slot);
  if (table.index_count() == 0) table.attach_indexes(f.specs);
  return true;
}

}  // namespace kx::store
