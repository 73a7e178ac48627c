// Pieces shared by the operations of the access layer (not for callers outside it).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dbf/table.h"
#include "store/access.h"

namespace kx::store::detail {

// The names behind a table given as ABREARQ receives it.
struct TableFiles {
  TableFiles(std::string_view file, const std::vector<IndexFile>& indexes);
  std::string stem;     // the path without extension (CP850)
  std::string named;    // the path as the messages name it: with ".dbf" when it had no extension
  std::string data;     // the data file for the file system
  std::string alias;    // the name without folder and extension
  std::vector<std::string> index_names;  // CP850 paths without extension, for the messages
  std::vector<dbf::IndexSpec> specs;     // for the table engine
};

// One attempt to open a second (through `clock`) for up to `seconds` (0: without limit);
// nullopt when another open still holds the table in a conflicting mode.
std::optional<dbf::Table> open_waiting(Access& a, const std::string& data, dbf::OpenMode mode,
                                       int seconds);

// The progress message, when MOS_MENS is on.
void progress(Access& a, std::string_view text);
// "Criando o indice " + name + ".cdx", cut to the width of the message line.
void progress_index(Access& a, std::string_view index_name);
// The box for a table another terminal holds: stem + ".DBF não está disponível ".
void tell_unavailable(Access& a, std::string_view stem);

}  // namespace kx::store::detail
