// The status bar of a window: parts laid out left to right on the terminal's last row. A part's
// text is a text or an action whose result is the text (refreshed every second).
#pragma once

#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace kx::ui {

class Screen;

struct LSBPart {
  std::variant<std::string, std::function<std::string()>> uText;
  std::string cToolTip, cIcon;
  int nWidth = 0;  // 0: the text's length when the part was added
  std::string written;  // what was last drawn
  bool drawn = false;

  std::string cText() const;
  bool is_action() const { return uText.index() == 1; }
};

class LStatusBar {
 public:
  static constexpr unsigned char kAttr = 0x70;  // N/W

  explicit LStatusBar(Screen& screen) : screen_(screen) {}

  LSBPart& partAdd(std::string text, std::string toolTip = {}, std::string icon = {}, int width = 0);
  LSBPart& partAdd(std::function<std::string()> action, int width);
  std::vector<LSBPart>& parts() { return aPart; }
  bool has_parts() const { return !aPart.empty(); }

  // Draws every part on the status row.
  void draw();
  // The one-second refresh: rewrites parts whose text changed since they were drawn, and every
  // part whose text is an action.
  void refresh();
  // setText of part `index` (0-based), drawn at once.
  void setText(std::size_t index, std::string text);
  void reset() { aPart.clear(); }

 private:
  void draw_part(std::size_t index);
  int part_left(std::size_t index) const;

  Screen& screen_;
  std::vector<LSBPart> aPart;
};

}  // namespace kx::ui
