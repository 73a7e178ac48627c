// The main menu of the running program: the menu bar and its dispatcher, with the commands that
// start-up, the folders, the update check and the entry password provide connected to it.
#pragma once

#include <functional>

#include "entry/session.h"
#include "shell/main_loop_menu.h"
#include "shell/menu_select.h"
#include "shell/program.h"
#include "shell/update_check.h"

namespace kx::shell {

class ProgramMenu : public MainLoopMenu {
 public:
  // `more` may add the operations of other commands (the declaration entry) to the ones
  // connected here.
  ProgramMenu(entry::Session& s, UpdateSettings update,
              const std::function<void(MenuOperations&)>& more = {});
  ProgramMenu(const ProgramMenu&) = delete;
  ProgramMenu& operator=(const ProgramMenu&) = delete;

  // The program whose ROTSAIDA the leaving commands run; set before the first command.
  void attach(Program& program) { program_ = &program; }

  void build() override { menu_.MENUCOMMAND(0); }
  void select(int code, int arg) override { menu_.MENUSELECT(code, arg); }
  void menu_event(const ui::Event& e) override { s_.frame.menu_event(e.code); }

 private:
  MenuOperations operations(const std::function<void(MenuOperations&)>& more);

  entry::Session& s_;
  UpdateSettings update_;
  Program* program_ = nullptr;
  MainMenu menu_;
};

}  // namespace kx::shell
