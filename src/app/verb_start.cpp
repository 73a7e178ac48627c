// `kaprix [NN]`: the interactive program on the real terminal.
#include <cstdio>

#include "app/verbs.h"
#include "base/clock.h"
#include "base/cp850.h"
#include "entry/screen_operator.h"
#include "entry/session.h"
#include "shell/program.h"
#include "store/upgrade.h"
#include "ui/frame.h"
#include "ui/ncurses_terminal.h"
#include "ui/screen.h"

namespace kx::app {
namespace {

// Until the main menu is connected: leaving works, every other command says it is not there.
class LeaveOnlyMenu : public shell::MainMenu {
 public:
  explicit LeaveOnlyMenu(ui::Messages& messages) : messages_(messages) {}
  void attach(shell::Program& p) { program_ = &p; }
  void build() override {}
  void select(int code, int) override {
    if (code == shell::kLeave || code == shell::kEndAtOnce)
      program_->ROTSAIDA(code);
    else
      messages_.tell({std::string("Função ainda não disponível"_cp)});
  }
  void menu_event(const ui::Event&) override {}

 private:
  ui::Messages& messages_;
  shell::Program* program_ = nullptr;
};

}  // namespace

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
  LeaveOnlyMenu menu(messages);
  shell::Program program(
      session,
      shell::StartOptions::from_environment(args.empty() ? std::nullopt
                                                          : std::optional<std::string>(args[0])),
      menu, shell::UpdateSettings::from_environment());
  menu.attach(program);
  if (program.start()) program.run();
  screen.flush();
  workspace.close_all();
  return 0;
}

}  // namespace kx::app
