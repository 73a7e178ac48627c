#include "ui/browser.h"

#include <algorithm>

#include "base/text.h"
#include "ui/keys.h"
#include "ui/picture.h"

namespace kx::ui {

Browser::Browser(Screen& screen, Rect area, RowSource& source, BrowseColours colours)
    : screen_(screen), area_(area), source_(source), colours_(colours) {
  refresh();
}

void Browser::refresh() {
  empty_ = !source_.go_to(current_) && !source_.go_top();
  if (empty_) {
    on_blank_ = blank_row;
    row_in_page_ = 0;
    return;
  }
  current_ = source_.bookmark();
}

std::string Browser::cell_text(std::size_t c) const {
  const BrowseColumn& col = columns[c];
  if (!col.value) return std::string(static_cast<std::size_t>(col.width), ' ');
  Value v = col.value();
  Picture p = Picture::parse(col.picture);
  std::string s;
  if (auto* t = std::get_if<std::string>(&v)) s = format(p, *t);
  else if (auto* d = std::get_if<Decimal>(&v)) s = format(p, *d);
  else if (auto* dt = std::get_if<Date>(&v)) s = format(p, *dt);
  else s.assign(1, std::get<bool>(v) ? 'S' : 'N');
  return text::pad_right(s, static_cast<std::size_t>(col.width));
}

std::vector<std::pair<int, int>> Browser::layout() const {
  std::vector<std::pair<int, int>> out;
  int x = area_.left;
  auto place = [&](int c) {
    if (x > area_.right) return false;
    out.emplace_back(c, x);
    x += columns[static_cast<std::size_t>(c)].width + 1;
    return true;
  };
  for (int c = 0; c < frozen && c < static_cast<int>(columns.size()); ++c) place(c);
  for (int c = std::max(pan_, frozen); c < static_cast<int>(columns.size()); ++c) {
    if (!place(c)) break;
  }
  return out;
}

void Browser::ensure_column_visible() {
  column_ = std::clamp(column_, 0, std::max(0, static_cast<int>(columns.size()) - 1));
  if (column_ < frozen) return;
  if (column_ < pan_) pan_ = column_;
  for (;;) {
    auto l = layout();
    bool shown = false;
    for (auto [c, x] : l) {
      if (c == column_ && x + columns[static_cast<std::size_t>(c)].width - 1 <= area_.right) shown = true;
    }
    if (shown || pan_ >= column_) return;
    ++pan_;
  }
}

// Finds the top row from the current one, keeping the current row's place on the page when the
// rows above allow it.
void Browser::stabilize() {
  row_in_page_ = std::clamp(row_in_page_, 0, page_rows() - 1);
  if (empty_) return;
  source_.go_to(current_);
  long back = -source_.skip(-row_in_page_);
  row_in_page_ = static_cast<int>(back) + (on_blank_ ? 1 : 0);
  row_in_page_ = std::min(row_in_page_, page_rows() - 1);
}

void Browser::draw() {
  ensure_column_visible();
  auto l = layout();
  const int data_top = area_.top + 2;
  screen_.fill({area_.top, area_.left, area_.top + 1, area_.right}, Cell{' ', colours_.heading});
  for (auto [c, x] : l) {
    const auto& col = columns[static_cast<std::size_t>(c)];
    std::string h = text::pad_right(col.heading, static_cast<std::size_t>(col.width));
    screen_.write(area_.top, x, h.substr(0, static_cast<std::size_t>(std::max(0, area_.right - x + 1))), colours_.heading);
  }
  for (int x = area_.left; x <= area_.right; ++x) screen_.put(area_.top + 1, x, Cell{0xC4, colours_.frame});
  // From the top row down.
  bool have = !empty_ && source_.go_to(current_);
  if (have && !on_blank_) source_.skip(-row_in_page_);
  else if (have && on_blank_) source_.skip(-(row_in_page_ - 1));
  bool blank_drawn = false, past_end = empty_;
  for (int r = 0; r < page_rows(); ++r) {
    int y = data_top + r;
    screen_.fill({y, area_.left, y, area_.right}, Cell{' ', colours_.cell});
    bool is_current = r == row_in_page_;
    if (!past_end) {
      for (auto [c, x] : l) {
        std::string s = cell_text(static_cast<std::size_t>(c));
        const auto& col = columns[static_cast<std::size_t>(c)];
        unsigned char a = col.colour ? col.colour(col.value ? col.value() : Value{}) : colours_.cell;
        if (is_current && c == column_ && !on_blank_) a = colours_.selected;
        screen_.write(y, x, s.substr(0, static_cast<std::size_t>(std::max(0, area_.right - x + 1))), a);
        if (x + col.width <= area_.right) screen_.put(y, x + col.width, Cell{0xB3, colours_.frame});
      }
      if (source_.skip(1) == 0) past_end = true;
      continue;
    }
    if (blank_row && !blank_drawn) {
      blank_drawn = true;
      for (auto [c, x] : l) {
        const auto& col = columns[static_cast<std::size_t>(c)];
        if (is_current && on_blank_ && c == column_) {
          screen_.write(y, x, std::string(static_cast<std::size_t>(col.width), ' '), colours_.selected);
        }
        if (x + col.width <= area_.right) screen_.put(y, x + col.width, Cell{0xB3, colours_.frame});
      }
    }
  }
  if (!empty_) source_.go_to(current_);
}

bool Browser::position(long bookmark, int col) {
  if (!source_.go_to(bookmark)) return false;
  empty_ = false;
  current_ = bookmark;
  on_blank_ = false;
  column_ = col;
  stabilize();
  return true;
}

void Browser::down() {
  if (empty_ || on_blank_) return;
  source_.go_to(current_);
  if (source_.skip(1) == 1) {
    current_ = source_.bookmark();
    ++row_in_page_;
  } else if (blank_row) {
    on_blank_ = true;
    ++row_in_page_;
  }
  stabilize();
}

void Browser::up() {
  if (empty_) return;
  if (on_blank_) {
    on_blank_ = false;
    --row_in_page_;
  } else {
    source_.go_to(current_);
    if (source_.skip(-1) == -1) {
      current_ = source_.bookmark();
      --row_in_page_;
    }
  }
  stabilize();
}

void Browser::page_down() {
  if (empty_ || on_blank_) return;
  source_.go_to(current_);
  long moved = source_.skip(page_rows());
  current_ = source_.bookmark();
  if (moved < page_rows()) row_in_page_ += static_cast<int>(moved);
  stabilize();
}

void Browser::page_up() {
  if (empty_) return;
  if (on_blank_) on_blank_ = false;
  source_.go_to(current_);
  long moved = -source_.skip(-page_rows());
  current_ = source_.bookmark();
  if (moved < page_rows()) row_in_page_ -= static_cast<int>(moved);
  stabilize();
}

void Browser::first_row() {
  on_blank_ = false;
  if (!source_.go_top()) return;
  current_ = source_.bookmark();
  row_in_page_ = 0;
  stabilize();
}

void Browser::last_row() {
  on_blank_ = false;
  if (!source_.go_bottom()) return;
  current_ = source_.bookmark();
  row_in_page_ = page_rows() - 1;
  stabilize();
}

int Browser::run() {
  bool cursor = screen_.cursor_visible();
  screen_.show_cursor(false);
  int ended = 0;
  while (ended == 0) {
    draw();
    Event e = screen_.wait_input(true);
    if (e.kind == EventKind::kMouse) {
      int r = e.row - (area_.top + 2);
      if (r < 0 || r >= page_rows() || !area_.contains(e.row, e.col)) continue;
      for (auto [c, x] : layout()) {
        if (e.col >= x && e.col < x + columns[static_cast<std::size_t>(c)].width) column_ = c;
      }
      while (row_in_page_ < r && !on_blank_) {
        int before = row_in_page_;
        down();
        if (row_in_page_ == before) break;
      }
      while (row_in_page_ > r) {
        int before = row_in_page_;
        up();
        if (row_in_page_ == before) break;
      }
      continue;
    }
    const int last_col = static_cast<int>(columns.size()) - 1;
    switch (e.code) {
      case key::kDown: down(); break;
      case key::kUp: up(); break;
      case key::kPgDn: page_down(); break;
      case key::kPgUp: page_up(); break;
      case key::kCtrlPgUp: first_row(); break;
      case key::kCtrlPgDn: last_row(); break;
      case key::kRight: column_ = std::min(column_ + 1, last_col); break;
      case key::kLeft: column_ = std::max(column_ - 1, 0); break;
      case key::kCtrlHome: column_ = 0; pan_ = frozen; break;
      case key::kCtrlEnd: column_ = last_col; break;
      case key::kHome: {
        auto l = layout();
        if (!l.empty()) column_ = l.front().first;
        break;
      }
      case key::kEnd: {
        auto l = layout();
        if (!l.empty()) column_ = l.back().first;
        break;
      }
      case key::kCtrlRight:
        if (pan_ < last_col) ++pan_;
        column_ = std::max(column_, pan_);
        break;
      case key::kCtrlLeft:
        if (pan_ > frozen) --pan_;
        break;
      default:
        if (on_key ? on_key(e.code, *this) : (e.code == key::kEnter || e.code == key::kEsc)) ended = e.code;
    }
  }
  draw();
  screen_.show_cursor(cursor);
  return ended;
}

}  // namespace kx::ui
