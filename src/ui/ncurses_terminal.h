// The real terminal, through ncursesw: CP850 cells shown as UTF-8, 16 colours (bright
// backgrounds where the terminal has 16 colours), the palette changes where it can change
// colours, mouse clicks, the bell for tones, raw keys (Ctrl-C, Ctrl-S and Ctrl-Q reach the
// program), and resizes. A terminal smaller than 27 x 80 is asked to grow; until it is large
// enough it shows a notice and keys are not taken.
#pragma once

#include <map>
#include <memory>

#include "base/clock.h"
#include "ui/terminal.h"

struct screen;  // ncurses

namespace kx::ui {

class NcursesTerminal : public Terminal {
 public:
  // Takes over the terminal (stdin/stdout) until destroyed; throws std::runtime_error when the
  // terminal cannot be opened.
  explicit NcursesTerminal(Clock& clock);
  ~NcursesTerminal() override;
  NcursesTerminal(const NcursesTerminal&) = delete;
  NcursesTerminal& operator=(const NcursesTerminal&) = delete;

  void draw(int row, int col, std::span<const Cell> cells) override;
  void set_cursor(int row, int col, bool visible) override;
  void present() override;
  std::optional<Event> read(int64_t timeout_ms) override;
  void discard_input() override;
  void tone(int hz, int ms) override;
  void set_palette(int index, Rgb rgb) override;
  // Written out with OSC 52; read with wl-paste or xclip where a display has them.
  void set_clipboard(std::string_view text) override;
  std::optional<std::string> clipboard() override;

 private:
  bool large_enough() const;
  void show_size_notice();
  short pair_for(unsigned char attr);
  std::optional<Event> translate(int status, wint_t ch);
  std::optional<Event> read_after_escape();

  Clock& clock_;
  ::screen* screen_ = nullptr;  // the ncurses SCREEN
  bool small_ = false;
  bool colours16_ = false;
  std::map<int, short> pairs_;
  short next_pair_ = 1;
  int64_t last_bell_ms_ = -1000;
  std::map<int, int> extended_keys_;  // ncurses key code -> key number
};

}  // namespace kx::ui
