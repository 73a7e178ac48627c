// The main window frame: the stack of windows (the main window and the dialogs over rectangles
// of the grid), the menu bar and status bar of the active window, the one-second refresh,
// system message boxes, the clipboard and the diagnostic messages of misuse (LMSG).
//
// Fonts have no meaning in a terminal: the font operations exist and change nothing.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/colour.h"
#include "ui/key_bindings.h"
#include "ui/menu.h"
#include "ui/screen.h"
#include "ui/status_bar.h"
#include "ui/value.h"

namespace kx::ui {

class Frame;

// The entry field being edited, as the clipboard sees it.
class ClipboardField {
 public:
  virtual ~ClipboardField() = default;
  virtual Value value() const = 0;
  virtual void assign(const Value& v) = 0;  // and redisplay
  virtual int width() const = 0;
  virtual bool memo() const { return false; }
};

class LDialog {
 public:
  LDialog(Frame& frame, int top, int left, int bottom, int right, int wnd);
  LDialog(const LDialog&) = delete;
  LDialog& operator=(const LDialog&) = delete;
  ~LDialog();

  std::string cTitle;
  std::string cColor;
  int nTop, nLeft, nBottom, nRight;
  int nWnd;  // 0 for the main window
  bool lShow = false, lClosed = false, lExitEsc = true, lGetUpperCase = false;
  int nExit = 0, nEnd = 0, nLastButton = 0;
  bool lTimer = false;
  int reading = 0;  // entry fields being read (aGetList)
  std::unique_ptr<LMenu> oMenu;
  std::unique_ptr<LStatusBar> oStatusBar;

  void showWindow();
  void activate() ;
  void cancel();
  void killTimer() { lTimer = false; }
  void close();
  void end(int n = 0);
  LStatusBar& sbDraw(const std::vector<std::string>& parts);
  void sbReset();
  void setShortCuts(bool) {}
  void setFont(std::string_view, int, int) {}
  void setStyle(int) {}
  void setMode(int, int) {}
  int maxRow() const { return nBottom - nTop; }
  int maxCol() const { return nRight - nLeft; }
  void setTimer(int seconds) { lTimer = seconds > 0; }
  // Binds a key for the life of the window; closing puts back the previous action.
  void setKey(int key, KeyAction action) { keys_.set(key, std::move(action)); }
  void setColor(std::string colour) { cColor = std::move(colour); }
  void title(std::string t);
  LMenu& menu();  // a new menu bar for this window, built with subMenu/menuItem/... and create

  Frame& frame() { return frame_; }
  int layer() const { return layer_; }

 private:
  friend class Frame;
  Frame& frame_;
  int layer_ = 0;
  LDialog* previous_active_ = nullptr;
  bool saved_cursor_visible_ = false;
  KeyScope keys_;
};

class Frame {
 public:
  static constexpr unsigned char kTitleAttr = 0x1F;

  Frame(Screen& screen, ColourSettings& colours);
  ~Frame();

  Screen& screen() { return screen_; }
  ColourSettings& colours() { return colours_; }
  KeyBindings& keys() { return keys_; }

  // Settings shared by every dialog.
  std::string csColorWin = "N/W", csColorGet = "N/W*", csColorGetActive = "W*/B";
  int nsValidRead = 0;
  int nsFontDecrease = 85;
  bool lsShortCuts = true;

  // Set-up, once: palette, cursor hidden, main window, grid cleared in "N/W", clipboard keys
  // (Ctrl-C copies, Alt-V pastes), the event hooks of the screen.
  void QZBASELSETUP();
  LDialog& LWINDOWMAIN();
  bool LMAXSCREEN() { return true; }

  LDialog& LDLGSHOW(int top, int left, int bottom, int right, std::string_view title);
  void LDLGCLOSE();
  void LDLGEND();
  void LACTIVATE(bool exit_on_esc = true);
  LStatusBar& LSBDRAW(const std::vector<std::string>& parts);
  LDialog* LWindowActive() { return active_; }
  LDialog& LWindowLast() { return *stack_.back(); }
  int window_count() const { return static_cast<int>(stack_.size()); }

  // A diagnostic message box with its arguments joined by blanks.
  void LMSG(const std::vector<std::string>& parts);
  // A system message box: the lines, a row of buttons; returns the 1-based button chosen. With
  // esc_result > 0 Esc gives that result, otherwise Esc does nothing. Buttons are also chosen by
  // their first letter.
  int message_box(const std::vector<std::string>& lines, const std::vector<std::string>& buttons,
                  std::string_view title, int esc_result);

  // Clipboard: pasting into and copying from the field being edited.
  void LGETCLIPBOARD();
  void LSETCLIPBOARD(std::optional<Value> value = std::nullopt);
  void LPASTECLIPBOARD();
  std::string clipboard_text();
  void set_editing(ClipboardField* field) { editing_ = field; }
  ClipboardField* editing() { return editing_; }

  // A menu command (1000-1999) for the active window's menu.
  void menu_event(int id);
  // Opens the pull-down of the visible menu bar at top-level item `index` and runs the item
  // chosen. Alt + a top-level hot key opens it from the keyboard (see LACTIVATE).
  void open_menu(int index);
  // The one-second refresh of the status bars of windows with a timer.
  void tick();
  // Redraws the menu row and status row for the windows now shown.
  void refresh_bars();
  int last_key() const { return last_key_; }

 private:
  friend class LDialog;
  bool filter(const Event& e);
  void close_dialog(LDialog& d);
  LDialog* visible_with_menu();
  LDialog* visible_with_status_bar();
  void remove(LDialog& d);
  void run_item(LDialog& owner, int id);

  Screen& screen_;
  ColourSettings& colours_;
  KeyBindings keys_;
  std::vector<std::unique_ptr<LDialog>> stack_;
  LDialog* active_ = nullptr;
  ClipboardField* editing_ = nullptr;
  std::string clipboard_;
  int last_key_ = 0;
};

}  // namespace kx::ui
