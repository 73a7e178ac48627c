// The catalogue of table numbers: for each number the table's file, folder, opening mode and
// index files. Every part of the program that opens, creates, reindexes or names a table by its
// number asks this catalogue; nothing else spells a table's file or index names.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dbf/schema.h"

namespace kx::store {

enum class TableKind {
  declaration,   // 1..20, a work folder's tables
  working_copy,  // 21..40, the declaration editor's per-terminal copies of tables 1..20
  system,        // created by the program when missing
  reference,     // delivered with the program; a missing one is reported, never created
};

enum class TableFolder { work, auxiliary, program };

enum class Sharing {
  shared,     // always opened shared
  exclusive,  // always opened exclusively
  as_asked,   // exclusively when the caller asks, shared otherwise
};

struct IndexFile {
  std::string name;  // file name without folder and extension
  std::string key;   // key expression
  std::string file_name() const { return name + ".CDX"; }
};

struct TableEntry {
  int number = 0;
  TableKind kind = TableKind::system;
  TableFolder folder = TableFolder::program;
  std::string name;  // file name without folder and extension; also the alias of the open table
  Sharing sharing = Sharing::shared;
  // In opening order: the first is the active order after opening (1 primary, 2 "B", 3 "C").
  // Empty for a working copy: the declaration editor gives each copy its own key.
  std::vector<IndexFile> indexes;
  bool needs_memo_file = false;   // opened only when its memo file exists beside it
  bool seeds_folder_row = false;  // an empty table gets a row for the program folder, selected
  bool single_record = false;     // holds exactly one record, appended with its initial values

  std::string data_file_name() const { return name + ".DBF"; }
  // The layout to create the file with, or to check it against; for a reference table the
  // layout of the delivered file.
  const dbf::Schema& layout() const;
};

inline constexpr int kLastTable = 75;

// The entry of table `number`; nullopt for a number without a table (0, 71, beyond 75).
// `terminal` is the two-digit terminal number that per-terminal file names carry; anything else
// throws std::invalid_argument.
std::optional<TableEntry> table_entry(int number, std::string_view terminal);

// The index files of table `number` in opening order; empty for a table without index or a
// number without a table.
std::vector<IndexFile> index_files(int number, std::string_view terminal);

// "IMP" + n as two digits + year as two digits: IMP0115 for table 1 of this year's tables.
std::string declaration_table_name(int n, int year = 15);

// "TMP_" + table as two digits + terminal: TMP_0407 for table 4 (slot 24) on terminal 07.
// `n` is 1..20 or its slot 21..40.
std::string working_copy_name(int n, std::string_view terminal);

// The index file of order 1..3 of a table that names no file of its own: the table's name for
// the first, its name upper-cased followed by "B" or "C" for the second and third.
std::string default_index_name(std::string_view table_name, int order);

}  // namespace kx::store
