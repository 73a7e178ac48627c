#include "ui/row_source.h"

#include <algorithm>

namespace kx::ui {

long ArraySource::skip(long n) {
  if (rows_.empty()) return 0;
  long target = std::clamp(row_ + n, 0L, static_cast<long>(rows_.size()) - 1);
  long moved = target - row_;
  row_ = target;
  return moved;
}

const Value& ArraySource::cell(std::size_t c) const {
  static const Value kBlank = std::string();
  if (row_ < 0 || row_ >= static_cast<long>(rows_.size()) || c >= rows_[static_cast<std::size_t>(row_)].size()) {
    return kBlank;
  }
  return rows_[static_cast<std::size_t>(row_)][c];
}

}  // namespace kx::ui
