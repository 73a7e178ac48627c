// The index files kxdbf attaches to a table. A table file carries no list of its index files,
// so kxdbf keeps one beside it: a text file named like the table with the extension ".kxi"
// (T.DBF -> T.kxi), one line per index file in attach order: the file name relative to the
// table's folder, a tab, the key expression. A table without a list has no index files.
#pragma once

#include <string>
#include <vector>

#include "dbf/table.h"

namespace kx::tools {

std::string index_list_path(const std::string& table_path);

// The list with every file as a path (the table's folder prepended). Throws std::runtime_error
// on a line that has no tab.
std::vector<dbf::IndexSpec> read_index_list(const std::string& table_path);

// Replaces the list in one step; an empty list removes the file.
void write_index_list(const std::string& table_path, const std::vector<dbf::IndexSpec>& specs);

// The index file name a table's n-th (0-based) index gets by default: the table's name with
// ".CDX", "B.CDX", "C.CDX" (lower case when the table's extension is lower case).
std::string default_index_file(const std::string& table_path, int n);

}  // namespace kx::tools
