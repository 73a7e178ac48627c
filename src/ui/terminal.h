// The back end of the screen: a terminal of kTerminalRows x kCols cells (row 0 the menu bar, rows
// 1-25 the grid, row 26 the status bar) that receives changed cells and delivers events.
// Implementations: NcursesTerminal (a real terminal) and MemoryTerminal (tests).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "ui/event.h"
#include "ui/grid.h"

namespace kx::ui {

struct Rgb {
  int r = 0, g = 0, b = 0;
};

class Terminal {
 public:
  virtual ~Terminal() = default;
  // Shows `cells` from (row, col) of the terminal; the row is a terminal row (0..26).
  virtual void draw(int row, int col, std::span<const Cell> cells) = 0;
  // Terminal row and column; hidden when !visible.
  virtual void set_cursor(int row, int col, bool visible) = 0;
  // Ends a batch of draws: what was drawn becomes visible.
  virtual void present() = 0;
  // Next event, waiting at most timeout_ms (negative: without limit). nullopt on timeout.
  virtual std::optional<Event> read(int64_t timeout_ms) = 0;
  // Drops keys typed ahead.
  virtual void discard_input() = 0;
  // A tone of `hz` for `ms` milliseconds (a bell where tones are impossible).
  virtual void tone(int hz, int ms) = 0;
  // Changes colour `index` (0-15) where the terminal allows.
  virtual void set_palette(int index, Rgb rgb) = 0;
  // The system clipboard, where one is reachable (CP850 text).
  virtual void set_clipboard(std::string_view text) = 0;
  virtual std::optional<std::string> clipboard() = 0;
};

}  // namespace kx::ui
