// A small screen on the real terminal for the tmux tests: a framed window in the program's
// colours, a menu bar and a status bar; every key read is named on row 10, every menu command
// on row 11. Esc ends it.
#include <string>

#include "base/clock.h"
#include "base/cp850.h"
#include "ui/frame.h"
#include "ui/keys.h"
#include "ui/messages.h"
#include "ui/ncurses_terminal.h"
#include "ui/screen.h"
#include "ui/windows.h"

int main() {
  using namespace kx;
  using namespace kx::ui;
  Clock& clock = system_clock();
  NcursesTerminal terminal(clock);
  Screen screen(terminal, clock);
  ColourSettings colours;
  Frame frame(screen, colours);
  frame.QZBASELSETUP();
  Windows windows(screen, colours);

  windows.ENCHETELA(' ', colours.COR_ENCH_C);
  windows.REDEFJAN(4, colours.COR_TEL1, colours.COR_TEL2, colours.COR_TEL3, 3, 10, 7, 50, 1);
  windows.ABREJAN(4);
  windows.ESCRJAN(4, std::string(cp850::from_utf8("Olá ÇÃ ■ ░▒▓ Não")));
  LMenu& menu = frame.LWINDOWMAIN().menu();
  menu.subMenu(cp850::from_utf8("&Declaração"));
  menu.menuItem("&Abre", [&](LMenuItem& item, LDialog&) {
    screen.write(11, 2, "Menu: " + std::to_string(item.nSequence), 0x1F);
  });
  menu.endMenu();
  menu.create();
  frame.LSBDRAW({"PRONTO", "Terminal 01"});
  for (int k = 1; k <= 700; ++k) {
    if (k == key::kEsc || k == key::alt('D')) continue;  // Esc ends, Alt-D opens the menu
    frame.keys().set(k, [&screen, k] {
      screen.write(10, 2, std::string("Tecla: ") + key::name(k) + std::string(20, ' '), 0x1F);
    });
  }
  for (int k = -47; k <= 0; ++k) {
    frame.keys().set(k, [&screen, k] {
      screen.write(10, 2, std::string("Tecla: ") + key::name(k) + std::string(20, ' '), 0x1F);
    });
  }
  frame.LACTIVATE(true);
  return 0;
}
