// The terminal's work folders: selecting a row of the folder list (TROCASIM), making the current
// work folder a row of it, asking for a folder (NOVA_ROTA) and the two folder settings (SELAREA).
// Folders are kept as typed and compared by identity (device and inode), never by spelling.
#pragma once

#include <string>
#include <string_view>

#include "entry/session.h"

namespace kx::shell {

inline constexpr int kFolderList = 50;
inline constexpr std::string_view kOwnPurpose = " KAPRIX";
inline constexpr std::string_view kOfficialPurpose = " IRPF";

// DIRPADRAO: the default data folder of the official program under `home`.
std::string DIRPADRAO(std::string_view home);

// TROCASIM: the current row of the folder list (slot 50, current) becomes the selected one;
// mode 1 also makes it the current work folder (created when the operator agrees; an empty row
// takes the program folder) and upgrades its older tables. Then the registry of LOCARQ is
// reopened and ROTADOANO stored in the configuration record. False when the row could not be
// locked or its folder was refused.
bool TROCASIM(entry::Session& s, int mode);

// The folder list's row for LOCARQ selected: the row naming the same folder is selected when it
// is not; when there is none a row is appended for it. The folder list is open in slot 50.
bool select_current_folder(entry::Session& s);

// NOVA_ROTA: asks for a folder for `purpose` (kOwnPurpose: the auxiliary folder; kOfficialPurpose:
// the official program's folder, Alt-P fills in DIRPADRAO). Returns the folder chosen, blank
// filled to `width`; the current value when left with Esc or empty (except for the official
// folder, where empty is taken after a warning).
std::string NOVA_ROTA(entry::Session& s, std::string_view current, std::string_view purpose,
                      int width, std::string_view home);

// SELAREA(1): the auxiliary folder (DIRTRAB, LOCTRAB); SELAREA(2): the official program's
// folder (LOCIRPF, stored as ROTAJAVA). Both stored in the configuration record.
void SELAREA(entry::Session& s, int n, std::string_view home);

}  // namespace kx::shell
