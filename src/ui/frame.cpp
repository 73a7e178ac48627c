#include "ui/frame.h"

#include <algorithm>

#include "base/cp850.h"
#include "base/text.h"
#include "ui/button.h"
#include "ui/keys.h"
#include "ui/number_text.h"

namespace kx::ui {

// ---------------------------------------------------------------------------------------------
// LDialog

LDialog::LDialog(Frame& frame, int top, int left, int bottom, int right, int wnd)
    : nTop(top), nLeft(left), nBottom(bottom), nRight(right), nWnd(wnd), frame_(frame),
      keys_(frame.keys()) {
  previous_active_ = frame.active_;
  saved_cursor_visible_ = frame.screen().cursor_visible();
}

LDialog::~LDialog() = default;

void LDialog::showWindow() {
  if (lShow || lClosed) return;
  lShow = true;
  if (nWnd == 0) return;  // the main window is the grid itself
  Cell fill{' ', standard_colour(cColor.empty() ? frame_.csColorWin : cColor, 0x70)};
  layer_ = frame_.screen().open_layer({nTop, nLeft, nBottom, nRight}, cTitle, fill, Frame::kTitleAttr);
  frame_.refresh_bars();
}

void LDialog::title(std::string t) {
  cTitle = std::move(t);
  if (layer_) frame_.screen().set_layer_title(layer_, cTitle, Frame::kTitleAttr);
}

void LDialog::activate() {
  frame_.active_ = this;
  frame_.LACTIVATE(lExitEsc);
}

void LDialog::cancel() {
  nExit = 1;
  reading = 0;
  frame_.screen().discard_input();
}

void LDialog::end(int n) {
  nExit = 2;
  nEnd = n;
}

void LDialog::close() { frame_.close_dialog(*this); }

LStatusBar& LDialog::sbDraw(const std::vector<std::string>& parts) {
  oStatusBar = std::make_unique<LStatusBar>(frame_.screen());
  for (const auto& p : parts) oStatusBar->partAdd(p);
  if (!parts.empty() && !lTimer) lTimer = true;
  frame_.refresh_bars();
  return *oStatusBar;
}

void LDialog::sbReset() {
  if (oStatusBar) oStatusBar->reset();
  frame_.refresh_bars();
}

LMenu& LDialog::menu() {
  oMenu = std::make_unique<LMenu>(*this);
  return *oMenu;
}

// ---------------------------------------------------------------------------------------------
// Frame

Frame::Frame(Screen& screen, ColourSettings& colours) : screen_(screen), colours_(colours) {
  auto main = std::make_unique<LDialog>(*this, 0, 0, kRows - 1, kCols - 1, 0);
  active_ = main.get();
  main->showWindow();
  stack_.push_back(std::move(main));
}

Frame::~Frame() {
  screen_.set_event_filter({});
  screen_.set_tick_handler({});
}

void Frame::QZBASELSETUP() {
  for (const auto& p : kPaletteChanges) screen_.terminal().set_palette(p.index, {p.r, p.g, p.b});
  screen_.show_cursor(false);
  screen_.fill({0, 0, kRows - 1, kCols - 1}, Cell{' ', standard_colour(csColorWin)});
  keys_.set(key::kCopy, [this] { LSETCLIPBOARD(); });
  keys_.set(key::kPaste, [this] { LGETCLIPBOARD(); });
  screen_.set_event_filter([this](const Event& e) { return filter(e); });
  screen_.set_tick_handler([this] { tick(); });
  refresh_bars();
}

LDialog& Frame::LWINDOWMAIN() { return *stack_.front(); }

LDialog& Frame::LDLGSHOW(int top, int left, int bottom, int right, std::string_view title) {
  auto d = std::make_unique<LDialog>(*this, top, left, bottom, right, static_cast<int>(stack_.size()));
  LDialog& ref = *d;
  stack_.push_back(std::move(d));
  active_ = &ref;
  ref.cTitle = std::string(title);
  ref.showWindow();
  return ref;
}

void Frame::close_dialog(LDialog& d) {
  if (d.lClosed) return LMSG({":close() window ignored. Window closed."});
  if (d.nWnd <= 0) return LMSG({":close() window ignored. nWnd invalid " + std::to_string(d.nWnd)});
  if (active_ != &d) return LMSG({":close() window ignored. :nHandle not active."});
  if (d.reading > 0) return LMSG({":close() window ignored. Gets actives, uses :end() or :cancel()."});
  d.lClosed = true;
  screen_.close_layer(d.layer_);
  d.keys_.restore();
  screen_.show_cursor(d.saved_cursor_visible_);
  screen_.discard_input();
  LDialog* back = d.previous_active_;
  remove(d);
  bool back_open = std::any_of(stack_.begin(), stack_.end(), [&](auto& p) { return p.get() == back; });
  active_ = back_open ? back : stack_.back().get();
  refresh_bars();
}

void Frame::remove(LDialog& d) {
  // Windows opened after `d` that pointed back at it now point at what `d` pointed at.
  for (auto& p : stack_) {
    if (p->previous_active_ == &d) p->previous_active_ = d.previous_active_;
  }
  stack_.erase(std::find_if(stack_.begin(), stack_.end(), [&](auto& p) { return p.get() == &d; }));
}

void Frame::LDLGCLOSE() {
  if (!active_) return LMSG({":close() ignored. Window active not found."});
  active_->close();
}

void Frame::LDLGEND() {
  if (!active_) return LMSG({":end() ignored. Window active not found."});
  active_->end(0);
}

void Frame::LACTIVATE(bool exit_on_esc) {
  LDialog* w = active_;
  if (!w) return LMSG({":activate() ignored. Window active not found."});
  w->lExitEsc = exit_on_esc;
  w->nExit = 0;
  while (w->nExit == 0 && !w->lClosed) {
    auto e = screen_.next_event(1000);
    if (!e || filter(*e)) continue;
    if (e->kind == EventKind::kTick) {
      tick();
      continue;
    }
    if (e->kind != EventKind::kKey) continue;
    last_key_ = e->code;
    if (keys_.run(e->code)) continue;
    if (char a = key::alt_letter(e->code)) {
      if (LDialog* m = visible_with_menu()) {
        int index = m->oMenu->bar_item_for(a);
        if (index >= 0) {
          open_menu(index);
          continue;
        }
      }
    }
    if (e->code == key::kEsc && w->lExitEsc) break;
  }
}

LStatusBar& Frame::LSBDRAW(const std::vector<std::string>& parts) { return LWindowLast().sbDraw(parts); }

void Frame::LMSG(const std::vector<std::string>& parts) {
  std::string joined;
  for (const auto& p : parts) joined += (joined.empty() ? "" : " ") + p;
  message_box({joined}, {"Ok"}, "KAPRIX", 1);
}

int Frame::message_box(const std::vector<std::string>& lines, const std::vector<std::string>& buttons,
                       std::string_view title, int esc_result) {
  int text_width = static_cast<int>(title.size()) + 2;
  for (const auto& l : lines) text_width = std::max(text_width, static_cast<int>(l.size()));
  int buttons_width = -1;
  for (const auto& b : buttons) buttons_width += static_cast<int>(b.size()) + 5;
  int width = std::min(kCols - 2, std::max(text_width, buttons_width) + 4);
  int shown_lines = std::min(static_cast<int>(lines.size()), kRows - 6);
  int height = shown_lines + 4;
  int top = (kRows - height) / 2 + 1, left = (kCols - width) / 2;
  Rect area{top, left, top + height - 1, left + width - 1};
  bool cursor = screen_.cursor_visible();
  screen_.show_cursor(false);
  int layer = screen_.open_layer(area, title, Cell{' ', 0x70}, kTitleAttr);
  for (int i = 0; i < shown_lines; ++i) {
    screen_.write(top + 1 + i, left + 2, text::pad_right(lines[static_cast<std::size_t>(i)], static_cast<std::size_t>(width - 4)).substr(0, static_cast<std::size_t>(width - 4)), 0x70);
  }
  std::vector<LButton> row;
  int col = left + (width - buttons_width) / 2;
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    row.push_back(LButton{area.bottom - 1, col, " " + buttons[i] + " ", static_cast<int>(i) + 1, i == 0});
    col = row.back().nRight() + 2;
  }
  int focus = 0, chosen = 0;
  while (chosen == 0) {
    for (auto& b : row) {
      b.lHasFocus = b.nId == focus + 1;
      b.draw(screen_, 0x70, 0x1F);
    }
    auto e = screen_.next_event(-1);
    if (!e) continue;
    if (e->kind == EventKind::kTick) {
      tick();
    } else if (e->kind == EventKind::kMouse) {
      chosen = button_at(row, e->row, e->col);
    } else if (e->kind == EventKind::kKey) {
      int k = e->code;
      int n = static_cast<int>(row.size());
      if (k == key::kEnter) chosen = focus + 1;
      else if (k == key::kEsc && esc_result > 0) chosen = esc_result;
      else if (k == key::kLeft || k == key::kShiftTab) focus = (focus + n - 1) % n;
      else if (k == key::kRight || k == key::kTab) focus = (focus + 1) % n;
      else if (unsigned char c = key::character(k)) {
        for (std::size_t i = 0; i < buttons.size(); ++i) {
          if (!buttons[i].empty() && cp850::upper(static_cast<unsigned char>(buttons[i][0])) == cp850::upper(c)) {
            chosen = static_cast<int>(i) + 1;
          }
        }
      }
    }
  }
  screen_.close_layer(layer);
  screen_.show_cursor(cursor);
  return chosen;
}

std::string Frame::clipboard_text() {
  if (auto system = screen_.terminal().clipboard()) return *system;
  return clipboard_;
}

void Frame::LGETCLIPBOARD() {
  if (!editing_) return;
  std::string text = clipboard_text();
  if (text.empty()) return;
  Value current = editing_->value();
  std::optional<Value> pasted;
  if (editing_->memo()) {
    pasted = text;
  } else if (std::holds_alternative<std::string>(current)) {
    pasted = text::pad_right(text, static_cast<std::size_t>(editing_->width()));
  } else if (std::holds_alternative<Decimal>(current)) {
    // Read in the Brazilian notation: "1.234,56" is 1234.56.
    pasted = CAR_TO_VAL(text);
  } else if (std::holds_alternative<Date>(current)) {
    if (auto d = Date::parse_dmy(text::trim(text)); d && !d->empty()) pasted = *d;
  }
  if (pasted) editing_->assign(*pasted);
}

namespace {
std::string value_text(const Value& v) {
  if (auto* s = std::get_if<std::string>(&v)) return std::string(text::rtrim(*s));
  if (auto* d = std::get_if<Decimal>(&v)) return d->br(d->scale());
  if (auto* dt = std::get_if<Date>(&v)) return dt->empty() ? std::string() : dt->dmy();
  return std::get<bool>(v) ? "S" : "N";
}
}  // namespace

void Frame::LSETCLIPBOARD(std::optional<Value> value) {
  if (!value) {
    if (!editing_) return;
    value = editing_->value();
  }
  clipboard_ = value_text(*value);
  screen_.terminal().set_clipboard(clipboard_);
}

void Frame::LPASTECLIPBOARD() {
  std::vector<int> codes;
  for (unsigned char c : clipboard_text()) {
    if (c >= 32) codes.push_back(c);
  }
  screen_.push_keys(codes);
}

void Frame::menu_event(int id) {
  if (id >= 2000 && id <= 2999) return;  // toolbar commands: there is no toolbar
  if (id < 1000 || id > 2999) {
    return LMSG({"nMenuChecker, nEvent:", std::to_string(id), "nkey:", "0", "LASTKEY:",
                 std::to_string(last_key_)});
  }
  if (!active_ || !active_->oMenu) {
    return LMSG({"Erro interno. Nao foi encontrado um menu ativo (LMenuActivate)"});
  }
  run_item(*active_, id);
}

void Frame::run_item(LDialog& owner, int id) {
  LMenuItem* item = owner.oMenu->find(id);
  if (!item || item->submenu || !item->enabled) return;
  if (!item->bAction) return LMSG({"Error!! Action is not defined in menuItem"});
  MenuAction action = item->bAction;  // the action may rebuild the menu
  action(*item, owner);
}

void Frame::open_menu(int index) {
  LDialog* m = visible_with_menu();
  if (!m) return;
  int id = m->oMenu->pull_down(screen_, index);
  refresh_bars();
  if (id > 0) run_item(*m, id);
}

bool Frame::filter(const Event& e) {
  if (e.kind == EventKind::kMenu) {
    menu_event(e.code);
    return true;
  }
  if (e.kind == EventKind::kMouse && e.row == kMenuRow) {
    if (LDialog* m = visible_with_menu()) {
      int index = m->oMenu->bar_item_at(e.col);
      if (index >= 0) open_menu(index);
    }
    return true;
  }
  return false;
}

void Frame::tick() {
  LDialog* shown = visible_with_status_bar();
  if (shown && shown->lTimer) shown->oStatusBar->refresh();
}

LDialog* Frame::visible_with_menu() {
  for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
    if ((*it)->oMenu && (*it)->oMenu->created()) return it->get();
  }
  return nullptr;
}

LDialog* Frame::visible_with_status_bar() {
  for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
    if ((*it)->oStatusBar) return it->get();
  }
  return nullptr;
}

void Frame::refresh_bars() {
  if (LDialog* m = visible_with_menu()) {
    m->oMenu->draw(screen_);
  } else {
    screen_.write_bar(kMenuRow, 0, std::string(kCols, ' '), LMenu::kBarAttr);
  }
  if (LDialog* s = visible_with_status_bar()) {
    s->oStatusBar->draw();
  } else {
    screen_.write_bar(kStatusRow, 0, std::string(kCols, ' '), LStatusBar::kAttr);
  }
}

}  // namespace kx::ui
