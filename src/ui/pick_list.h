// A list of texts in a rectangle with a highlight bar (the choice of one item).
#pragma once

#include <string>
#include <vector>

#include "ui/screen.h"

namespace kx::ui {

class PickList {
 public:
  PickList(Screen& screen, Rect area, std::vector<std::string> items, unsigned char attr,
           unsigned char selected_attr);

  // Runs from item `start` (1-based). Up/Down, PgUp/PgDn, Home/End, Ctrl-PgUp/Ctrl-PgDn move;
  // a letter goes to the next item that begins with it; Enter or a click chooses. Returns the
  // item chosen (1-based) or 0 after Esc.
  int run(int start = 1);
  int current() const { return current_ + 1; }

 private:
  void draw();
  int rows() const { return area_.height(); }

  Screen& screen_;
  Rect area_;
  std::vector<std::string> items_;
  unsigned char attr_, selected_attr_;
  int current_ = 0, top_ = 0;
};

}  // namespace kx::ui
