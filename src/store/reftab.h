// The reference tables delivered with the program (codes of assets, debts, payments, the SELIC
// register, the consistency-check messages, ...), built from their text sources and reloaded
// from an office's list.
//
// A source is a UTF-8 CSV file: a header line with field names of the table (any case, in any
// order; a field left out stays blank), then one line per row. Fields separated by ",", a value
// holding a comma, a quote or a line break enclosed in double quotes with inner quotes doubled.
// Character values become CP850; numbers are written with "." before the decimals.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/clock.h"

namespace kx::store {

// A source that cannot be loaded, or a table that cannot be replaced. The message names the file
// and, for a bad row, its line and field.
class ReftabError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Numbers of the reference tables whose rows can come from a source: every reference table
// without memo fields, in number order.
std::vector<int> reference_tables();

// The reference table with this file name (any case: "tabmuni" is 64); nullopt for any other.
std::optional<int> reference_table_number(std::string_view name);

// The source of reference table `table` inside `data_folder`: the table's file name + ".csv"
// ("CODBENS.csv", "LisErro.csv").
std::string reference_source(const std::string& data_folder, int table);

enum class BuildOutcome {
  created,    // the table did not exist and was built from its source
  kept,       // a table of that name exists (in any case): left as it is
  no_source,  // the data folder has no source for it: nothing built
};

// Builds reference table `table` in `program_folder` from its source in `data_folder`. The rows
// are written into a new file beside the table, which is renamed to the table's name only when
// complete, so a table is either absent or whole. An existing table is never touched. Throws
// ReftabError for a bad source, std::invalid_argument for a number that is not a reference table
// (or one with memo fields, whose rows come from no list); a failure of the file system as the
// table engine reports it.
BuildOutcome build_reference_table(const std::string& program_folder, int table,
                                   const std::string& data_folder, Clock& clock);

// Replaces every row of reference table `table` in `program_folder` with the rows of
// `source_file` and returns their count. The table keeps its fields; every row of the source is
// checked against them before anything changes. The table is held exclusively while a complete
// new file is written beside it and renamed over it, so other terminals see the old rows or the
// new ones, never a mixture. Throws ReftabError (the table unchanged) for a bad source, a missing
// table, or a table in use by another terminal; std::invalid_argument as build_reference_table;
// a damaged table or a failure of the file system as the table engine reports it.
uint32_t import_reference_table(const std::string& program_folder, int table,
                                const std::string& source_file, Clock& clock);

}  // namespace kx::store
