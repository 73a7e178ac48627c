// Rows for a browser: the rows of a table through its active index and filter, or of an array.
// The browser moves the source and reads its columns at the current row.
#pragma once

#include <vector>

#include "ui/value.h"

namespace kx::ui {

class RowSource {
 public:
  virtual ~RowSource() = default;
  // To the first / last row; false when there are none.
  virtual bool go_top() = 0;
  virtual bool go_bottom() = 0;
  // Moves up to n rows (negative: back) and returns how many it moved (with the sign).
  virtual long skip(long n) = 0;
  // The identity of the current row (a record number) and the way back to it; go_to is false
  // when that row is gone (deleted, filtered out).
  virtual long bookmark() const = 0;
  virtual bool go_to(long bookmark) = 0;
};

// The rows of an array: bookmark i is row i (0-based).
class ArraySource : public RowSource {
 public:
  explicit ArraySource(std::vector<std::vector<Value>> rows) : rows_(std::move(rows)) {}

  bool go_top() override { return at_(0); }
  bool go_bottom() override { return at_(static_cast<long>(rows_.size()) - 1); }
  long skip(long n) override;
  long bookmark() const override { return row_; }
  bool go_to(long b) override { return at_(b); }

  // The value of column `c` at the current row (blank text when missing).
  const Value& cell(std::size_t c) const;
  std::vector<std::vector<Value>>& rows() { return rows_; }

 private:
  bool at_(long r) {
    if (r < 0 || r >= static_cast<long>(rows_.size())) return false;
    row_ = r;
    return true;
  }
  std::vector<std::vector<Value>> rows_;
  long row_ = 0;
};

}  // namespace kx::ui
