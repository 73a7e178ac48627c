// A browser of rows and columns over a RowSource (a table through its index and filter, or an
// array): a heading row, a line, then one screen row per data row; frozen columns stay at the
// left while the others pan; an optional blank row after the last one stands for a new entry.
//
// Up/Down, PgUp/PgDn and Ctrl-PgUp/Ctrl-PgDn move between rows; Left/Right between columns,
// Home/End to the first/last column shown, Ctrl-Left/Ctrl-Right pan, Ctrl-Home/Ctrl-End to the
// first/last column. Every other key goes to the key handler, which says whether the browse ends
// (without a handler, Enter and Esc end it). A click on a cell moves there.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/row_source.h"
#include "ui/screen.h"

namespace kx::ui {

struct BrowseColumn {
  std::string heading;  // CP850
  int width = 10;
  std::string picture;  // mask for the value
  std::function<Value()> value;  // read at the source's current row
  // The attribute of a cell by its value (empty: the browser's colours).
  std::function<unsigned char(const Value&)> colour;
};

struct BrowseColours {
  unsigned char cell = 0x30, selected = 0x4F, heading = 0x3F, frame = 0x3F;
};

class Browser {
 public:
  Browser(Screen& screen, Rect area, RowSource& source, BrowseColours colours = {});

  std::vector<BrowseColumn> columns;
  int frozen = 0;          // columns that do not pan
  bool blank_row = false;  // a blank row after the last one
  // Keys the browser does not take; returns true to end the browse.
  std::function<bool(int key, Browser& browser)> on_key;

  // Runs until the key handler (or Enter/Esc without one) ends it; returns that key.
  int run();
  // Redraws from the source (after rows changed).
  void refresh();
  // To the row with `bookmark` and column `column` (0-based); false when the row is gone.
  bool position(long bookmark, int column);

  long row_bookmark() const { return current_; }
  int column() const { return column_; }
  bool on_blank_row() const { return on_blank_; }
  bool empty() const { return empty_; }
  int page_rows() const { return area_.height() - 2; }

  void up();
  void down();
  void page_up();
  void page_down();
  void first_row();
  void last_row();

 private:
  std::string cell_text(std::size_t c) const;
  void draw();
  // The visible columns from the first panning one: their index and left column.
  std::vector<std::pair<int, int>> layout() const;
  void ensure_column_visible();
  void stabilize();

  Screen& screen_;
  Rect area_;
  RowSource& source_;
  BrowseColours colours_;
  long current_ = 0;      // bookmark of the current row
  int row_in_page_ = 0;   // its screen row among the data rows
  int column_ = 0;
  int pan_ = 0;           // first panning column shown
  bool on_blank_ = false, empty_ = true;
};

}  // namespace kx::ui
