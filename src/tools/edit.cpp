// kxdbf set FILE --where NAME=VALUE NAME=VALUE... and kxdbf delete FILE --where NAME=VALUE:
// changes of selected rows of a shared table, each under its record lock.
#include <functional>
#include <iostream>

#include "base/text.h"
#include "tools/cells.h"
#include "tools/open_table.h"
#include "tools/verbs.h"

namespace kx::tools {

namespace {

struct Assignment {
  const dbf::Field* field;
  Value value;
};

Assignment parse_assignment(const dbf::Schema& schema, std::string_view word) {
  const auto eq = word.find('=');
  if (eq == std::string_view::npos || eq == 0)
    throw UsageError("\"" + std::string(word) + "\" is not NAME=VALUE");
  const dbf::Field* f = schema.find(word.substr(0, eq));
  if (!f) throw UsageError("no field " + std::string(word.substr(0, eq)) + " in the table");
  return {f, parse_cell(*f, word.substr(eq + 1))};
}

// Visits every row whose field holds the --where value, with its record lock held and the
// record read again after locking (another program may have changed it meanwhile). Returns the
// number of rows visited.
uint32_t for_each_match(dbf::Table& table, const Assignment& where,
                        const std::function<void()>& change) {
  uint32_t count = 0;
  table.set_order(0);
  for (table.go_top(); !table.eof(); table.skip()) {
    if (!holds(table, *where.field, where.value)) continue;
    const uint32_t recno = table.recno();
    if (!table.lock_record(recno, lock_wait()))
      throw dbf::TableError(dbf::TableError::Kind::in_use,
                            "record " + std::to_string(recno) + " stays locked by another program");
    if (!table.deleted() && holds(table, *where.field, where.value)) {
      change();
      table.commit();
      ++count;
    }
    table.unlock_record(recno);
  }
  return count;
}

}  // namespace

int verb_set(const Args& args) {
  dbf::Table table = open_table(args.at(0), dbf::OpenMode::shared);
  const auto where_word = args.value("--where");
  if (!where_word) throw UsageError("--where NAME=VALUE is needed");
  const Assignment where = parse_assignment(table.schema(), *where_word);
  std::vector<Assignment> changes;
  for (std::size_t i = 1; i < args.positional().size(); ++i)
    changes.push_back(parse_assignment(table.schema(), args.at(i)));
  if (changes.empty()) throw UsageError("nothing to set (NAME=VALUE after the --where)");
  const uint32_t n = for_each_match(table, where, [&] {
    for (const Assignment& a : changes) set_value(table, *a.field, a.value);
  });
  table.close();
  std::cout << n << (n == 1 ? " row changed\n" : " rows changed\n");
  return 0;
}

int verb_delete(const Args& args) {
  dbf::Table table = open_table(args.at(0), dbf::OpenMode::shared);
  const auto where_word = args.value("--where");
  if (!where_word) throw UsageError("--where NAME=VALUE is needed");
  const Assignment where = parse_assignment(table.schema(), *where_word);
  const uint32_t n = for_each_match(table, where, [&] { table.delete_record(); });
  table.close();
  std::cout << n << (n == 1 ? " row deleted\n" : " rows deleted\n");
  return 0;
}

}  // namespace kx::tools
