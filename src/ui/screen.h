// The screen as the program sees it: the 25 x 80 grid, the menu bar and status bar rows, dialog
// layers, the cursor, tones and the event source. Output is buffered: flush() sends only the
// cells that changed since the last flush to the terminal.
//
// Layers: a dialog opened over a rectangle of the grid gets a layer of its own (with a title bar
// on the row above it). While it is open, output addressed to its cells goes to it and output
// elsewhere goes to the layer below; closing it shows what lay below, untouched.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/clock.h"
#include "ui/event.h"
#include "ui/grid.h"
#include "ui/terminal.h"

namespace kx::ui {

class Screen {
 public:
  Screen(Terminal& terminal, Clock& clock);

  Terminal& terminal() { return terminal_; }
  Clock& clock() { return clock_; }

  // Grid cells, rows 0-24 and columns 0-79; anything outside is ignored (reads give a blank).
  Cell at(int row, int col) const;
  void put(int row, int col, Cell c);
  // Writes CP850 text from (row, col) in `attr`, clipped at the right edge.
  void write(int row, int col, std::string_view text, unsigned char attr);
  // Writes the characters only: the attributes already there are kept.
  void write_chars(int row, int col, std::string_view text);
  void fill(Rect area, Cell c);
  // The cells of `area` row by row (clipped cells read as blanks) and their restoration.
  std::vector<Cell> save(Rect area) const;
  void restore(Rect area, const std::vector<Cell>& cells);
  // The text of a row segment (CP850).
  std::string text(int row, int col, int len) const;

  // The bars: row kMenuRow (-1) or kStatusRow (25).
  void put_bar(int row, int col, Cell c);
  void write_bar(int row, int col, std::string_view text, unsigned char attr);
  Cell bar_at(int row, int col) const;

  // Layers. open_layer returns an id; the layer starts filled with `fill` and its title bar (on
  // the row above the client rows) reads `title` (CP850) in `title_attr`. A bare layer (pull-down
  // menus, message boxes drawn with their own frame) has no title bar.
  int open_layer(Rect client, std::string_view title, Cell fill, unsigned char title_attr);
  int open_bare_layer(Rect client, Cell fill);
  void close_layer(int id);
  void set_layer_title(int id, std::string_view title, unsigned char title_attr);
  int layer_count() const { return static_cast<int>(layers_.size()); }
  // The id of the top layer (0: the grid itself) and whether a layer is still open.
  int top_layer() const { return layers_.empty() ? 0 : layers_.back().id; }
  bool has_layer(int id) const;

  // What the terminal shows (after flush) at a terminal row (0..26) and column.
  Cell shown(int terminal_row, int col) const;

  // Cursor in grid coordinates.
  void set_cursor(int row, int col);
  void show_cursor(bool visible);
  bool cursor_visible() const { return cursor_visible_; }
  int cursor_row() const { return cursor_row_; }
  int cursor_col() const { return cursor_col_; }

  void tone(int hz, int ms) { terminal_.tone(hz, ms); }

  // Sends the changed cells and the cursor to the terminal.
  void flush();
  // Forgets what the terminal shows, so that the next flush redraws everything.
  void invalidate();

  // Keys to deliver before anything the terminal reads (pasting the clipboard as keystrokes).
  void push_keys(const std::vector<int>& codes);

  // Next event within timeout_ms (negative: without limit), flushing first. A one-second tick is
  // an event of its own, due every 1000 ms of the clock. nullopt on timeout; 0 polls what was typed.
  std::optional<Event> next_event(int64_t timeout_ms);
  // Waits for a key (or, with `mouse`, also a click). Every event is first offered to the event
  // filter (the frame: menu commands, clicks on the menu bar); ticks run the tick handler; what
  // is left of other kinds is dropped.
  Event wait_input(bool mouse = false);
  int wait_key() { return wait_input(false).code; }
  void discard_input() {
    pushed_keys_.clear();
    terminal_.discard_input();
  }

  // Hooks of the frame: the status bar refreshes every second; the filter sees every event read
  // through wait_input and returns true for those it handled.
  void set_tick_handler(std::function<void()> h) { on_tick_ = std::move(h); }
  void set_event_filter(std::function<bool(const Event&)> f) { filter_ = std::move(f); }
  bool filter(const Event& e) { return filter_ && filter_(e); }
  void run_tick_handler() {
    if (on_tick_) on_tick_();
  }

 private:
  struct Layer {
    int id;
    Rect client;
    CellBlock cells;  // client rows plus the title row above them
  };
  Cell compose(int terminal_row, int col) const;
  void damage(int terminal_row, int left, int right);
  void damage(Rect grid_area);
  CellBlock* layer_at(int row, int col);
  const CellBlock* layer_at(int row, int col) const;

  Terminal& terminal_;
  Clock& clock_;
  CellBlock base_{Rect{0, 0, kRows - 1, kCols - 1}};
  CellBlock bars_[2]{CellBlock{Rect{kMenuRow, 0, kMenuRow, kCols - 1}},
                     CellBlock{Rect{kStatusRow, 0, kStatusRow, kCols - 1}}};
  std::vector<Layer> layers_;
  int next_layer_id_ = 1;

  // What the terminal shows, and per terminal row the columns changed since (left > right: none).
  std::vector<Cell> front_;
  struct Damage {
    int left = kCols, right = -1;
  };
  std::vector<Damage> damage_;
  bool front_valid_ = false;

  int cursor_row_ = 0, cursor_col_ = 0;
  bool cursor_visible_ = false;
  int sent_cursor_row_ = -1, sent_cursor_col_ = -1;
  bool sent_cursor_visible_ = false;

  std::vector<int> pushed_keys_;
  int64_t next_tick_ms_;
  std::function<void()> on_tick_;
  std::function<bool(const Event&)> filter_;
};

}  // namespace kx::ui
