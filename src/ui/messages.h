// The message line, message windows and boxes, questions and the highlight-bar choice.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "base/cp850.h"
#include "ui/frame.h"
#include "ui/prompter.h"
#include "ui/value.h"
#include "ui/windows.h"

namespace kx::ui {

// The optional arguments of MENS.
struct MensArgs {
  int row = 20;
  // A column, "E" (2), "C" (centred) or none (ending at column 70).
  std::variant<std::monostate, int, char> col;
  int lines = 1;
  std::string opts;          // kind 2: the letters that answer
  Value* var = nullptr;      // kind 4: the variable read
  int width = 0;             // kind 4: display width of a number
  std::string picture = "@KS";
  std::function<bool(const Value&)> valid;  // kind 4: validation (default: always true)
  int item = 0;              // units digit 9: number of the current item
};

// The shared state of ESC_OPCAO: the current item, one hot-key letter per item and one help
// line per item.
struct MenuChoice {
  int POSVER = 1;
  std::string OPCOES;
  std::vector<std::string> MENSMENU;
};

class Messages : public Prompter {
 public:
  static constexpr std::string_view kDialogTitle = "KAPRIX - Zent Informatica";

  Messages(Windows& windows, Frame& frame);

  // The tens digit of `kind` is the frame type of the message window (0, 1 or 7), the units
  // digit the kind: 0 message line, 1 error (beep, any key), 2 key choice (returns the letter),
  // 3 window left open (closed by FECHAJAN(10)), 4 one-field input (returns the value),
  // 5 notice (any key), 9 item notice. Texts are CP850.
  Value MENS(int kind = 0, std::string_view text = {}, const MensArgs& args = {});
  void BEEP_ERRO(int times = 1);
  // type 0: OK box, returns ""; 1: yes/no, returns a logical; 2: yes/no, "S"/"N"; 3: Sim/Não/
  // Ignore, "S"/"N"/"I"; 4: Sim/Não/Fim, "S"/"N"/"F"; 5: "1"/"2"/"3"; 6: the caller's
  // `options`, 7: "1".."6", both the button number. Types 3-7 cannot be left with Esc.
  Value AVISOSN(const std::vector<std::string>& text, int type,
                const std::vector<std::string>& options = {}, std::string_view title = "Aviso");
  // The alert dialog; returns the number of the button pressed (0 for none).
  int MSGALERT(const std::vector<std::string>& msg, std::vector<std::string> buttons = {"<ENTER>"},
               std::string_view colour = "", std::string_view title = "", bool exit_esc = true);
  void AVISO(std::string_view text, int row = 24, int col = 0);
  // The highlight-bar choice in window `win`; returns the item chosen or 0 (Esc).
  int ESC_OPCAO(int win, int last, int col, int width, int row_offset, int close, MenuChoice& choice,
                int with_msg = 0);

  // Prompter
  void tell(const std::vector<std::string>& lines) override { AVISOSN(lines, 0); }
  bool ask(const std::vector<std::string>& lines) override {
    return std::get<std::string>(AVISOSN(lines, 2)) == "S";
  }

  // Alt-A in ESC_OPCAO opens the calculator.
  std::function<void()> calculator;

  Windows& windows() { return windows_; }
  Frame& frame() { return frame_; }

 private:
  void message_line(std::string_view text);

  Windows& windows_;
  Frame& frame_;
  Screen& screen_;
  ColourSettings& colours_;
};

// The message of a command or key whose part of the program is not built yet.
inline constexpr std::string_view kNotAvailable = "Função ainda não disponível nesta versão."_cp;

// The column at which `text` is centred: width/2 - len/2 (a fraction for odd lengths); 0 when
// the text is longer than width.
double CENTER(std::string_view text, int width = 80);
// width - len; 1 when the text is longer than width.
int DIREITA(std::string_view text, int width = 80);
// Texts split at ";" (one message given as a single string).
std::vector<std::string> split_lines(std::string_view text);

}  // namespace kx::ui
