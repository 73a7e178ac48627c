// Opening a table for a verb of kxdbf.
#pragma once

#include <string>
#include <string_view>

#include "dbf/table.h"

namespace kx::tools {

// Opens the table in `mode`, waiting up to ten seconds while another program holds it in a
// conflicting mode, and attaches the index files of its list (index_list.h), so that every
// write keeps them right. `repair` as in dbf::OpenOptions.
dbf::Table open_table(const std::string& path, dbf::OpenMode mode, bool repair = false);

// How long a verb waits for a record or file lock another program holds.
dbf::LockWait lock_wait();

}  // namespace kx::tools

namespace kx::tools {

// Whether two key expressions are the same text without regard to case and blanks.
bool same_expression(std::string_view a, std::string_view b);

// Makes the order of key expression `expr` active: an attached index file on the same
// expression (compared without regard to case and blanks) when there is one, a temporary
// index otherwise.
void use_order(dbf::Table& table, const std::string& expr);

}  // namespace kx::tools
