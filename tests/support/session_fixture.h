// A running program on the screen harness: an installed program folder in a temporary folder
// (its own work folder, an auxiliary folder), the settings of terminal "07", the open tables
// and the screen's operator of the table layer.
#pragma once

#include <filesystem>
#include <string>

#include "../os/temp_folder.h"
#include "entry/screen_operator.h"
#include "entry/session.h"
#include "shell/install.h"
#include "store/globals.h"
#include "store/workspace.h"
#include "ui/harness.h"

namespace kx::testing {

class SessionFixture {
 public:
  // `install` false: the program folder is left empty.
  explicit SessionFixture(bool install = true) {
    globals.NUSU = "07";
    globals.ROTADEF = tmp / "Kaprix";
    globals.ARQDEF = globals.ROTADEF + "/";
    globals.ROTADOANO = globals.ROTA = globals.ROTADEF;
    globals.LOCARQ = globals.DIRORIG = globals.ARQDEF;
    globals.DIRTRAB = tmp / "Aux";
    globals.LOCTRAB = globals.DIRTRAB + "/";
    std::filesystem::create_directories(globals.ROTADEF);
    std::filesystem::create_directories(globals.DIRTRAB);
    if (install) shell::install_program_folder(globals.ROTADEF, shell::data_folder(), h.clock);
  }
  ~SessionFixture() { workspace.close_all(); }
  SessionFixture(const SessionFixture&) = delete;
  SessionFixture& operator=(const SessionFixture&) = delete;

  os::testing::TempFolder tmp;
  ui::ScreenHarness h;
  store::Globals globals;
  store::Workspace workspace;
  entry::ScreenOperator op{h.messages};
  entry::Session session{h.clock,    h.screen, h.colours, h.frame, h.windows,
                         h.messages, globals,  workspace, op,      {}};
};

}  // namespace kx::testing
