#include "ui/pick_list.h"

#include <algorithm>

#include "base/cp850.h"
#include "base/text.h"
#include "ui/keys.h"

namespace kx::ui {

PickList::PickList(Screen& screen, Rect area, std::vector<std::string> items, unsigned char attr,
                   unsigned char selected_attr)
    : screen_(screen), area_(area), items_(std::move(items)), attr_(attr), selected_attr_(selected_attr) {}

void PickList::draw() {
  int n = static_cast<int>(items_.size());
  if (current_ < top_) top_ = current_;
  if (current_ >= top_ + rows()) top_ = current_ - rows() + 1;
  for (int r = 0; r < rows(); ++r) {
    int i = top_ + r;
    std::string line = i < n ? items_[static_cast<std::size_t>(i)] : "";
    screen_.write(area_.top + r, area_.left, text::pad_right(line, static_cast<std::size_t>(area_.width())),
                  i == current_ ? selected_attr_ : attr_);
  }
}

int PickList::run(int start) {
  int n = static_cast<int>(items_.size());
  if (n == 0) return 0;
  current_ = std::clamp(start - 1, 0, n - 1);
  bool cursor = screen_.cursor_visible();
  screen_.show_cursor(false);
  int result = -1;
  while (result < 0) {
    draw();
    Event e = screen_.wait_input(true);
    if (e.kind == EventKind::kMouse) {
      if (area_.contains(e.row, e.col) && top_ + e.row - area_.top < n) {
        current_ = top_ + e.row - area_.top;
        result = current_ + 1;
      }
      continue;
    }
    switch (e.code) {
      case key::kUp: current_ = std::max(current_ - 1, 0); break;
      case key::kDown: current_ = std::min(current_ + 1, n - 1); break;
      case key::kPgUp: current_ = std::max(current_ - rows(), 0); break;
      case key::kPgDn: current_ = std::min(current_ + rows(), n - 1); break;
      case key::kHome: case key::kCtrlPgUp: current_ = 0; break;
      case key::kEnd: case key::kCtrlPgDn: current_ = n - 1; break;
      case key::kEnter: result = current_ + 1; break;
      case key::kEsc: result = 0; break;
      default:
        if (unsigned char c = key::character(e.code)) {
          unsigned char u = cp850::upper(c);
          for (int k = 1; k <= n; ++k) {
            int i = (current_ + k) % n;
            std::string_view item = text::ltrim(items_[static_cast<std::size_t>(i)]);
            if (!item.empty() && cp850::upper(static_cast<unsigned char>(item[0])) == u) {
              current_ = i;
              break;
            }
          }
        }
    }
  }
  draw();
  screen_.show_cursor(cursor);
  return result;
}

}  // namespace kx::ui
