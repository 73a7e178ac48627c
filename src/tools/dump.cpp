// kxdbf dump FILE [--order EXPR] [--deleted]
#include <iostream>

#include "tools/open_table.h"
#include "tools/row_csv.h"
#include "tools/verbs.h"

namespace kx::tools {

int verb_dump(const Args& args) {
  dbf::Table table = open_table(args.at(0), dbf::OpenMode::read_only);
  const bool with_deleted = args.has("--deleted");
  table.set_deleted_visible(with_deleted);
  if (auto expr = args.value("--order")) use_order(table, *expr);
  else table.set_order(0);
  std::ios::sync_with_stdio(false);
  CsvWriter out(std::cout);
  write_header(out, table.schema(), with_deleted);
  for (table.go_top(); !table.eof(); table.skip()) write_current_row(out, table, with_deleted);
  std::cout.flush();
  return std::cout ? 0 : 1;
}

}  // namespace kx::tools
