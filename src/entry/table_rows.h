// The rows of a table for a browser (ui/browser.h): the records of the table's active order that
// are not deleted and that a filter accepts, walked as the list screens walk them (SKIPPED). A
// row's bookmark is its record number. Cells are read from the table's current record, so every
// draw shows what other terminals have written meanwhile.
//
// The blank row after the last one (a list's row for a new entry) is the browser's: with its
// `blank_row` set it is offered when the rows end (skip forward from the last row moves 0).
#pragma once

#include <string>
#include <string_view>

#include "dbf/table.h"
#include "ui/browser.h"
#include "ui/row_source.h"
#include "ui/value.h"

namespace kx::entry {

class TableRows : public ui::RowSource {
 public:
  // `filter` (empty: every row) is the table's filter for the life of the rows; afterwards the
  // table has none. The table must outlive the rows.
  explicit TableRows(dbf::Table& table, dbf::Table::Filter filter = {});
  ~TableRows() override;
  TableRows(const TableRows&) = delete;
  TableRows& operator=(const TableRows&) = delete;

  bool go_top() override;
  bool go_bottom() override;
  long skip(long n) override;
  long bookmark() const override;
  // False, and nowhere in particular, when the record does not exist, is deleted or is refused
  // by the filter.
  bool go_to(long bookmark) override;

  // To the first row whose key in the active index is `key` (typed text, dbf::Table::seek) or
  // follows it; false when no row does. Throws dbf::TableError without an active index.
  bool seek(std::string_view key);

  // The value of `field` at the current row: text as stored, number, date, logical, or the text
  // of a memo.
  ui::Value value(dbf::FieldRef field) const;
  // A browser column of `field`. Without a picture, a number shows in the field's own shape
  // (width and decimals, aligned right). The width is that of the value shown, or of the
  // heading when wider.
  ui::BrowseColumn column(dbf::FieldRef field, std::string heading, std::string picture = {});

  dbf::Table& table() { return table_; }

 private:
  dbf::Table& table_;
  dbf::Table::Filter filter_;
};

}  // namespace kx::entry
