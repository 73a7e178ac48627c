// kxdbf append FILE [--shared] [--verbose]: rows of CSV from standard input.
#include <iostream>

#include "base/text.h"
#include "tools/cells.h"
#include "base/csv.h"
#include "tools/open_table.h"
#include "tools/verbs.h"

namespace kx::tools {

namespace {

// A row ready to append: record bytes (deleted flag included) plus the memo texts to store
// after it.
struct Row {
  std::string record;
  std::vector<std::pair<const dbf::Field*, std::string>> memos;
};

// The header's columns as fields of the schema; nullptr for the deleted-mark column "*".
std::vector<const dbf::Field*> columns_of(const std::vector<std::string>& header,
                                          const dbf::Schema& schema) {
  std::vector<const dbf::Field*> columns;
  bool mark_seen = false;
  for (const std::string& name : header) {
    if (name == "*") {
      if (mark_seen) throw CsvError("line 1: column \"*\" given twice");
      mark_seen = true;
      columns.push_back(nullptr);
      continue;
    }
    const dbf::Field* f = schema.find(text::trim(name));
    if (!f) throw CsvError("line 1: column \"" + name + "\" is not a field of the table");
    for (const dbf::Field* c : columns)
      if (c == f) throw CsvError("line 1: column \"" + name + "\" given twice");
    columns.push_back(f);
  }
  return columns;
}

// Reads and checks every row before anything is written.
std::vector<Row> read_rows(std::istream& in, const dbf::Table& table) {
  CsvReader reader(in);
  std::vector<std::string> cells;
  if (!reader.next(cells)) throw CsvError("no header line on standard input");
  const auto columns = columns_of(cells, table.schema());
  std::vector<Row> rows;
  while (reader.next(cells)) {
    const std::string where = "line " + std::to_string(reader.line()) + ": ";
    if (cells.size() != columns.size())
      throw CsvError(where + std::to_string(cells.size()) + " values for " +
                     std::to_string(columns.size()) + " columns");
    Row row{table.blank_record(), {}};
    for (std::size_t i = 0; i < cells.size(); ++i) {
      const dbf::Field* f = columns[i];
      if (!f) {
        if (!cells[i].empty() && cells[i] != "*")
          throw CsvError(where + "column \"*\" holds \"" + cells[i] + "\" (\"*\" or empty)");
        if (cells[i] == "*") row.record[0] = '*';
        continue;
      }
      try {
        Value v = parse_cell(*f, cells[i]);
        if (f->type == dbf::FieldType::memo) {
          if (!v.blank) row.memos.emplace_back(f, std::move(v.text));
        } else {
          put_value(row.record, *f, v);
        }
      } catch (const CellError& e) {
        throw CsvError(where + e.what());
      }
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace

int verb_append(const Args& args) {
  const bool shared = args.has("--shared");
  const bool verbose = args.has("--verbose");
  dbf::Table table = open_table(args.at(0), shared ? dbf::OpenMode::shared : dbf::OpenMode::exclusive);
  std::vector<Row> rows = read_rows(std::cin, table);
  // A shared open writes each row at once; an exclusive one batches until close().
  std::vector<uint32_t> written;
  for (Row& row : rows) {
    // A row with memo texts is appended marked deleted and recalled once its memos are
    // stored, so that a process killed in between never leaves the row without them.
    const bool staged = !row.memos.empty() && row.record[0] != '*';
    if (staged) row.record[0] = '*';
    const uint32_t recno = table.append(row.record, lock_wait());
    if (recno == 0)
      throw dbf::TableError(dbf::TableError::Kind::in_use,
                            "the table stays locked by another program; " +
                                std::to_string(written.size()) + " of " +
                                std::to_string(rows.size()) + " rows were appended");
    for (const auto& [field, memo] : row.memos) table.set_memo(std::string_view(field->name), memo);
    table.commit();
    if (staged) table.recall();
    written.push_back(recno);
    if (shared) {
      table.unlock_record(recno);
      if (verbose) std::cout << recno << std::endl;
    }
  }
  table.close();
  if (verbose && !shared)
    for (uint32_t recno : written) std::cout << recno << '\n';
  return 0;
}

}  // namespace kx::tools
