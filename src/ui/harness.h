// Everything a headless test of a screen needs: a virtual clock, the memory terminal, the screen,
// the colour settings, the frame (set up), the window table and the message operations.
//
//   ScreenHarness h;
//   h.type("<F1>SIL<Enter>");
//   ... run the screen ...
//   EXPECT_EQ(h.text(3, 10, 5), "Total");
//
// A screen that asks for more keys than the script holds throws ScriptExhausted with a dump of
// the screen.
#pragma once

#include <string>
#include <string_view>

#include "base/clock.h"
#include "ui/colour.h"
#include "ui/frame.h"
#include "ui/memory_terminal.h"
#include "ui/messages.h"
#include "ui/screen.h"
#include "ui/windows.h"

namespace kx::ui {

class ScreenHarness {
 public:
  // Starts on 02/03/2015 at 10:00:00 unless told otherwise.
  explicit ScreenHarness(DateTime start = default_start());

  void type(std::string_view script) { terminal.feed(script); }

  // What the terminal shows, in grid coordinates (row -1 is the menu bar, 25 the status bar),
  // as UTF-8. Flushes first.
  std::string text(int row, int col = 0, int len = kCols);
  std::string row_text(int row) { return text(row, 0, kCols); }
  unsigned char attr(int row, int col);
  Cell cell(int row, int col);
  // Cursor in grid coordinates.
  int cursor_row();
  int cursor_col();
  bool cursor_visible();
  std::string dump();

  static DateTime default_start();

  VirtualClock clock;
  MemoryTerminal terminal;
  Screen screen;
  ColourSettings colours;
  Frame frame;
  Windows windows;
  Messages messages;
};

}  // namespace kx::ui
