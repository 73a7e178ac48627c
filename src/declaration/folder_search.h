// The search for a taxpayer through the other folders of the terminal's folder list.
#pragma once

#include <string>

#include "entry/session.h"

namespace kx::declaration {

// BUSCA_OUTRO: seeks `value` (a CPF for order 1, a name start for order 2) in the registry of
// each folder of the folder list (slot 50) but the current one (LOCARQ), skipping folders
// without a registry. Folders are compared as the system knows them (the same folder however
// it is spelled); their names are kept as typed. The first hit becomes the current folder
// (LOCARQ, ROTADOANO), its registry open in slot 9 on that row in CPF order; `value` takes the
// row's CPF (order 1) or name (order 2) and, in mode 1, NOMECONTR the name. Without a hit the
// current folder's registry stays, in CPF order, and mode 1 clears NOMECONTR.
bool BUSCA_OUTRO(entry::Session& s, std::string& value, int order, int mode);

// Makes `folder` the current work folder (LOCARQ, ROTADOANO), its registry open in slot 9 in
// CPF order, on the row of CPF when there is one; false when it cannot be opened.
bool make_folder_current(entry::Session& s, const std::string& folder);

}  // namespace kx::declaration
