// The folder dialog "Pastas": the terminal's folder list, one row per work folder, with the
// mark of the current one. Enter edits the cell (on the blank row after the last, a new row),
// Del removes a row, Esc closes.
#pragma once

#include "entry/session.h"

namespace kx::shell {

// Runs the dialog over the folder list (slot 50, open). Marking "S" makes the row's folder the
// current work folder at once (TROCASIM(1)); a folder is kept as typed and must exist or be
// created.
void folder_dialog(entry::Session& s);

}  // namespace kx::shell
