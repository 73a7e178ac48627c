// Folder and file names as the settings hold them: CP850 text with "/" between levels, kept as
// typed. Existing files and folders are found without regard to case (os/path.h); a path that
// does not start with "/" names no folder of the program.
#pragma once

#include <string>
#include <string_view>

#include "store/operator.h"

namespace kx::store {

// Adds a final "/" when missing.
std::string BAR_DIR(std::string_view folder);
// Removes one final "/".
std::string BAR_FORA(std::string_view folder);
// Adds a leading "/" when missing.
std::string BAR_ESQ(std::string_view name);
// The part after the last "/" (all of it without one).
std::string TIRA_DIR(std::string_view path);

// `name` inside `folder`, with one "/" between them.
std::string in_folder(std::string_view folder, std::string_view name);
// The name the file system knows for a settings path (CP850 to UTF-8).
std::string fs_path(std::string_view path);

// Whether the folder exists. Trailing blanks and one final "/" are ignored ("/" itself is the
// root); a relative path is never a folder of the program.
bool VERDIR(std::string_view folder);

// Whether two existing files or folders, given by their file-system paths (fs_path), are the
// same one (device and inode), whatever their spelling. False when either does not exist.
bool same_file(std::string_view a, std::string_view b);

// Makes sure the folder exists. When it does not, asks "Pasta nova para " + purpose + "?" /
// "Cria a nova pasta?"; on "S" creates it with every missing level. A refusal gives false; a
// folder that cannot be created (or a relative path) tells "Problemas ao criar a pasta " +
// folder and gives false.
bool CRI_NDIR(Operator& op, std::string_view folder, std::string_view purpose);

// True when one of the tables folder + prefix + i + suffix + ".DBF" (i = 1..count, one digit for
// the prefixes "MVN" and "IRM", two digits otherwise) is missing; the first missing one is told
// as "Não encontrado o Arquivo " + its path.
bool VEJA_ARQ(Operator& op, int count, std::string_view folder, std::string_view prefix,
              std::string_view suffix);

}  // namespace kx::store
