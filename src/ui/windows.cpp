#include "ui/windows.h"

#include <algorithm>

namespace kx::ui {

std::string REP(int count) {
  return std::string{'\x04', static_cast<char>(static_cast<unsigned char>(count))};
}

Windows::Windows(Screen& screen, ColourSettings& colours) : screen_(screen), colours_(colours) {
  for (int i = 1; i <= kCount; ++i) DEFINEJAN(i, 48, 112, 7, 1, 1, 25, 80, 0);
}

WindowEntry* Windows::entry(int id) {
  return id >= 1 && id <= kCount ? &entries_[static_cast<std::size_t>(id - 1)] : nullptr;
}

void Windows::REDEFJAN(int id, int c1, int c2, int c3, int top, int left, int bottom, int right,
                       int type) {
  WindowEntry* w = entry(id);
  if (!w) return;
  *w = WindowEntry{id, ACHACOR(c1), ACHACOR(c2), ACHACOR(c3), top, left,
                   type == 7 ? bottom + 2 : bottom, right, type, {}};
}

void Windows::REDFATR(int id, int role, int attr) {
  WindowEntry* w = entry(id == 0 ? kMessageWindow : id);
  if (!w) return;
  std::string* c = role == 1 ? &w->colour1 : role == 2 ? &w->colour2 : role == 3 ? &w->colour3 : nullptr;
  if (c) *c = ACHACOR(attr);
}

Rect Windows::saved_area(const WindowEntry& w) const {
  switch (w.type) {
    case 1:
      return {w.top - 1, w.left - 1, w.bottom, w.right};
    case 7:
      return {w.top, w.left, w.bottom + 2, w.right + 1};
    default:
      return {w.top, w.left, w.bottom, w.right};
  }
}

int Windows::wrap_column(const WindowEntry& w) const {
  return w.type == 1 || w.type == 7 ? w.right - 2 : w.right;
}

void Windows::draw_box(Rect r, unsigned char attr) {
  auto put = [&](int row, int col, int k) {
    screen_.put(row, col, Cell{static_cast<unsigned char>(kBoxChars[static_cast<std::size_t>(k)]), attr});
  };
  for (int c = r.left + 1; c < r.right; ++c) {
    put(r.top, c, 1);
    put(r.bottom, c, 5);
  }
  for (int row = r.top + 1; row < r.bottom; ++row) {
    put(row, r.left, 7);
    put(row, r.right, 3);
  }
  put(r.top, r.left, 0);
  put(r.top, r.right, 2);
  put(r.bottom, r.right, 4);
  put(r.bottom, r.left, 6);
}

bool Windows::is_open(int id) const {
  return std::any_of(saved_.begin(), saved_.end(), [&](const Saved& s) { return s.id == id; });
}

void Windows::ABREJAN(int id) {
  WindowEntry* w = entry(id);
  if (!w) return;
  FECHAJAN(id);  // re-opening in place never stacks two saves
  Rect area = saved_area(*w);
  saved_.push_back({id, area, screen_.save(area), screen_.top_layer()});
  unsigned char frame = standard_colour(w->colour2);
  if (w->type == 1) draw_box({w->top - 1, w->left - 1, w->bottom - 1, w->right - 1}, frame);
  if (w->type == 2) draw_box({w->top, w->left, w->bottom, w->right}, frame);
}

void Windows::FECHAJAN(int id) {
  auto it = std::find_if(saved_.begin(), saved_.end(), [&](const Saved& s) { return s.id == id; });
  if (it == saved_.end()) return;
  if (screen_.has_layer(it->layer)) screen_.restore(it->area, it->cells);
  saved_.erase(it);
}

void Windows::reset_text_colours() {
  colours_.COR_1_CLI = "GR+/B";
  colours_.COR_2_CLI = "W+/B";
  colours_.COR_INI = "W+/B";
}

std::string Windows::expand_runs(std::string_view text) {
  std::string s(text);
  for (;;) {
    auto pos = s.find('\x04');
    if (pos == std::string::npos || pos + 2 >= s.size()) return s;
    const std::string triple = s.substr(pos, 3);
    // A run of the marker itself would never end: it writes nothing.
    const std::string run = triple[2] == '\x04'
                                ? std::string()
                                : std::string(static_cast<unsigned char>(triple[1]), triple[2]);
    std::string out;
    std::size_t from = 0;
    for (auto at = s.find(triple); at != std::string::npos; at = s.find(triple, from)) {
      out.append(s, from, at - from);
      out += run;
      from = at + 3;
    }
    out.append(s, from);
    s = std::move(out);
  }
}

void Windows::ESCRJAN(int id, std::string_view raw) {
  WindowEntry* w = entry(id);
  if (!w) return;
  reset_text_colours();
  const std::string text = expand_runs(raw);
  w->text.clear();
  for (char c : text) {
    if (c != '\x01' && c != '\x02' && c != '\x03') w->text += c;
  }
  const unsigned char colours[3] = {standard_colour(w->colour1), standard_colour(w->colour2),
                                    standard_colour(w->colour3)};
  const unsigned char shade = colours[2];
  const int wrap = wrap_column(*w);
  int row = w->top, col = w->left;
  unsigned char attr = colours[0];
  auto shadow_pair = [&](int r, int c) {
    screen_.put(r, c, Cell{kShadeChar, shade});
    screen_.put(r, c + 1, Cell{kShadeChar, shade});
  };
  for (char ch : text) {
    if (col > wrap) {
      if (w->type == 7 && row != w->top) shadow_pair(row, col);
      ++row;
      col = w->left;
    }
    if (ch >= '\x01' && ch <= '\x03') {
      attr = colours[ch - 1];
      continue;
    }
    if (ch == '\x04') continue;
    screen_.put(row, col++, Cell{static_cast<unsigned char>(ch), attr});
  }
  if (w->type == 7) {
    shadow_pair(row, col);
    for (int c = w->left + 1; c <= w->right; ++c) screen_.put(row + 1, c, Cell{kShadeChar, shade});
  }
}

void Windows::ESCRLCOL(int id, int row, int col, std::string_view text) {
  WindowEntry* w = entry(id);
  if (!w) return;
  reset_text_colours();
  screen_.write_chars(w->top + row - 1, w->left + col - 1, text);
}

void Windows::ESCRATR(int id, int row, int col, int attr, int len) {
  WindowEntry* w = entry(id);
  if (!w || len <= 0) return;
  int width = w->type == 0 ? w->right - w->left + 1 : w->right - w->left - 1;
  long start = static_cast<long>(width) * (row - 1) + (col - 1);
  if (start < 0 || start >= static_cast<long>(w->text.size())) return;
  std::string part = w->text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(len));
  screen_.write(w->top + row - 1, w->left + col - 1, part, standard_colour(ACHACOR(attr)));
}

void Windows::move(int id, int drow, int dcol) {
  WindowEntry* w = entry(id);
  if (!w) return;
  if (w->top + drow < 0 || w->bottom + drow > kRows || w->left + dcol < 0 || w->right + dcol > kCols) {
    return;
  }
  std::string text = w->text;
  FECHAJAN(id);
  w->top += drow;
  w->bottom += drow;
  w->left += dcol;
  w->right += dcol;
  ABREJAN(id);
  ESCRJAN(id, text);
}

void Windows::MOVEVER(int id, int direction) { move(id, direction == kDirectionUp ? -1 : 1, 0); }
void Windows::MOVEHOR(int id, int direction) { move(id, 0, direction == kDirectionUp ? -1 : 1); }

void Windows::ENCHETELA(unsigned char ch, std::string_view colour) {
  screen_.fill(Rect{0, 0, kRows - 1, kCols - 1}, Cell{ch, standard_colour(colour)});
}

}  // namespace kx::ui
