// Rebuilding index files and packing tables: REORG of a work folder and the command
// "Reindexar Dados" (REINDEXA). Whatever rebuilds or removes a table's files holds that table
// exclusively first; a table another terminal holds is skipped with the message
// file + ".DBF não está disponível " and left as it was.
#pragma once

#include <string_view>

#include "store/access.h"

namespace kx::store {

enum class ReorgMode {
  declarations = 3,  // the declaration tables of the folder
  with_system = 4,   // also packs the system tables when the folder is the program folder
};

// When the folder holds any ".cdx" file, every declaration table 1..20 of it is packed and its
// index files rebuilt (a missing table is created with its layout); a folder without index
// files is left untouched. False when the folder does not exist or a table had to be skipped.
bool REORG(Access& a, std::string_view folder, ReorgMode mode);

// "Reindexar Dados": after the operator agrees, removes the working copies no terminal holds,
// rebuilds the index files of the program folder's tables and REORGs every folder of the folder
// list, then runs the start-up check and switches the registry back to LOCARQ. The folder list
// stays open (and claimed) throughout. False when refused or when the start-up check fails.
bool REINDEXA(Access& a);

}  // namespace kx::store
