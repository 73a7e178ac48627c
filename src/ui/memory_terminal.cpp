#include "ui/memory_terminal.h"

#include <algorithm>
#include <cstdio>

#include "base/cp850.h"

namespace kx::ui {
namespace {
// Reads that return nothing without time passing: beyond this a program is polling in a loop.
constexpr int kIdleReadLimit = 100000;
}  // namespace

MemoryTerminal::MemoryTerminal(VirtualClock& clock)
    : clock_(clock), cells_(static_cast<std::size_t>(kTerminalRows * kCols)) {}

void MemoryTerminal::draw(int row, int col, std::span<const Cell> cells) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    int c = col + static_cast<int>(i);
    if (row < 0 || row >= kTerminalRows || c < 0 || c >= kCols) continue;
    cells_[static_cast<std::size_t>(row * kCols + c)] = cells[i];
    ++cells_drawn_;
  }
}

void MemoryTerminal::set_cursor(int row, int col, bool visible) {
  cursor_row_ = row;
  cursor_col_ = col;
  cursor_visible_ = visible;
}

Cell MemoryTerminal::cell(int terminal_row, int col) const {
  if (terminal_row < 0 || terminal_row >= kTerminalRows || col < 0 || col >= kCols) return {};
  return cells_[static_cast<std::size_t>(terminal_row * kCols + col)];
}

void MemoryTerminal::feed(std::string_view script) {
  for (auto& item : parse_key_script(script)) script_.push_back(std::move(item));
}

std::optional<Event> MemoryTerminal::read(int64_t timeout_ms) {
  if (script_.empty()) {
    // A poll finds nothing typed; only a read that would wait has run out of keys.
    if (timeout_ms == 0 && ++idle_reads_ <= kIdleReadLimit) return std::nullopt;
    throw ScriptExhausted("key script ran out; screen:\n" + dump());
  }
  if (auto* wait = std::get_if<ScriptWait>(&script_.front())) {
    int64_t step = timeout_ms < 0 ? wait->ms : std::min(wait->ms, timeout_ms);
    if (step > 0) {
      clock_.advance_ms(step);
      idle_reads_ = 0;
    } else if (++idle_reads_ > kIdleReadLimit) {
      throw ScriptExhausted("program polls without waiting; screen:\n" + dump());
    }
    wait->ms -= step;
    if (wait->ms <= 0) script_.pop_front();
    return std::nullopt;
  }
  idle_reads_ = 0;
  Event e = std::get<Event>(script_.front());
  script_.pop_front();
  if (on_key && e.kind == EventKind::kKey) on_key(e);
  return e;
}

std::string MemoryTerminal::dump() const {
  std::string out;
  for (int r = 0; r < kTerminalRows; ++r) {
    char label[8];
    std::snprintf(label, sizeof label, "%3d |", r - 1);
    std::string line;
    for (int c = 0; c < kCols; ++c) {
      unsigned char ch = cells_[static_cast<std::size_t>(r * kCols + c)].ch;
      line += static_cast<char>(ch < 32 ? ' ' : ch);
    }
    out += label + cp850::to_utf8(line) + "|\n";
  }
  out += "cursor " + std::to_string(cursor_row_ - 1) + "," + std::to_string(cursor_col_) +
         (cursor_visible_ ? " shown" : " hidden") + "; script left:";
  for (const auto& item : script_) {
    if (auto* e = std::get_if<Event>(&item)) {
      out += " [" + describe(*e) + "]";
    } else {
      out += " [Wait " + std::to_string(std::get<ScriptWait>(item).ms) + "]";
    }
  }
  return out + "\n";
}

}  // namespace kx::ui
