// Folder and file names as the settings hold them: CP850 text with "/" between levels, kept as
// typed. Existing files and folders are found without regard to case (os/path.h); a path that
// does not start with "/" names no folder of the program.
#pragma once

#include <string>
#include <string_view>

#include "os/folder_rules.h"
#include "store/operator.h"

namespace kx::store {

// The path rules of the operating system layer, under the names the program uses.
using os::BAR_DIR;
using os::BAR_ESQ;
using os::BAR_FORA;
using os::TIRA_DIR;
using os::VERDIR;

// `name` inside `folder`, with one "/" between them.
std::string in_folder(std::string_view folder, std::string_view name);
// The name the file system knows for a settings path (CP850 to UTF-8).
std::string fs_path(std::string_view path);

// Whether two existing files or folders, given by their file-system paths (fs_path), are the
// same one (device and inode), whatever their spelling. False when either does not exist.
bool same_file(std::string_view a, std::string_view b);

// Whether two settings folders (CP850, with or without trailing blanks and a final "/") are the
// same folder: spelt alike, or the same existing directory (device and inode). Never by case.
bool same_folder(std::string_view a, std::string_view b);

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
