// Moving rows between tables by field name, and the delimited text form of a table.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dbf/table.h"

namespace kx::dbf {

// What a transfer did. A value that did not fit its field is left blank in the row written
// and reported in `problems` ("record 12: field VALOR: value 123456.78 does not fit N 6,2");
// it is never stored cut or as "*".
struct TransferResult {
  uint32_t rows = 0;        // rows written
  uint32_t overflows = 0;   // values that did not fit
  std::vector<std::string> problems;
};

struct CopyOptions {
  Table::Filter for_filter;    // rows copied only when it holds (empty: every row)
  Table::Filter while_filter;  // the copy stops at the first row where it fails
};

// Creates `dest` (refusing to overwrite, as Table::create) with the fields of `source` and
// copies the visible rows of `source` in its active order, memo texts included.
TransferResult copy_to(Table& source, const std::string& dest, const CopyOptions& options = {});

// Appends to `dest` the visible rows of `source` (in its active order) for which `filter`
// holds, field by field by name: fields missing on either side are skipped, character fields
// cut or padded, numbers rounded to the destination's decimals, a number that does not fit
// reported. Types must agree by name (a field of another type is skipped and reported once).
TransferResult append_from(Table& dest, Table& source, const Table::Filter& filter = {});

// Writes the visible rows of `table` in its active order to `file` (replaced in one step) in
// the dBASE delimited form: fields in table order separated by ",", character values without
// trailing blanks in double quotes, numbers without leading blanks, dates yyyymmdd, logicals
// T or F, memo fields left out, lines ended by CR LF.
TransferResult export_delimited(Table& table, const std::string& file);

// Appends the lines of a delimited file to `table`: values in field order (memo fields left
// out), as far as each line's values go; text in double quotes (a doubled quote inside is one
// quote), numbers with "." for decimals, dates yyyymmdd. A value that does not fit or cannot
// be read is reported and left blank. A final 0x1A is ignored.
TransferResult import_delimited(Table& table, const std::string& file);

}  // namespace kx::dbf
