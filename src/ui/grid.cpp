#include "ui/grid.h"

namespace kx::ui {

CellBlock::CellBlock(Rect area, Cell fill) : area_(area) {
  if (area_.empty()) area_ = {0, 0, -1, -1};
  cells_.assign(static_cast<std::size_t>(area_.empty() ? 0 : area_.height() * area_.width()), fill);
}

Cell CellBlock::at(int row, int col) const {
  if (!contains(row, col)) return {};
  return cells_[static_cast<std::size_t>((row - area_.top) * area_.width() + (col - area_.left))];
}

void CellBlock::put(int row, int col, Cell c) {
  if (!contains(row, col)) return;
  cells_[static_cast<std::size_t>((row - area_.top) * area_.width() + (col - area_.left))] = c;
}

}  // namespace kx::ui
