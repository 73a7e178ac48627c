// The terminal of tests: keeps the cells it was sent, the cursor, the tones and the palette, and
// plays a key script. Waiting in the script advances a VirtualClock; a read with the script used
// up throws ScriptExhausted carrying a dump of the screen, so that a test never hangs.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/clock.h"
#include "ui/key_script.h"
#include "ui/terminal.h"

namespace kx::ui {

class ScriptExhausted : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Tone {
  int hz = 0, ms = 0;
  friend bool operator==(Tone, Tone) = default;
};

class MemoryTerminal : public Terminal {
 public:
  explicit MemoryTerminal(VirtualClock& clock);

  void draw(int row, int col, std::span<const Cell> cells) override;
  void set_cursor(int row, int col, bool visible) override;
  void present() override { ++presents_; }
  std::optional<Event> read(int64_t timeout_ms) override;
  // Scripted keys are typed as the program asks for them, so nothing is typed ahead to drop.
  void discard_input() override {}
  void tone(int hz, int ms) override { tones_.push_back({hz, ms}); }
  void set_palette(int index, Rgb rgb) override { palette_[index] = rgb; }
  void set_clipboard(std::string_view text) override { clipboard_ = std::string(text); }
  std::optional<std::string> clipboard() override { return clipboard_; }

  void feed(std::string_view script);
  void feed(const Event& e) { script_.emplace_back(e); }
  bool script_done() const { return script_.empty(); }

  Cell cell(int terminal_row, int col) const;
  int cursor_row() const { return cursor_row_; }
  int cursor_col() const { return cursor_col_; }
  bool cursor_visible() const { return cursor_visible_; }
  std::vector<Tone>& tones() { return tones_; }
  const std::map<int, Rgb>& palette() const { return palette_; }
  std::optional<std::string>& system_clipboard() { return clipboard_; }
  // Cells sent to the terminal so far (to prove that flushing sends only changes).
  long cells_drawn() const { return cells_drawn_; }
  int presents() const { return presents_; }

  // Called before each key is delivered, with the screen flushed: tests look at what a modal
  // operation shows while it waits.
  std::function<void(const Event&)> on_key;

  // The whole terminal as UTF-8 text with row numbers, the cursor and what is left of the script.
  std::string dump() const;

 private:
  VirtualClock& clock_;
  std::vector<Cell> cells_;
  int cursor_row_ = 0, cursor_col_ = 0;
  bool cursor_visible_ = false;
  std::vector<Tone> tones_;
  std::map<int, Rgb> palette_;
  std::optional<std::string> clipboard_;
  std::deque<ScriptItem> script_;
  long cells_drawn_ = 0;
  int presents_ = 0;
  int idle_reads_ = 0;
};

}  // namespace kx::ui
