// The main menu of a running program: the bar (MENUCOMMAND), the dispatcher of its commands
// (MENUSELECT) with the steps before and after each command, the commands that only change
// settings, the print selection, the password items and the precondition of the hand-over to
// the official program (AVISOSRF).
//
// The commands that other parts of the program carry out arrive as MenuOperations; a command
// whose operation is empty shows ui::kNotAvailable.
#pragma once

#include <exception>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "base/cp850.h"
#include "entry/session.h"
#include "shell/menu_tree.h"
#include "shell/print_selection.h"

namespace kx::shell {

struct MenuOperations {
  // ENTRADA(title, 1): the CPF selection and the work on that taxpayer (11, 12, 13, 61, 62, 63;
  // OPCAO_1 tells which).
  std::function<void(std::string_view title)> declaration_entry;
  // 62, 63: the hand-over of several taxpayers, after AVISOSRF allowed it.
  std::function<void(int code)> hand_over_many;
  std::function<void()> agenda;                         // 14
  std::function<void()> folder_dialog;                  // 15
  std::function<void(int argument, std::string_view title)> exclusion;  // 16
  std::function<void()> import_previous_year;           // 17 (the registry is closed meanwhile)
  std::function<void(int code)> leave;                  // 18, 91: ROTSAIDA(code)
  std::function<void(int n)> select_area;               // 21 (1), 67 (2): SELAREA(n)
  std::function<void()> transfer;                       // 22: TRANOME(1)
  std::function<void()> fees;                           // 25
  std::function<void(int argument)> status;             // 27 (the registry is open)
  std::function<void()> selic;                          // 28
  std::function<void()> reindex;                        // 29: REINDEXA
  std::function<void()> change_cpf;                     // 30
  std::function<void(int argument)> copy_part;          // 31
  std::function<void(int argument)> export_table;       // 32
  std::function<void(int argument)> bank_slips;         // 33
  std::function<void(int argument)> email;              // 34
  std::function<void(int mode)> update_check;           // 35: INTER(1)
  // 45: SELITEMIMP(45, argument): the printer (1) or its port (2); the printer model name when
  // it changed, and the bar is rebuilt.
  std::function<std::optional<std::string>(int argument)> choose_printer;
  std::function<void()> print;                          // 51: DECLARA with code 51
  std::function<void()> reprint;                        // 52: IMP_TXT(2) of "NAO-DOS.TXT"
  std::function<void()> letters;                        // 53
  std::function<void()> recover_index;                  // 68: RECUP_INDICE
  // 71..76: backups and restores, true when the copy was made. The registry is closed for 72,
  // 73, 75 and 76 and open again afterwards.
  std::function<bool(int code, int argument)> backup;
  std::function<void(int part)> colour_editor;          // the colour items, parts 1..7
  // The entry password: whether `password` is the stored one, and storing a new one.
  std::function<bool(std::string_view password)> password_verify;
  std::function<void(std::string_view password)> password_set;
};

class MainMenu {
 public:
  MainMenu(entry::Session& session, MenuOperations operations);
  MainMenu(const MainMenu&) = delete;
  MainMenu& operator=(const MainMenu&) = delete;

  // Builds the bar on the main window: the whole menu for any n but 1, an empty bar for 1.
  void MENUCOMMAND(int n = 0);
  void MENUSELECT(int code, int argument = 0);
  bool AVISOSRF();
  // Shows the selection ("Selecao para impressao").
  void MOS_CONFIMP();
  // 45..47.
  void SELITEMIMP(int code, int argument = 0);
  // The password items.
  void password_toggle();
  void password_change();

  std::string NOMEIMP = "NAO DOS";  // the printer model of the terminal's printer record
  PrintItems items;                 // ITEM1..ITEM7

 private:
  MenuLabels labels() const;
  // Rebuilds the bar when a label it shows has changed.
  void refresh_bar();
  void run(int code, int argument);
  // Runs `work`; a table or file operation that fails under it is told to the operator and
  // ends it.
  void guarded(int code, const std::function<void()>& work);
  void report_failure(int code, const std::exception& e);
  // Runs the operation `f`, or tells that it is not available; whether it ran.
  template <typename F, typename... Args>
  bool call(const F& f, Args&&... args) {
    if (!f) {
      not_available();
      return false;
    }
    f(std::forward<Args>(args)...);
    return true;
  }
  void not_available();
  void tell(std::initializer_list<std::string_view> lines);
  bool ask(std::initializer_list<std::string_view> lines);
  void print_selection(int code, int argument);
  void store_print_selection(bool all);
  void save_mode(int argument);
  void update_setting();
  void adjustments(int argument);
  void reprint();
  void transfer_settings(int code, int argument);
  std::optional<int> ask_status(std::string_view prompt, int current);
  void backup(int code, int argument);
  std::optional<std::string> ask_drive();
  void compressor();
  void processor();
  void store_compression();
  void reopen_registry();

  entry::Session& s_;
  MenuOperations ops_;
  int bar_ = 1;       // the n of the bar shown
  MenuLabels built_;  // the settings its labels show
};

}  // namespace kx::shell
