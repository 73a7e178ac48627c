// Rows of a table as CSV lines: a header line of field names, then one line per record.
#pragma once

#include "dbf/table.h"
#include "base/csv.h"

namespace kx::tools {

// `with_mark` adds a first column "*" that holds "*" for a deleted record.
void write_header(CsvWriter& out, const dbf::Schema& schema, bool with_mark);
void write_current_row(CsvWriter& out, const dbf::Table& table, bool with_mark);

}  // namespace kx::tools
