#define NCURSES_WIDECHAR 1
#include "ui/ncurses_terminal.h"

#include <ncursesw/curses.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "base/cp850.h"
#include "ui/keys.h"

namespace kx::ui {
namespace {

// The glyphs of the control bytes, as the screen code page draws them.
constexpr char32_t kControlGlyphs[32] = {
    U' ', U'☺', U'☻', U'♥', U'♦', U'♣', U'♠', U'•', U'◘', U'○', U'◙', U'♂', U'♀', U'♪', U'♫', U'☼',
    U'►', U'◄', U'↕', U'‼', U'¶', U'§', U'▬', U'↨', U'↑', U'↓', U'→', U'←', U'∟', U'↔', U'▲', U'▼'};

char32_t glyph(unsigned char b) {
  if (b < 32) return kControlGlyphs[b];
  if (b == 0x7F) return U'⌂';
  return cp850::to_unicode(b);
}

// xBase colour numbers (B = 1, G = 2, R = 4) to curses colour numbers (R = 1, G = 2, B = 4).
short curses_colour(int xbase) {
  static constexpr short kMap[8] = {COLOR_BLACK, COLOR_BLUE, COLOR_GREEN, COLOR_CYAN,
                                    COLOR_RED,   COLOR_MAGENTA, COLOR_YELLOW, COLOR_WHITE};
  return static_cast<short>(kMap[xbase & 7] + (xbase & 8));
}

std::string base64(std::string_view in) {
  static constexpr char kTable[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  std::size_t i = 0;
  for (; i + 2 < in.size(); i += 3) {
    unsigned v = (static_cast<unsigned char>(in[i]) << 16) | (static_cast<unsigned char>(in[i + 1]) << 8) |
                 static_cast<unsigned char>(in[i + 2]);
    for (int s = 18; s >= 0; s -= 6) out += kTable[(v >> s) & 63];
  }
  if (i < in.size()) {
    unsigned v = static_cast<unsigned char>(in[i]) << 16;
    if (i + 1 < in.size()) v |= static_cast<unsigned char>(in[i + 1]) << 8;
    out += kTable[(v >> 18) & 63];
    out += kTable[(v >> 12) & 63];
    out += i + 1 < in.size() ? kTable[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

bool on_path(const char* program) {
  const char* path = std::getenv("PATH");
  if (!path) return false;
  std::string p(path);
  std::size_t start = 0;
  while (start <= p.size()) {
    auto end = p.find(':', start);
    std::string dir = p.substr(start, end == std::string::npos ? std::string::npos : end - start);
    std::string file = (dir.empty() ? "." : dir) + "/" + program;
    if (std::FILE* f = std::fopen(file.c_str(), "r")) {
      std::fclose(f);
      return true;
    }
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return false;
}

}  // namespace

NcursesTerminal::NcursesTerminal(Clock& clock) : clock_(clock) {
  std::setlocale(LC_ALL, "");
  screen_ = newterm(nullptr, stdout, stdin);
  if (!screen_) throw std::runtime_error("o terminal não pôde ser aberto (verifique TERM)");
  set_term(screen_);
  raw();
  noecho();
  nonl();
  keypad(stdscr, TRUE);
  meta(stdscr, TRUE);
  set_escdelay(25);
  mousemask(BUTTON1_PRESSED | BUTTON2_PRESSED | BUTTON3_PRESSED, nullptr);
  mouseinterval(0);
  if (has_colors()) {
    start_color();
    colours16_ = COLORS >= 16;
  }
  // Keys whose codes ncurses gives out at run time (Ctrl with cursor keys).
  const std::pair<const char*, int> extended[] = {
      {"kLFT5", key::kCtrlLeft}, {"kRIT5", key::kCtrlRight}, {"kHOM5", key::kCtrlHome},
      {"kEND5", key::kCtrlEnd},  {"kNXT5", key::kCtrlPgDn},  {"kPRV5", key::kCtrlPgUp}};
  for (auto [name, code] : extended) {
    const char* seq = tigetstr(const_cast<char*>(name));
    if (seq && seq != reinterpret_cast<char*>(-1)) {
      int k = key_defined(seq);
      if (k > 0) extended_keys_[k] = code;
    }
  }
  small_ = !large_enough();
  if (small_) {
    std::fputs("\033[8;27;80t", stdout);  // ask an xterm-like terminal to grow
    std::fflush(stdout);
    show_size_notice();
  }
}

NcursesTerminal::~NcursesTerminal() {
  curs_set(1);
  endwin();
  delscreen(screen_);
}

bool NcursesTerminal::large_enough() const { return LINES >= kTerminalRows && COLS >= kCols; }

void NcursesTerminal::show_size_notice() {
  erase();
  const char* lines[] = {"KAPRIX precisa de um terminal de 27 linhas por 80 colunas.",
                         "Aumente a janela para continuar."};
  for (int i = 0; i < 2; ++i) {
    int len = static_cast<int>(std::string(lines[i]).size());
    mvaddstr(LINES / 2 - 1 + i, std::max(0, (COLS - len) / 2), lines[i]);
  }
  refresh();
}

short NcursesTerminal::pair_for(unsigned char attr) {
  if (!has_colors()) return 0;
  int fg = attr & 15, bg = attr >> 4;
  if (!colours16_) {
    fg &= 7;
    bg &= 7;
  }
  int key = bg * 16 + fg;
  auto it = pairs_.find(key);
  if (it != pairs_.end()) return it->second;
  if (next_pair_ >= COLOR_PAIRS) return 0;
  short p = next_pair_++;
  init_pair(p, curses_colour(fg), curses_colour(bg));
  pairs_[key] = p;
  return p;
}

void NcursesTerminal::draw(int row, int col, std::span<const Cell> cells) {
  if (small_) return;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    wchar_t wc[2] = {static_cast<wchar_t>(glyph(cells[i].ch)), L'\0'};
    attr_t a = 0;
    if (!colours16_ && (cells[i].attr & 8)) a |= A_BOLD;
    cchar_t cc;
    setcchar(&cc, wc, a, pair_for(cells[i].attr), nullptr);
    mvadd_wch(row, col + static_cast<int>(i), &cc);
  }
}

void NcursesTerminal::set_cursor(int row, int col, bool visible) {
  if (small_) return;
  move(row, col);
  curs_set(visible ? 1 : 0);
}

void NcursesTerminal::present() {
  if (!small_) refresh();
}

std::optional<Event> NcursesTerminal::read_after_escape() {
  timeout(30);
  wint_t ch;
  int status = get_wch(&ch);
  if (status == ERR) return Event::key(key::kEsc);
  if (status == OK && ch < 128) {
    char c = static_cast<char>(ch);
    if (int code = key::alt(c)) return Event::key(code);
  }
  if (status == KEY_CODE_YES && ch >= KEY_F(1) && ch <= KEY_F(12)) {
    return Event::key(key::alt_f(static_cast<int>(ch - KEY_F(0))));
  }
  return Event::key(key::kEsc);
}

std::optional<Event> NcursesTerminal::translate(int status, wint_t ch) {
  if (status == KEY_CODE_YES) {
    if (auto it = extended_keys_.find(static_cast<int>(ch)); it != extended_keys_.end()) {
      return Event::key(it->second);
    }
    if (ch >= KEY_F(1) && ch <= KEY_F(60)) {
      int n = static_cast<int>(ch - KEY_F(0));
      int base = (n - 1) % 12 + 1;
      switch ((n - 1) / 12) {
        case 0: return Event::key(key::f(base));
        case 1: return Event::key(key::shift_f(base));
        case 2: return Event::key(key::ctrl_f(base));
        case 4: return Event::key(key::alt_f(base));
        default: return std::nullopt;
      }
    }
    switch (ch) {
      case KEY_UP: return Event::key(key::kUp);
      case KEY_DOWN: return Event::key(key::kDown);
      case KEY_LEFT: return Event::key(key::kLeft);
      case KEY_RIGHT: return Event::key(key::kRight);
      case KEY_HOME: return Event::key(key::kHome);
      case KEY_END: return Event::key(key::kEnd);
      case KEY_PPAGE: return Event::key(key::kPgUp);
      case KEY_NPAGE: return Event::key(key::kPgDn);
      case KEY_IC: return Event::key(key::kIns);
      case KEY_DC: return Event::key(key::kDel);
      case KEY_BACKSPACE: return Event::key(key::kBackspace);
      case KEY_BTAB: return Event::key(key::kShiftTab);
      case KEY_ENTER: return Event::key(key::kEnter);
      case KEY_RESIZE: {
        bool was_small = small_;
        small_ = !large_enough();
        if (small_) show_size_notice();
        else if (was_small) clear();
        return Event::resize(LINES, COLS);
      }
      case KEY_MOUSE: {
        MEVENT m;
        if (getmouse(&m) != OK) return std::nullopt;
        int button = (m.bstate & BUTTON3_PRESSED) ? 3 : (m.bstate & BUTTON2_PRESSED) ? 2 : 1;
        return Event::click(m.y - 1, m.x, button);
      }
      default:
        return std::nullopt;
    }
  }
  if (ch == 27) return read_after_escape();
  if (ch == 127) return Event::key(key::kBackspace);
  if (ch >= 1 && ch <= 26) {
    if (ch == 8 || ch == 9 || ch == 10 || ch == 13) return Event::key(static_cast<int>(ch));
    return Event::key(key::ctrl(static_cast<char>('A' + ch - 1)));
  }
  if (ch < 32) return std::nullopt;
  unsigned char b = cp850::from_unicode(static_cast<char32_t>(ch), 0);
  if (b == 0) return std::nullopt;
  return Event::key(b);
}

std::optional<Event> NcursesTerminal::read(int64_t timeout_ms) {
  int64_t deadline = timeout_ms < 0 ? -1 : clock_.monotonic_ms() + timeout_ms;
  for (;;) {
    int64_t left = deadline < 0 ? -1 : deadline - clock_.monotonic_ms();
    if (deadline >= 0 && left < 0) left = 0;
    timeout(static_cast<int>(left));
    wint_t ch;
    int status = get_wch(&ch);
    if (status == ERR) return std::nullopt;
    auto e = translate(status, ch);
    if (e && (!small_ || e->kind == EventKind::kResize)) return e;
    if (deadline >= 0 && clock_.monotonic_ms() >= deadline) return std::nullopt;
  }
}

void NcursesTerminal::discard_input() { flushinp(); }

void NcursesTerminal::tone(int, int) {
  // One bell for a burst of tones (an error sounds two pairs in a row).
  int64_t now = clock_.monotonic_ms();
  if (now - last_bell_ms_ < 300) return;
  last_bell_ms_ = now;
  beep();
}

void NcursesTerminal::set_palette(int index, Rgb rgb) {
  if (!has_colors() || !can_change_color() || COLORS < 16) return;
  init_color(curses_colour(index), static_cast<short>(rgb.r * 1000 / 255), static_cast<short>(rgb.g * 1000 / 255),
             static_cast<short>(rgb.b * 1000 / 255));
}

void NcursesTerminal::set_clipboard(std::string_view text) {
  std::string seq = "\033]52;c;" + base64(cp850::to_utf8(text)) + "\a";
  std::fputs(seq.c_str(), stdout);
  std::fflush(stdout);
}

std::optional<std::string> NcursesTerminal::clipboard() {
  const char* command = nullptr;
  if (std::getenv("WAYLAND_DISPLAY") && on_path("wl-paste")) command = "wl-paste -n 2>/dev/null";
  else if (std::getenv("DISPLAY") && on_path("xclip")) command = "xclip -o -selection clipboard 2>/dev/null";
  if (!command) return std::nullopt;
  std::FILE* p = ::popen(command, "r");
  if (!p) return std::nullopt;
  std::string out;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0 && out.size() < (1u << 20)) out.append(buf, n);
  if (::pclose(p) != 0) return std::nullopt;
  return cp850::from_utf8(out);
}

}  // namespace kx::ui
