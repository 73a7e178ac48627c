#include "ui/screen.h"

#include <algorithm>

namespace kx::ui {

Screen::Screen(Terminal& terminal, Clock& clock)
    : terminal_(terminal),
      clock_(clock),
      front_(static_cast<std::size_t>(kTerminalRows * kCols)),
      damage_(kTerminalRows),
      next_tick_ms_(clock.monotonic_ms() + 1000) {
  invalidate();
}

const CellBlock* Screen::layer_at(int row, int col) const {
  for (auto it = layers_.rbegin(); it != layers_.rend(); ++it) {
    if (it->client.contains(row, col)) return &it->cells;
  }
  return row >= 0 && row < kRows ? &base_ : nullptr;
}

CellBlock* Screen::layer_at(int row, int col) {
  return const_cast<CellBlock*>(static_cast<const Screen*>(this)->layer_at(row, col));
}

Cell Screen::at(int row, int col) const {
  if (row < 0 || row >= kRows || col < 0 || col >= kCols) return {};
  return layer_at(row, col)->at(row, col);
}

void Screen::put(int row, int col, Cell c) {
  if (row < 0 || row >= kRows || col < 0 || col >= kCols) return;
  layer_at(row, col)->put(row, col, c);
  damage(row + 1, col, col);
}

void Screen::write(int row, int col, std::string_view text, unsigned char attr) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    put(row, col + static_cast<int>(i), Cell{static_cast<unsigned char>(text[i]), attr});
  }
}

void Screen::write_chars(int row, int col, std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    int c = col + static_cast<int>(i);
    put(row, c, Cell{static_cast<unsigned char>(text[i]), at(row, c).attr});
  }
}

void Screen::fill(Rect area, Cell c) {
  for (int r = area.top; r <= area.bottom; ++r) {
    for (int col = area.left; col <= area.right; ++col) put(r, col, c);
  }
}

std::vector<Cell> Screen::save(Rect area) const {
  std::vector<Cell> out;
  if (area.empty()) return out;
  out.reserve(static_cast<std::size_t>(area.height() * area.width()));
  for (int r = area.top; r <= area.bottom; ++r) {
    for (int c = area.left; c <= area.right; ++c) out.push_back(at(r, c));
  }
  return out;
}

void Screen::restore(Rect area, const std::vector<Cell>& cells) {
  std::size_t i = 0;
  for (int r = area.top; r <= area.bottom; ++r) {
    for (int c = area.left; c <= area.right && i < cells.size(); ++c) put(r, c, cells[i++]);
  }
}

std::string Screen::text(int row, int col, int len) const {
  std::string out;
  for (int i = 0; i < len; ++i) out += static_cast<char>(at(row, col + i).ch);
  return out;
}

void Screen::put_bar(int row, int col, Cell c) {
  if (row != kMenuRow && row != kStatusRow) return;
  bars_[row == kMenuRow ? 0 : 1].put(row, col, c);
  damage(row + 1, col, col);
}

void Screen::write_bar(int row, int col, std::string_view text, unsigned char attr) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    put_bar(row, col + static_cast<int>(i), Cell{static_cast<unsigned char>(text[i]), attr});
  }
}

Cell Screen::bar_at(int row, int col) const {
  if (row != kMenuRow && row != kStatusRow) return {};
  return bars_[row == kMenuRow ? 0 : 1].at(row, col);
}

namespace {
Rect clip_to_grid(Rect r) {
  return {std::max(r.top, 0), std::max(r.left, 0), std::min(r.bottom, kRows - 1),
          std::min(r.right, kCols - 1)};
}
}  // namespace

int Screen::open_layer(Rect client, std::string_view title, Cell fill, unsigned char title_attr) {
  client = clip_to_grid(client);
  Rect block{client.top - 1, client.left, client.bottom, client.right};
  layers_.push_back(Layer{next_layer_id_++, client, CellBlock{block, fill}});
  set_layer_title(layers_.back().id, title, title_attr);
  damage(block);
  return layers_.back().id;
}

int Screen::open_bare_layer(Rect client, Cell fill) {
  client = clip_to_grid(client);
  layers_.push_back(Layer{next_layer_id_++, client, CellBlock{client, fill}});
  damage(client);
  return layers_.back().id;
}

void Screen::push_keys(const std::vector<int>& codes) {
  pushed_keys_.insert(pushed_keys_.end(), codes.begin(), codes.end());
}

void Screen::set_layer_title(int id, std::string_view title, unsigned char title_attr) {
  for (auto& l : layers_) {
    if (l.id != id || !l.cells.contains(l.client.top - 1, l.client.left)) continue;
    int row = l.client.top - 1;
    for (int c = l.client.left; c <= l.client.right; ++c) {
      l.cells.put(row, c, Cell{' ', title_attr});
    }
    // " title" on the left, the minimise box on the right.
    for (std::size_t i = 0; i < title.size(); ++i) {
      int c = l.client.left + 1 + static_cast<int>(i);
      if (c >= l.client.right - 1) break;
      l.cells.put(row, c, Cell{static_cast<unsigned char>(title[i]), title_attr});
    }
    if (l.client.width() > 2) l.cells.put(row, l.client.right, Cell{'_', title_attr});
    damage(row + 1, l.client.left, l.client.right);
  }
}

bool Screen::has_layer(int id) const {
  return id == 0 || std::any_of(layers_.begin(), layers_.end(), [&](const Layer& l) { return l.id == id; });
}

void Screen::close_layer(int id) {
  auto it = std::find_if(layers_.begin(), layers_.end(), [&](const Layer& l) { return l.id == id; });
  if (it == layers_.end()) return;
  Rect a = it->cells.area();
  layers_.erase(it);
  damage(a);
}

Cell Screen::compose(int terminal_row, int col) const {
  int row = terminal_row - 1;
  for (auto it = layers_.rbegin(); it != layers_.rend(); ++it) {
    if (it->cells.contains(row, col)) return it->cells.at(row, col);
  }
  if (row == kMenuRow || row == kStatusRow) return bar_at(row, col);
  return base_.at(row, col);
}

Cell Screen::shown(int terminal_row, int col) const {
  if (terminal_row < 0 || terminal_row >= kTerminalRows || col < 0 || col >= kCols) return {};
  return front_[static_cast<std::size_t>(terminal_row * kCols + col)];
}

void Screen::damage(int terminal_row, int left, int right) {
  if (terminal_row < 0 || terminal_row >= kTerminalRows) return;
  auto& d = damage_[static_cast<std::size_t>(terminal_row)];
  d.left = std::max(0, std::min(d.left, left));
  d.right = std::min(kCols - 1, std::max(d.right, right));
}

void Screen::damage(Rect a) {
  for (int r = a.top; r <= a.bottom; ++r) damage(r + 1, a.left, a.right);
}

void Screen::set_cursor(int row, int col) {
  cursor_row_ = std::clamp(row, 0, kRows - 1);
  cursor_col_ = std::clamp(col, 0, kCols - 1);
}

void Screen::show_cursor(bool visible) { cursor_visible_ = visible; }

void Screen::invalidate() {
  front_valid_ = false;
  for (auto& d : damage_) d = Damage{0, kCols - 1};
  sent_cursor_row_ = -1;
}

void Screen::flush() {
  bool sent = false;
  for (int tr = 0; tr < kTerminalRows; ++tr) {
    auto& d = damage_[static_cast<std::size_t>(tr)];
    // Runs of changed cells within the damaged columns.
    int c = d.left;
    while (c <= d.right) {
      Cell now = compose(tr, c);
      Cell& old = front_[static_cast<std::size_t>(tr * kCols + c)];
      if (front_valid_ && now == old) {
        ++c;
        continue;
      }
      std::vector<Cell> run;
      int start = c;
      while (c <= d.right) {
        Cell n = compose(tr, c);
        Cell& o = front_[static_cast<std::size_t>(tr * kCols + c)];
        if (front_valid_ && n == o) break;
        o = n;
        run.push_back(n);
        ++c;
      }
      terminal_.draw(tr, start, run);
      sent = true;
    }
    d = Damage{};
  }
  front_valid_ = true;
  if (sent || sent_cursor_row_ != cursor_row_ + 1 || sent_cursor_col_ != cursor_col_ ||
      sent_cursor_visible_ != cursor_visible_) {
    terminal_.set_cursor(cursor_row_ + 1, cursor_col_, cursor_visible_);
    sent_cursor_row_ = cursor_row_ + 1;
    sent_cursor_col_ = cursor_col_;
    sent_cursor_visible_ = cursor_visible_;
    sent = true;
  }
  if (sent) terminal_.present();
}

std::optional<Event> Screen::next_event(int64_t timeout_ms) {
  if (!pushed_keys_.empty()) {
    int code = pushed_keys_.front();
    pushed_keys_.erase(pushed_keys_.begin());
    return Event::key(code);
  }
  int64_t start = clock_.monotonic_ms();
  bool polled = false;  // a timeout of 0 still reads what was typed
  for (;;) {
    int64_t now = clock_.monotonic_ms();
    if (now >= next_tick_ms_) {
      // A clock that jumped far ahead gives one tick, not a burst.
      next_tick_ms_ = std::max(next_tick_ms_ + 1000, now + 1);
      return Event::tick();
    }
    int64_t wait = next_tick_ms_ - now;
    if (timeout_ms >= 0) {
      int64_t left = start + timeout_ms - now;
      if (left < 0 || (left == 0 && polled)) return std::nullopt;
      wait = std::min(wait, left);
    }
    flush();
    if (auto e = terminal_.read(wait)) {
      if (e->kind == EventKind::kResize) invalidate();
      return e;
    }
    polled = true;
  }
}

Event Screen::wait_input(bool mouse) {
  for (;;) {
    auto e = next_event(-1);
    if (!e) continue;
    if (filter(*e)) continue;
    switch (e->kind) {
      case EventKind::kKey:
        return *e;
      case EventKind::kMouse:
        if (mouse) return *e;
        break;
      case EventKind::kTick:
        run_tick_handler();
        break;
      case EventKind::kMenu:
      case EventKind::kResize:
        break;
    }
  }
}

}  // namespace kx::ui
