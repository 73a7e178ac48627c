#include "ui/status_bar.h"

#include "base/text.h"
#include "ui/screen.h"

namespace kx::ui {

std::string LSBPart::cText() const {
  if (auto* s = std::get_if<std::string>(&uText)) return *s;
  const auto& action = std::get<std::function<std::string()>>(uText);
  return action ? action() : std::string();
}

LSBPart& LStatusBar::partAdd(std::string text, std::string toolTip, std::string icon, int width) {
  int w = width > 0 ? width : static_cast<int>(text.size());
  aPart.push_back(LSBPart{std::move(text), std::move(toolTip), std::move(icon), w});
  return aPart.back();
}

LSBPart& LStatusBar::partAdd(std::function<std::string()> action, int width) {
  aPart.push_back(LSBPart{std::move(action), {}, {}, width});
  return aPart.back();
}

// Parts are separated by one "│"; the first starts at column 0.
int LStatusBar::part_left(std::size_t index) const {
  int left = 0;
  for (std::size_t i = 0; i < index; ++i) left += aPart[i].nWidth + 1;
  return left;
}

void LStatusBar::draw_part(std::size_t index) {
  LSBPart& p = aPart[index];
  p.written = p.cText();
  p.drawn = true;
  int left = part_left(index);
  screen_.write_bar(kStatusRow, left, text::pad_right(p.written, static_cast<std::size_t>(p.nWidth)), kAttr);
  if (index + 1 < aPart.size()) screen_.write_bar(kStatusRow, left + p.nWidth, "\xB3", kAttr);
}

void LStatusBar::draw() {
  screen_.write_bar(kStatusRow, 0, std::string(kCols, ' '), kAttr);
  for (std::size_t i = 0; i < aPart.size(); ++i) draw_part(i);
}

void LStatusBar::refresh() {
  for (std::size_t i = 0; i < aPart.size(); ++i) {
    LSBPart& p = aPart[i];
    if (!p.drawn || p.is_action() || p.cText() != p.written) draw_part(i);
  }
}

void LStatusBar::setText(std::size_t index, std::string text) {
  if (index >= aPart.size()) return;
  aPart[index].uText = std::move(text);
  draw_part(index);
}

}  // namespace kx::ui
