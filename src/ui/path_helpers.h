// Folder paths as the settings hold them, with "/" as the separator.
#pragma once

#include <string>
#include <string_view>

#include "ui/prompter.h"

namespace kx::ui {

// Appends "/" unless the path ends with one.
std::string BAR_DIR(std::string_view path);
// Removes one final "/".
std::string BAR_FORA(std::string_view path);
// The part after the last "/" (all of it if none).
std::string TIRA_DIR(std::string_view path);
// A path the program can place: absolute ("/..."), in the home folder ("~/...") or a stored
// Windows form with a drive letter ("C:..."). Otherwise the message is told and false.
bool ESPCIF(std::string_view path, Prompter& prompter);
// The folder exists, or the operator agreed and it was made (with every missing parent). A
// refusal gives false; a failure tells "Problemas ao criar a pasta " + path and gives false.
bool CRI_NDIR(std::string_view path, std::string_view label, Prompter& prompter);

}  // namespace kx::ui
