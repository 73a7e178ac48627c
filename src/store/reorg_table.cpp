#include "store/reorg_table.h"

#include "os/path.h"
#include "store/access_files.h"

namespace kx::store {

Rebuilt rebuild_table(Access& a, std::string_view file, const std::vector<IndexFile>& indexes,
                      int seconds, const dbf::Schema* layout) {
  const detail::TableFiles f(file, indexes);
  if (!os::find_nocase(f.data)) {
    if (!layout) return Rebuilt::missing;
    try {
      dbf::Table::create(f.data, *layout);
    } catch (const dbf::TableError& e) {
      if (e.kind() != dbf::TableError::Kind::exists) throw;
    }
  }
  std::optional<dbf::Table> table;
  try {
    table = detail::open_waiting(a, f.data, dbf::OpenMode::exclusive, seconds);
  } catch (const dbf::TableError& e) {
    if (e.kind() == dbf::TableError::Kind::not_found) return Rebuilt::missing;
    throw;
  }
  if (!table) {
    detail::tell_unavailable(a, f.stem);
    return Rebuilt::in_use;
  }
  for (const std::string& name : f.index_names) detail::progress_index(a, name);
  table->attach_indexes(f.specs);
  table->pack();  // rebuilds every attached index file from the packed data
  table->close();
  return Rebuilt::done;
}

}  // namespace kx::store
