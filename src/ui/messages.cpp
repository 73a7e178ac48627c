#include "ui/messages.h"

#include <algorithm>
#include <cmath>

#include "base/cp850.h"
#include "base/text.h"
#include "ui/button.h"
#include "ui/entry_field.h"
#include "ui/keys.h"

namespace kx::ui {
namespace {

constexpr int kToneMs = 55;  // one tick of the PC timer

std::string str(std::string_view s) { return std::string(s); }

}  // namespace

double CENTER(std::string_view text, int width) {
  int len = static_cast<int>(text.size());
  if (len > width) return 0;
  return width / 2.0 - len / 2.0;
}

int DIREITA(std::string_view text, int width) {
  int len = static_cast<int>(text.size());
  return len > width ? 1 : width - len;
}

std::vector<std::string> split_lines(std::string_view text) {
  std::vector<std::string> out;
  for (auto part : text::split(text, ';')) out.emplace_back(part);
  return out;
}

Messages::Messages(Windows& windows, Frame& frame)
    : windows_(windows), frame_(frame), screen_(windows.screen()), colours_(windows.colours()) {}

void Messages::BEEP_ERRO(int times) {
  for (int i = 0; i < times; ++i) {
    for (int twice = 0; twice < 2; ++twice) {
      screen_.tone(300, kToneMs);
      screen_.tone(499, kToneMs);
    }
  }
}

void Messages::AVISO(std::string_view text, int row, int col) {
  screen_.write(row, col, text, standard_colour(colours_.COR_CLI_HE));
}

void Messages::message_line(std::string_view text) {
  std::string t = text.empty() ? std::string(100, ' ') : str(text);
  LDialog& current = frame_.LWindowLast();
  if (current.oStatusBar && current.oStatusBar->has_parts()) {
    current.oStatusBar->setText(0, t);
    return;
  }
  // Centred in 80 columns from column 1 (the last one falls off the grid).
  std::string line = t.size() >= 80 ? t.substr((t.size() - 80) / 2, 80)
                                     : std::string((80 - t.size()) / 2, ' ') + t;
  line = text::pad_right(line, 80);
  screen_.write(24, 1, line, standard_colour(colours_.COR_SAY));
}

Value Messages::MENS(int kind, std::string_view text_in, const MensArgs& a) {
  const int frame_type = (kind / 10) % 10;
  const int what = kind % 10;
  screen_.show_cursor(false);
  std::string text = text_in.empty() ? std::string(100, ' ') : str(text_in);
  const int prompt_len = static_cast<int>(text_in.size());
  const int lines = std::max(1, a.lines);

  if (what == 4 && a.var) {
    int extra = 0;
    if (auto* s = std::get_if<std::string>(a.var)) extra = static_cast<int>(s->size());
    else if (auto* d = std::get_if<Decimal>(a.var)) extra = a.width > 0 ? a.width : static_cast<int>(d->str().size());
    else if (std::holds_alternative<Date>(*a.var)) extra = 10;  // dd/mm/yyyy
    else extra = 1;
    text += std::string(static_cast<std::size_t>(extra), ' ');
  }
  if (what == 9) text += std::string(16, ' ');
  int w = static_cast<int>(text.size()) + 1;
  if (lines > 1) {
    w = w / lines + 1;
    text = text::pad_right(text, static_cast<std::size_t>(lines * w));
  }
  int col = 70 - w;
  if (auto* n = std::get_if<int>(&a.col)) col = *n;
  else if (auto* c = std::get_if<char>(&a.col)) {
    char u = static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
    col = u == 'E' ? 2 : u == 'C' ? (80 - w) / 2 : 70 - w;
  }
  if (what == 0) {
    message_line(text_in);
    return std::string();
  }
  const int row = a.row;
  if (frame_type == 7) ++w;
  const int c3 = frame_type == 7 ? colours_.COR_TEL3 : colours_.COR_TEL2;
  auto write_window = [&](int right) {
    windows_.REDEFJAN(Windows::kMessageWindow, colours_.COR_TEL1, colours_.COR_TEL2, c3, row, col,
                      row + lines + 1, right, what == 9 ? 0 : frame_type);
    windows_.ABREJAN(Windows::kMessageWindow);
    windows_.ESCRJAN(Windows::kMessageWindow, std::string(static_cast<std::size_t>(w + 1), ' '));
    windows_.ESCRJAN(Windows::kMessageWindow, text);
  };
  if (what == 3) {
    write_window(col + w + 2);
    screen_.show_cursor(true);
    return std::string();
  }

  std::string title = str(kDialogTitle);
  Rect dialog{row - 1, col - 1, row + lines, col + w};
  if (what == 9) {
    static constexpr const char* kItemKinds[] = {"", " dos Bens e Direitos", " das Dividas e Onus",
                                                 " dos Bens da Atividade Rural",
                                                 " das Dividas da Atividade Rural"};
    title = "Item " + std::to_string(a.item) + (frame_type >= 1 && frame_type <= 4 ? kItemKinds[frame_type] : "");
    dialog = {row, col, row + lines, col + w + 1};
  }
  LDialog& d = frame_.LDLGSHOW(dialog.top, dialog.left, dialog.bottom, dialog.right, title);
  d.sbDraw({});
  write_window(lines == 1 ? col + w + 1 : col + w);
  screen_.discard_input();

  Value result = std::string();
  auto close = [&] {
    windows_.FECHAJAN(Windows::kMessageWindow);
    d.close();
  };
  switch (what) {
    case 1:
    case 5:
    case 9:
      if (what == 1) BEEP_ERRO();
      screen_.wait_key();
      close();
      screen_.show_cursor(true);
      break;
    case 2: {
      std::string upper_opts = cp850::upper(a.opts);
      for (;;) {
        unsigned char c = key::character(screen_.wait_key());
        if (c && upper_opts.find(static_cast<char>(cp850::upper(c))) != std::string::npos) {
          result = std::string(1, static_cast<char>(cp850::upper(c)));
          break;
        }
      }
      close();
      break;
    }
    case 4: {
      screen_.show_cursor(true);
      Value scratch = std::string();
      Value& var = a.var ? *a.var : scratch;
      EntryField field(screen_, row, col + prompt_len + 1, var, a.picture.empty() ? "@KS" : a.picture,
                       standard_colour(frame_.csColorGet), standard_colour(frame_.csColorGetActive));
      ++d.reading;
      int exit_key;
      do {
        exit_key = field.read(&frame_.keys(), &frame_);
      } while (exit_key != key::kEsc && a.valid && !a.valid(var));
      --d.reading;
      if (exit_key == key::kEsc) {
        if (std::holds_alternative<std::string>(var)) var = std::string();
        else if (std::holds_alternative<Decimal>(var)) var = Decimal{};
        else if (std::holds_alternative<Date>(var)) var = screen_.clock().today();
        else var = false;
      }
      result = var;
      close();
      break;
    }
    default:
      close();
      break;
  }
  return result;
}

Value Messages::AVISOSN(const std::vector<std::string>& text, int type, const std::vector<std::string>& options,
                        std::string_view title) {
  std::vector<std::string> lines;
  for (const auto& t : text) {
    for (auto& l : split_lines(t)) lines.push_back(std::move(l));
  }
  const std::string nao = str("Não"_cp);
  if (type == 0) {
    frame_.message_box(lines, {"Ok"}, title, 1);
    return std::string();
  }
  if (type == 1 || type == 2) {
    bool yes = frame_.message_box(lines, {"Sim", nao}, title, 0) == 1;
    if (type == 1) return yes;
    return std::string(yes ? "S" : "N");
  }
  std::vector<std::string> buttons;
  switch (type) {
    case 3: buttons = {"Sim", nao, "Ignore"}; break;
    case 4: buttons = {"Sim", nao, "Fim"}; break;
    case 5: buttons = {"1", "2", "3"}; break;
    case 6: buttons = options; break;
    case 7: buttons = {"1", "2", "3", "4", "5", "6"}; break;
    default: buttons = {"Sim", nao}; break;
  }
  int n = MSGALERT(lines, buttons, colours_.COR_ENCH_C, title, false);
  switch (type) {
    case 3: return std::string(n == 1 ? "S" : n == 3 ? "I" : "N");
    case 4: return std::string(n == 1 ? "S" : n == 3 ? "F" : "N");
    case 5: return std::string(n >= 1 && n <= 3 ? std::to_string(n) : "");
    default: return Decimal(n);
  }
}

int Messages::MSGALERT(const std::vector<std::string>& msg_in, std::vector<std::string> buttons,
                       std::string_view colour, std::string_view title, bool exit_esc) {
  std::vector<std::string> msg;
  for (const auto& m : msg_in) {
    for (auto& l : split_lines(m)) msg.push_back(std::move(l));
  }
  if (buttons.empty()) buttons = {"<ENTER>"};
  for (auto& b : buttons) {
    bool padded = !b.empty() && (b.front() == ' ' || b.back() == ' ');
    if (b.size() < 10 && !padded) {
      std::size_t left = (10 - b.size()) / 2;
      b = std::string(left, ' ') + b + std::string(10 - b.size() - left, ' ');
    }
  }
  const int W = kCols, MAXROW = kRows - 1;
  int L = static_cast<int>(msg.size()), M = 0, B = 0;
  for (const auto& l : msg) M = std::max(M, static_cast<int>(l.size()));
  for (const auto& b : buttons) B += static_cast<int>(b.size()) + 2;
  int h = std::min(L, 16) + 3;
  int v = std::min(std::max({B, M, static_cast<int>(title.size())}) + 3, W - 4);
  int t = static_cast<int>(std::floor(MAXROW / 2.0 - h / 2.0)) - 1;
  int l = static_cast<int>(std::floor(W / 2.0 - v / 2.0)) - 1;
  int bottom = t + h, right = l + v + 1;

  // Buttons: one blank apart from ROUND(W/2 - B/2); two rows lower when one would pass the edge.
  std::vector<LButton> row;
  int start = std::max(static_cast<int>(std::lround(W / 2.0 - B / 2.0)), l + 1);
  int bcol = start, brow = t + h - 1;
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    int len = static_cast<int>(buttons[i].size()) + 2;
    if (bcol + len - 1 > right && bcol != start) {
      bottom += 2;
      brow += 2;
      bcol = start;
    }
    row.push_back(LButton{brow, bcol, buttons[i], static_cast<int>(i) + 1, i == 0});
    bcol += len + 1;
  }
  std::string dialog_colour = colour.empty() ? frame_.csColorWin : str(colour);
  unsigned char attr = standard_colour(dialog_colour, 0x70);
  LDialog& d = frame_.LDLGSHOW(t, l, bottom, right, title);
  d.setColor(dialog_colour);
  screen_.fill({t, l, bottom, right}, Cell{' ', attr});
  // The read-only text box.
  int box_rows = std::max(1, h - 3);
  for (int i = 0; i < L && i < box_rows; ++i) {
    screen_.write(t + 1 + i, l + 1, msg[static_cast<std::size_t>(i)].substr(0, static_cast<std::size_t>(v)), attr);
  }
  const unsigned char focus_attr = 0x1F;
  int focus = 0, pressed = 0;
  bool done = false;
  screen_.discard_input();
  while (!done) {
    for (auto& b : row) {
      b.lHasFocus = b.nId == focus + 1;
      b.draw(screen_, 0x70, focus_attr);
    }
    auto e = screen_.next_event(-1);
    if (!e) continue;
    switch (e->kind) {
      case EventKind::kTick:
        frame_.tick();
        break;
      case EventKind::kMouse:
        if (int id = button_at(row, e->row, e->col)) {
          pressed = id;
          done = true;
        }
        break;
      case EventKind::kKey: {
        int n = static_cast<int>(row.size());
        if (e->code == key::kEnter) {
          pressed = focus + 1;
          done = true;
        } else if (e->code == key::kEsc && exit_esc) {
          done = true;
        } else if (e->code == key::kLeft) {
          focus = (focus + n - 1) % n;
        } else if (e->code == key::kRight) {
          focus = (focus + 1) % n;
        }
        break;
      }
      default:
        break;
    }
  }
  d.close();
  return pressed;
}

int Messages::ESC_OPCAO(int win, int last, int col, int width, int row_offset, int close, MenuChoice& c,
                        int with_msg) {
  auto paint = [&](int item, int attr) { windows_.ESCRATR(win, row_offset + item, col, attr, width); };
  auto help = [&](int kind) {
    if (with_msg == 1 && c.POSVER >= 1 && c.POSVER <= static_cast<int>(c.MENSMENU.size())) {
      MensArgs args;
      args.row = 1;
      args.col = 'C';
      MENS(kind, c.MENSMENU[static_cast<std::size_t>(c.POSVER - 1)], args);
    } else if (kind == 13) {
      MENS(0);
    }
  };
  if (c.POSVER < 1) c.POSVER = 1;
  paint(c.POSVER, colours_.COR_ESCOL);
  bool done = false;
  while (!done) {
    if (c.POSVER == 0) c.POSVER = 1;
    help(13);
    int k = screen_.wait_key();
    int before = c.POSVER;
    if (k == key::kEnter) {
      done = true;
    } else if (k == key::kEsc) {
      c.POSVER = 0;
      done = true;
    } else if (k == key::kHome) {
      c.POSVER = 1;
    } else if (k == key::kEnd) {
      c.POSVER = last;
    } else if (k == key::kDown) {
      c.POSVER = std::min(c.POSVER + 1, last);
    } else if (k == key::kUp) {
      c.POSVER = std::max(c.POSVER - 1, 1);
    } else if (k == key::alt('A')) {
      if (calculator) calculator();
    } else if (unsigned char ch = key::character(k)) {
      auto at = cp850::upper(c.OPCOES).find(static_cast<char>(cp850::upper(ch)));
      if (at != std::string::npos && static_cast<int>(at) < last) {
        c.POSVER = static_cast<int>(at) + 1;
        done = true;
      }
    }
    if (c.POSVER != before && c.POSVER > 0) {
      paint(before, colours_.COR_TEL1);
      paint(c.POSVER, colours_.COR_ESCOL);
      if (done && with_msg == 1) help(0);
    }
  }
  screen_.show_cursor(true);
  windows_.FECHAJAN(Windows::kMessageWindow);
  if (close == 1) windows_.FECHAJAN(win);
  return c.POSVER;
}

}  // namespace kx::ui
