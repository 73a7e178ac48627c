#include "tools/row_csv.h"

#include "tools/cells.h"

namespace kx::tools {

void write_header(CsvWriter& out, const dbf::Schema& schema, bool with_mark) {
  std::vector<std::string> names;
  if (with_mark) names.emplace_back("*");
  for (const dbf::Field& f : schema.fields()) names.push_back(f.name);
  out.write(names);
}

void write_current_row(CsvWriter& out, const dbf::Table& table, bool with_mark) {
  std::vector<std::string> cells;
  if (with_mark) cells.emplace_back(table.deleted() ? "*" : "");
  for (const dbf::Field& f : table.schema().fields()) cells.push_back(cell_of(table, f));
  out.write(cells);
}

}  // namespace kx::tools
