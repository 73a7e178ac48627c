// Character cells: a CP850 byte and an attribute byte (background x 16 + foreground).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace kx::ui {

inline constexpr int kRows = 25, kCols = 80;  // the program's grid: rows 0-24, columns 0-79
inline constexpr int kTerminalRows = kRows + 2;  // menu bar + grid + status bar
inline constexpr int kMenuRow = -1, kStatusRow = kRows;  // the bars in grid coordinates

struct Cell {
  unsigned char ch = ' ';
  unsigned char attr = 0x07;
  friend bool operator==(Cell, Cell) = default;
};

// Inclusive rectangle of cells.
struct Rect {
  int top = 0, left = 0, bottom = kRows - 1, right = kCols - 1;
  bool contains(int row, int col) const {
    return row >= top && row <= bottom && col >= left && col <= right;
  }
  int height() const { return bottom - top + 1; }
  int width() const { return right - left + 1; }
  bool empty() const { return bottom < top || right < left; }
  friend bool operator==(Rect, Rect) = default;
};

// A rectangle of cells with its own origin; reads and writes outside it are ignored (a read gives
// a blank cell).
class CellBlock {
 public:
  CellBlock() = default;
  explicit CellBlock(Rect area, Cell fill = {});
  const Rect& area() const { return area_; }
  bool contains(int row, int col) const { return area_.contains(row, col); }
  Cell at(int row, int col) const;
  void put(int row, int col, Cell c);

 private:
  Rect area_{0, 0, -1, -1};
  std::vector<Cell> cells_;
};

}  // namespace kx::ui
