// Folder paths as the settings hold them: CP850 text with "/" between levels, kept as typed.
#pragma once

#include <string>
#include <string_view>

namespace kx::os {

// Adds a final "/" when missing.
std::string BAR_DIR(std::string_view folder);
// Removes one final "/".
std::string BAR_FORA(std::string_view folder);
// Adds a leading "/" when missing.
std::string BAR_ESQ(std::string_view name);
// The part after the last "/" (all of it without one).
std::string TIRA_DIR(std::string_view path);

// Whether the folder exists (found without regard to case). Trailing blanks and one final "/"
// are ignored ("/" itself is the root); a relative path is never a folder of the program.
bool VERDIR(std::string_view folder);

}  // namespace kx::os
