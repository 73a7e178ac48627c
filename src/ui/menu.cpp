#include "ui/menu.h"

#include <algorithm>
#include <cctype>

#include "base/cp850.h"
#include "ui/frame.h"
#include "ui/keys.h"
#include "ui/screen.h"

namespace kx::ui {

std::string LMenuItem::caption() const {
  std::string out;
  for (std::size_t i = 0; i < cPrompt.size(); ++i) {
    if (cPrompt[i] == '&' && i + 1 < cPrompt.size()) continue;
    out += cPrompt[i];
  }
  return out;
}

char LMenuItem::hot_key() const {
  auto amp = cPrompt.find('&');
  if (amp == std::string::npos || amp + 1 >= cPrompt.size()) return 0;
  return static_cast<char>(cp850::upper(static_cast<unsigned char>(cPrompt[amp + 1])));
}

std::vector<std::unique_ptr<LMenuItem>>& LMenu::level() {
  return open_.empty() ? items_ : open_.back()->items;
}

LMenuItem& LMenu::subMenu(std::string caption) {
  auto item = std::make_unique<LMenuItem>();
  item->oParent = this;
  item->nSequence = ++nCount;
  item->cPrompt = std::move(caption);
  item->submenu = true;
  LMenuItem& ref = *item;
  level().push_back(std::move(item));
  open_.push_back(&ref);
  return ref;
}

LMenuItem& LMenu::menuItem(std::string caption, MenuAction action, bool enabled) {
  auto item = std::make_unique<LMenuItem>();
  item->oParent = this;
  item->nSequence = ++nCount;
  item->cPrompt = std::move(caption);
  item->bAction = std::move(action);
  item->enabled = enabled;
  LMenuItem& ref = *item;
  level().push_back(std::move(item));
  return ref;
}

void LMenu::endMenu() {
  if (!open_.empty()) open_.pop_back();
}

void LMenu::create() {
  created_ = true;
  oParent.frame().refresh_bars();
}

void LMenu::separator() {
  auto& items = level();
  if (!items.empty()) items.back()->lSeparator = true;
}

LMenuItem* LMenu::find(int id) {
  std::function<LMenuItem*(std::vector<std::unique_ptr<LMenuItem>>&)> search =
      [&](std::vector<std::unique_ptr<LMenuItem>>& items) -> LMenuItem* {
    for (auto& it : items) {
      if (it->nSequence == id) return it.get();
      if (it->submenu) {
        if (LMenuItem* found = search(it->items)) return found;
      }
    }
    return nullptr;
  };
  return search(items_);
}

int LMenu::bar_left(int index) const {
  int left = 1;
  for (int i = 0; i < index; ++i) left += static_cast<int>(items_[static_cast<std::size_t>(i)]->caption().size()) + 2;
  return left;
}

namespace {

// Writes a caption with its hot-key letter in `hot`.
void write_caption(Screen& screen, int row, int col, const LMenuItem& item, unsigned char attr,
                   unsigned char hot, bool bar) {
  const std::string& p = item.cPrompt;
  int c = col;
  bool next_hot = false;
  for (std::size_t i = 0; i < p.size(); ++i) {
    if (p[i] == '&' && i + 1 < p.size() && !next_hot) {
      next_hot = true;
      continue;
    }
    Cell cell{static_cast<unsigned char>(p[i]), next_hot && item.enabled ? hot : attr};
    if (bar) screen.put_bar(row, c, cell);
    else screen.put(row, c, cell);
    next_hot = false;
    ++c;
  }
}

}  // namespace

void LMenu::draw(Screen& screen) const {
  screen.write_bar(kMenuRow, 0, std::string(kCols, ' '), kBarAttr);
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const LMenuItem& item = *items_[i];
    int left = bar_left(static_cast<int>(i));
    write_caption(screen, kMenuRow, left + 1, item, item.enabled ? kBarAttr : kDisabledAttr, kHotAttr, true);
  }
}

int LMenu::bar_item_at(int col) const {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    int left = bar_left(static_cast<int>(i));
    int width = static_cast<int>(items_[i]->caption().size()) + 2;
    if (col >= left && col < left + width) return static_cast<int>(i);
  }
  return -1;
}

int LMenu::bar_item_for(char letter) const {
  letter = static_cast<char>(cp850::upper(static_cast<unsigned char>(letter)));
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i]->enabled && items_[i]->hot_key() == letter) return static_cast<int>(i);
  }
  return -1;
}

namespace {

struct Popup {
  std::vector<std::unique_ptr<LMenuItem>>* items;
  int selected = 0;
  Rect area;
  int layer = 0;
  std::vector<int> rows;  // grid row of each item
};

bool selectable(const LMenuItem& it) { return it.enabled; }

int first_selectable(const Popup& p, int from, int step) {
  int n = static_cast<int>(p.items->size());
  for (int k = 0, i = from; k < n; ++k, i = (i + step + n) % n) {
    if (selectable(*(*p.items)[static_cast<std::size_t>(i)])) return i;
  }
  return from;
}

void draw_popup(Screen& screen, const Popup& p) {
  const Rect& a = p.area;
  auto put = [&](int r, int c, unsigned char ch, unsigned char attr = LMenu::kBarAttr) {
    screen.put(r, c, Cell{ch, attr});
  };
  for (int c = a.left + 1; c < a.right; ++c) {
    put(a.top, c, 0xC4);
    put(a.bottom, c, 0xC4);
  }
  for (int r = a.top + 1; r < a.bottom; ++r) {
    put(r, a.left, 0xB3);
    put(r, a.right, 0xB3);
    for (int c = a.left + 1; c < a.right; ++c) put(r, c, ' ');
  }
  put(a.top, a.left, 0xDA);
  put(a.top, a.right, 0xBF);
  put(a.bottom, a.left, 0xC0);
  put(a.bottom, a.right, 0xD9);
  for (std::size_t i = 0; i < p.items->size(); ++i) {
    const LMenuItem& it = *(*p.items)[i];
    int row = p.rows[i];
    bool sel = static_cast<int>(i) == p.selected;
    unsigned char attr = !it.enabled ? LMenu::kDisabledAttr : sel ? LMenu::kSelectedAttr : LMenu::kBarAttr;
    for (int c = a.left + 1; c < a.right; ++c) put(row, c, ' ', attr);
    write_caption(screen, row, a.left + 2, it, attr, sel ? LMenu::kSelectedHotAttr : LMenu::kHotAttr, false);
    if (it.submenu) put(row, a.right - 1, 0x10, attr);  // ►
    if (it.lSeparator && i + 1 < p.items->size()) {
      put(row + 1, a.left, 0xC3);
      for (int c = a.left + 1; c < a.right; ++c) put(row + 1, c, 0xC4);
      put(row + 1, a.right, 0xB4);
    }
  }
}

Popup open_popup(Screen& screen, std::vector<std::unique_ptr<LMenuItem>>& items, int top, int left) {
  Popup p{&items};
  int width = 0, height = 0;
  for (std::size_t i = 0; i < items.size(); ++i) {
    width = std::max(width, static_cast<int>(items[i]->caption().size()));
    height += 1 + (items[i]->lSeparator && i + 1 < items.size() ? 1 : 0);
  }
  width += 5;  // frame, blanks, submenu mark
  height += 2;
  left = std::clamp(left, 0, std::max(0, kCols - width));
  top = std::clamp(top, 0, std::max(0, kRows - height));
  p.area = {top, left, top + height - 1, left + width - 1};
  int row = top + 1;
  for (std::size_t i = 0; i < items.size(); ++i) {
    p.rows.push_back(row);
    row += 1 + (items[i]->lSeparator && i + 1 < items.size() ? 1 : 0);
  }
  p.layer = screen.open_bare_layer(p.area, Cell{' ', LMenu::kBarAttr});
  p.selected = first_selectable(p, 0, 1);
  draw_popup(screen, p);
  return p;
}

}  // namespace

int LMenu::pull_down(Screen& screen, int index) {
  if (items_.empty()) return 0;
  int top = std::clamp(index, 0, static_cast<int>(items_.size()) - 1);
  std::vector<Popup> popups;
  auto close_all = [&] {
    while (!popups.empty()) {
      screen.close_layer(popups.back().layer);
      popups.pop_back();
    }
  };
  auto highlight_bar = [&] {
    draw(screen);
    const LMenuItem& item = *items_[static_cast<std::size_t>(top)];
    int left = bar_left(top);
    for (int c = left; c < left + static_cast<int>(item.caption().size()) + 2; ++c) {
      screen.put_bar(kMenuRow, c, Cell{' ', kSelectedAttr});
    }
    write_caption(screen, kMenuRow, left + 1, item, kSelectedAttr, kSelectedHotAttr, true);
  };
  auto open_top = [&] {
    close_all();
    highlight_bar();
    LMenuItem& item = *items_[static_cast<std::size_t>(top)];
    if (item.submenu && item.enabled && !item.items.empty()) {
      popups.push_back(open_popup(screen, item.items, 0, bar_left(top)));
    }
  };
  auto finish = [&](int result) {
    close_all();
    draw(screen);
    return result;
  };
  // Choosing an item: a submenu opens to the right, an enabled item ends the menus.
  auto choose = [&](LMenuItem& it, int row) -> int {
    if (!it.enabled) return -1;
    if (!it.submenu) return it.nSequence;
    if (!it.items.empty()) popups.push_back(open_popup(screen, it.items, row, popups.back().area.right + 1));
    return -1;
  };
  auto move_top = [&](int step) {
    int n = static_cast<int>(items_.size());
    top = (top + step + n) % n;
    open_top();
  };

  {
    LMenuItem& first = *items_[static_cast<std::size_t>(top)];
    if (!first.submenu) return first.enabled ? first.nSequence : 0;
  }
  open_top();
  for (;;) {
    auto e = screen.next_event(-1);
    if (!e) continue;
    if (e->kind == EventKind::kTick) {
      screen.run_tick_handler();
      continue;
    }
    if (e->kind == EventKind::kMouse) {
      if (e->row == kMenuRow) {
        int hit = bar_item_at(e->col);
        if (hit < 0) return finish(0);
        top = hit;
        if (!items_[static_cast<std::size_t>(top)]->submenu) {
          LMenuItem& it = *items_[static_cast<std::size_t>(top)];
          return finish(it.enabled ? it.nSequence : 0);
        }
        open_top();
        continue;
      }
      bool inside = false;
      for (std::size_t level_index = popups.size(); level_index-- > 0;) {
        Popup& p = popups[level_index];
        if (!p.area.contains(e->row, e->col)) continue;
        inside = true;
        for (std::size_t i = 0; i < p.rows.size(); ++i) {
          if (p.rows[i] != e->row) continue;
          while (popups.size() > level_index + 1) {
            screen.close_layer(popups.back().layer);
            popups.pop_back();
          }
          Popup& cur = popups.back();
          cur.selected = static_cast<int>(i);
          draw_popup(screen, cur);
          int r = choose(*(*cur.items)[i], cur.rows[i]);
          if (r > 0) return finish(r);
          break;  // `p` may have moved: a submenu was opened
        }
        break;
      }
      if (!inside) return finish(0);
      continue;
    }
    if (e->kind != EventKind::kKey) continue;
    int k = e->code;
    if (popups.empty()) {  // a top-level item without a submenu is highlighted
      if (k == key::kEsc) return finish(0);
      if (k == key::kLeft) move_top(-1);
      else if (k == key::kRight) move_top(1);
      else if (k == key::kEnter) {
        LMenuItem& it = *items_[static_cast<std::size_t>(top)];
        if (it.enabled) return finish(it.nSequence);
      }
      continue;
    }
    Popup& p = popups.back();
    auto& items = *p.items;
    if (k == key::kEsc) {
      screen.close_layer(p.layer);
      popups.pop_back();
      if (popups.empty()) return finish(0);
    } else if (k == key::kDown || k == key::kUp) {
      int n = static_cast<int>(items.size());
      int step = k == key::kDown ? 1 : -1;
      p.selected = first_selectable(p, (p.selected + step + n) % n, step);
      draw_popup(screen, p);
    } else if (k == key::kHome || k == key::kEnd) {
      p.selected = k == key::kHome ? first_selectable(p, 0, 1)
                                   : first_selectable(p, static_cast<int>(items.size()) - 1, -1);
      draw_popup(screen, p);
    } else if (k == key::kLeft) {
      if (popups.size() > 1) {
        screen.close_layer(p.layer);
        popups.pop_back();
      } else {
        move_top(-1);
      }
    } else if (k == key::kRight) {
      LMenuItem& it = *items[static_cast<std::size_t>(p.selected)];
      if (it.submenu && it.enabled) choose(it, p.rows[static_cast<std::size_t>(p.selected)]);
      else move_top(1);
    } else if (k == key::kEnter) {
      int r = choose(*items[static_cast<std::size_t>(p.selected)], p.rows[static_cast<std::size_t>(p.selected)]);
      if (r > 0) return finish(r);
    } else if (char a = key::alt_letter(k)) {
      int hit = bar_item_for(a);
      if (hit >= 0) {
        top = hit;
        open_top();
      }
    } else if (unsigned char c = key::character(k)) {
      char letter = static_cast<char>(cp850::upper(c));
      for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i]->enabled && items[i]->hot_key() == letter) {
          p.selected = static_cast<int>(i);
          draw_popup(screen, p);
          int r = choose(*items[i], p.rows[i]);
          if (r > 0) return finish(r);
          break;
        }
      }
    }
  }
}

}  // namespace kx::ui
