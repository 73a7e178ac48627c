// Folder paths as the settings hold them, with "/" as the separator. Asking the operator to
// create a missing folder (CRI_NDIR) belongs to the table access layer (store/folder.h).
#pragma once

#include <string_view>

#include "os/folder_rules.h"
#include "ui/prompter.h"

namespace kx::ui {

// The path rules of the operating system layer, under the names the screens use.
using os::BAR_DIR;
using os::BAR_FORA;
using os::TIRA_DIR;

// A path the program can place: absolute ("/..."), in the home folder ("~/...") or a stored
// Windows form with a drive letter ("C:..."). Otherwise the message is told and false.
bool ESPCIF(std::string_view path, Prompter& prompter);

}  // namespace kx::ui
