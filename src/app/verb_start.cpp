// `kaprix [NN]`: the interactive program on the real terminal.
#include <cstdio>

#include "app/verbs.h"
#include "base/clock.h"
#include "entry/screen_operator.h"
#include "entry/session.h"
#include "shell/program.h"
#include "shell/program_menu.h"
#include "store/upgrade.h"
#include "ui/frame.h"
#include "ui/ncurses_terminal.h"
#include "ui/screen.h"

namespace kx::app {

int verb_start(const Args& args) {
  SystemClock clock;
  ui::NcursesTerminal terminal(clock);
  ui::Screen screen(terminal, clock);
  ui::ColourSettings colours;
  ui::Frame frame(screen, colours);
  ui::Windows windows(screen, colours);
  ui::Messages messages(windows, frame);
  store::Globals globals;
  store::Workspace workspace;
  entry::ScreenOperator op(messages);
  entry::Session session{clock,    screen,  colours,   frame, windows,
                         messages, globals, workspace, op,    store::upgrade_work_folder};
  frame.QZBASELSETUP();
  shell::UpdateSettings update = shell::UpdateSettings::from_environment();
  shell::ProgramMenu menu(session, update);
  shell::Program program(
      session,
      shell::StartOptions::from_environment(args.empty() ? std::nullopt
                                                          : std::optional<std::string>(args[0])),
      menu, update);
  menu.attach(program);
  if (program.start()) program.run();
  screen.flush();
  workspace.close_all();
  return 0;
}

}  // namespace kx::app
