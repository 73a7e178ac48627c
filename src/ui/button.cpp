#include "ui/button.h"

#include "ui/screen.h"

namespace kx::ui {

void LButton::draw(Screen& screen, unsigned char attr, unsigned char focus_attr) const {
  unsigned char a = lHasFocus ? focus_attr : attr;
  screen.write(nTop, nLeft, "[" + cCaption + "]", a);
}

int button_at(const std::vector<LButton>& buttons, int row, int col) {
  for (const auto& b : buttons) {
    if (b.hit(row, col)) return b.nId;
  }
  return 0;
}

}  // namespace kx::ui
