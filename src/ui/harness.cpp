#include "ui/harness.h"

#include "base/cp850.h"

namespace kx::ui {

DateTime ScreenHarness::default_start() { return DateTime{*Date::from_ymd(2015, 3, 2), 10, 0, 0}; }

ScreenHarness::ScreenHarness(DateTime start)
    : clock(start), terminal(clock), screen(terminal, clock), frame(screen, colours),
      windows(screen, colours), messages(windows, frame) {
  frame.QZBASELSETUP();
  screen.flush();
}

Cell ScreenHarness::cell(int row, int col) {
  screen.flush();
  return terminal.cell(row + 1, col);
}

std::string ScreenHarness::text(int row, int col, int len) {
  screen.flush();
  std::string out;
  for (int c = col; c < col + len && c < kCols; ++c) out += static_cast<char>(terminal.cell(row + 1, c).ch);
  return cp850::to_utf8(out);
}

unsigned char ScreenHarness::attr(int row, int col) { return cell(row, col).attr; }

int ScreenHarness::cursor_row() {
  screen.flush();
  return terminal.cursor_row() - 1;
}

int ScreenHarness::cursor_col() {
  screen.flush();
  return terminal.cursor_col();
}

bool ScreenHarness::cursor_visible() {
  screen.flush();
  return terminal.cursor_visible();
}

std::string ScreenHarness::dump() {
  screen.flush();
  return terminal.dump();
}

}  // namespace kx::ui
