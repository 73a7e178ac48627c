// Push buttons: a caption on one row of a dialog, chosen with Enter or a click.
#pragma once

#include <string>
#include <vector>

#include "ui/grid.h"

namespace kx::ui {

class Screen;

struct LButton {
  int nTop = 0, nLeft = 0;
  std::string cCaption;  // CP850
  int nId = 0;           // 1-based, in order of creation
  bool lHasFocus = false;

  int nRight() const { return nLeft + static_cast<int>(cCaption.size()) + 1; }  // "[" caption "]"
  bool hit(int row, int col) const { return row == nTop && col >= nLeft && col <= nRight(); }
  void draw(Screen& screen, unsigned char attr, unsigned char focus_attr) const;
};

// Which button of `buttons` is at (row, col); 0 for none, else its nId.
int button_at(const std::vector<LButton>& buttons, int row, int col);

}  // namespace kx::ui
