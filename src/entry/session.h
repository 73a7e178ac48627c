// Everything a command of the running program works with: the screen and its message
// operations, the program's settings, the open tables and the operator of the table layer.
// The shell builds one at start-up; tests build one over a ScreenHarness.
#pragma once

#include "base/clock.h"
#include "store/access.h"
#include "store/globals.h"
#include "store/workspace.h"
#include "ui/colour.h"
#include "ui/frame.h"
#include "ui/messages.h"
#include "ui/screen.h"
#include "ui/windows.h"

namespace kx::entry {

struct Session {
  Clock& clock;
  ui::Screen& screen;
  ui::ColourSettings& colours;
  ui::Frame& frame;
  ui::Windows& windows;
  ui::Messages& messages;
  store::Globals& globals;
  store::Workspace& workspace;
  store::Operator& op;
  store::FolderUpgrade upgrade_folder;  // may be empty

  store::Access access() { return {workspace, globals, op, clock, upgrade_folder}; }
};

}  // namespace kx::entry
