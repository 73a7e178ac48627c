// What the event loop reads: keys, menu commands, the one-second tick, mouse clicks and resizes,
// each a kind of its own (menu numbers and key numbers overlap as integers).
#pragma once

#include <string>

namespace kx::ui {

enum class EventKind { kKey, kMenu, kTick, kMouse, kResize };

struct Event {
  EventKind kind = EventKind::kKey;
  int code = 0;  // kKey: the key number (keys.h); kMenu: the command number (1000-2999)
  // kMouse: the clicked cell in grid coordinates (row -1 is the menu bar, 25 the status bar) and
  // the button (1 left, 2 middle, 3 right). kResize: the new terminal size in rows and cols.
  int row = 0, col = 0, button = 1;

  static Event key(int code) { return {EventKind::kKey, code}; }
  static Event menu(int command) { return {EventKind::kMenu, command}; }
  static Event tick() { return {EventKind::kTick}; }
  static Event click(int row, int col, int button = 1) {
    return {EventKind::kMouse, 0, row, col, button};
  }
  static Event resize(int rows, int cols) { return {EventKind::kResize, 0, rows, cols}; }

  bool is_key(int c) const { return kind == EventKind::kKey && code == c; }
  friend bool operator==(const Event&, const Event&) = default;
};

// "Key Enter", "Menu 1003", "Tick", "Click 3,10", "Resize 27x80": for dumps and test messages.
std::string describe(const Event& e);

}  // namespace kx::ui
