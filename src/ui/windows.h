// The ten numbered text windows, the stack of saved screen regions and the origin registers.
//
// A window's text is one string: characters 1, 2 and 3 switch among the window's three colours,
// and character 4 followed by a count and a character stands for that character repeated (REP).
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "ui/colour.h"
#include "ui/grid.h"
#include "ui/screen.h"

namespace kx::ui {

struct WindowEntry {
  int id = 0;
  std::string colour1, colour2, colour3;  // colour strings
  int top = 1, left = 1, bottom = 25, right = 80;
  int type = 0;  // 0 none, 1 frame around the text area, 2 frame on the rectangle, 7 shadow
  std::string text;  // the last text written, colour codes removed and runs expanded
};

// The run marker: character 4 and the count; the character to repeat follows it.
std::string REP(int count);

inline constexpr std::string_view kBoxChars = "\xDA\xC4\xBF\xB3\xD9\xC4\xC0\xB3";  // ┌─┐│┘─└│
inline constexpr unsigned char kShadeChar = 0xB0;                               // ░

class Windows {
 public:
  static constexpr int kCount = 10;
  static constexpr int kMessageWindow = 10;
  static constexpr int kDirectionUp = 129;  // MOVEVER up / MOVEHOR left

  // Every window as DEFINEJAN(i, 48, 112, 7, 1, 1, 25, 80, 0) defines it.
  Windows(Screen& screen, ColourSettings& colours);

  Screen& screen() { return screen_; }
  ColourSettings& colours() { return colours_; }
  // nullptr for an id outside 1..10.
  WindowEntry* entry(int id);

  void DEFINEJAN(int id, int c1, int c2, int c3, int top, int left, int bottom, int right, int type) {
    REDEFJAN(id, c1, c2, c3, top, left, bottom, right, type);
  }
  void REDEFJAN(int id, int c1, int c2, int c3, int top, int left, int bottom, int right, int type);
  // id 0 means the message window; role 1-3.
  void REDFATR(int id, int role, int attr);
  void ABREJAN(int id);
  // Restores what lay under the window, unless the dialog it was opened in has been closed.
  void FECHAJAN(int id);
  bool is_open(int id) const;
  void ESCRJAN(int id, std::string_view text);
  void ESCRLCOL(int id, int row, int col, std::string_view text);
  void ESCRATR(int id, int row, int col, int attr, int len);
  void MOVEVER(int id, int direction);
  void MOVEHOR(int id, int direction);
  void ENCHETELA(unsigned char ch, std::string_view colour);

  // Run expansion of a window text (step 1 of ESCRJAN).
  static std::string expand_runs(std::string_view text);

  // Origin registers of the screens.
  std::array<int, 23> ALJ{}, ACJ{}, ALJA{}, ACJA{};
  std::array<int, 12> ALJB{}, ACJB{};
  int NT = 0, NTA = 0, NTB = 0;

 private:
  struct Saved {
    int id;
    Rect area;
    std::vector<Cell> cells;
    int layer;  // the dialog it was saved in: gone with it, it is not restored elsewhere
  };
  Rect saved_area(const WindowEntry& w) const;
  int wrap_column(const WindowEntry& w) const;
  void draw_box(Rect r, unsigned char attr);
  void reset_text_colours();
  void move(int id, int drow, int dcol);

  Screen& screen_;
  ColourSettings& colours_;
  std::array<WindowEntry, kCount> entries_;
  std::vector<Saved> saved_;
};

}  // namespace kx::ui
