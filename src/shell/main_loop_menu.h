// What the main loop needs of the main menu: building the menu bar, running a command, and the
// menu events the frame does not handle itself.
#pragma once

#include "ui/event.h"

namespace kx::shell {

class MainLoopMenu {
 public:
  virtual ~MainLoopMenu() = default;
  // MENUCOMMAND(0): builds the menu bar of the main screen.
  virtual void build() = 0;
  // MENUSELECT: carries out main-menu command `code` with its argument.
  virtual void select(int code, int arg) = 0;
  // A menu event that reached the main loop.
  virtual void menu_event(const ui::Event& e) = 0;
};

}  // namespace kx::shell
