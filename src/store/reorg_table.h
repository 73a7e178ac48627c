// Packing one table and rebuilding its index files, holding it exclusively.
#pragma once

#include <string_view>
#include <vector>

#include "store/access.h"

namespace kx::store {

enum class Rebuilt {
  done,     // packed, every index file built again
  missing,  // no data file (or no memo file it needs): nothing done
  in_use,   // another terminal holds it beyond the wait: told, nothing done
};

// Opens `file` (as ABREARQ takes it) exclusively, waiting up to `seconds`, packs it and builds
// every index file of `indexes` again. With `layout` a missing table is created first.
Rebuilt rebuild_table(Access& a, std::string_view file, const std::vector<IndexFile>& indexes,
                      int seconds, const dbf::Schema* layout = nullptr);

}  // namespace kx::store
