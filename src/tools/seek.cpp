// kxdbf seek FILE EXPR KEY [--soft] [--exact]
#include <iostream>

#include "base/cp850.h"
#include "tools/open_table.h"
#include "tools/row_csv.h"
#include "tools/verbs.h"

namespace kx::tools {

int verb_seek(const Args& args) {
  if (args.has("--soft") && args.has("--exact"))
    throw UsageError("--soft and --exact exclude each other");
  const dbf::SeekMode mode = args.has("--soft")    ? dbf::SeekMode::soft
                             : args.has("--exact") ? dbf::SeekMode::exact
                                                   : dbf::SeekMode::prefix;
  dbf::Table table = open_table(args.at(0), dbf::OpenMode::read_only);
  use_order(table, args.at(1));
  table.seek(cp850::from_utf8(args.at(2)), mode);
  if (table.eof()) {
    std::cerr << "kxdbf seek: no row with key \"" << args.at(2) << "\"\n";
    return 1;
  }
  CsvWriter out(std::cout);
  write_header(out, table.schema(), false);
  write_current_row(out, table, false);
  return 0;
}

}  // namespace kx::tools
