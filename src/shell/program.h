// The running program: start-up up to the main screen, the main loop and the orderly exit.
#pragma once

#include <functional>

#include "entry/session.h"
#include "shell/main_loop_menu.h"
#include "shell/start_options.h"
#include "shell/update_check.h"

namespace kx::shell {

inline constexpr int kOpenDeclaration = 11;  // main-menu command of Alt-I
inline constexpr int kLeave = 91;            // "Fim", Alt-T, Esc: asks first
inline constexpr int kEndAtOnce = 18;        // "Terminar (Alt T)": does not ask
inline constexpr int kImport = 17;           // an import leaves the folder to reindex at exit

// FIMSISTEMA: the agenda's "Sair": drops what was typed ahead and returns.
void FIMSISTEMA(entry::Session& s);

class Program {
 public:
  Program(entry::Session& s, StartOptions options, MainLoopMenu& menu, UpdateSettings update);

  // Every step from the terminal number to the menu bar. False when the program ended during
  // start-up (`end` is then set).
  bool start();
  // The main loop, until `end`.
  void run();
  // ROTSAIDA: code kLeave asks "Confirma saída do programa?" first. Stores the terminal's
  // settings, reindexes the work folder after an import, closes every table and sets `end`.
  // False when the operator chose to stay.
  bool ROTSAIDA(int code);

  bool end = false;

  // The agenda: loading today's reminders at start-up (ENCHEAG) and checking them after every
  // key and every second (VE_AGEN). Empty until the agenda is built.
  std::function<void(entry::Session&)> load_reminders;
  std::function<void(entry::Session&)> check_reminders;

 private:
  void stop();
  void program_folder();
  bool work_folder();
  void handle(const ui::Event& e);
  // Alt + a hot key of the menu bar opens that menu.
  void open_menu(char letter);

  entry::Session& s_;
  StartOptions options_;
  MainLoopMenu& menu_;
  UpdateSettings update_;
};

}  // namespace kx::shell
