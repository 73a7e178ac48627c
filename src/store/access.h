// The table access layer: opening tables by number or by file in the numbered slots, creating
// missing tables with their layout, building missing index files, and closing.
//
// Operations report their failures to the operator (Operator) and return false; the caller
// skips what depended on them. A table that is damaged or unreadable throws dbf::TableError.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/clock.h"
#include "store/catalogue.h"
#include "store/operator.h"
#include "store/workspace.h"

namespace kx::store {

struct Access;

// Upgrades the tables of an older layout in a work folder (CORRECAO(0)). The start-up check
// calls it for every folder of the folder list, with LOCARQ set to that folder (and restored
// afterwards). It may open and close tables in any slot but the folder list's (50).
using FolderUpgrade = std::function<void(Access&, const std::string& folder)>;

// Everything an operation of the layer works with. All waiting goes through `clock`.
struct Access {
  Workspace& workspace;
  Settings& settings;
  Operator& op;
  Clock& clock;
  FolderUpgrade upgrade_folder;  // may be empty
};

// Seconds NETUSE waits when a table is opened by ABREARQ.
inline constexpr int kOpenWaitSeconds = 10;

// Opens table `n` of the catalogue in slot n, from LOCARQ (declaration tables 1..20) or ARQDEF
// (41..75), creating it and its index files when missing; `exclusive` is honoured where the
// catalogue lets the caller choose. An empty folder list gets the row of the program folder; an
// empty table of one record gets its initial record. ABERTURA(0) is the start-up check: every
// folder of the folder list checked (missing ones removed, the others upgraded), the tables the
// program needs from the start opened once, then only the folder list left open; false when the
// folder list is in use or one of those tables cannot be opened. Working copies (21..40) and
// numbers without a table throw std::invalid_argument.
bool ABERTURA(Access& a, int n, bool exclusive = false);

// Opens `file` (a path without extension, or with one) in `slot` with up to three index files
// in the same folder, the first one active. An index without a name takes the table's name for
// the first, the name upper-cased followed by "B" / "C" for the second / third. A missing data
// file is created with the layout of table number `slot`; a missing first index file is built
// after packing the table, holding it exclusively; with REFAZ_IND every index file is rebuilt
// that way. The slot is current afterwards.
bool ABREARQ(Access& a, int slot, bool exclusive, std::string_view file,
             const std::vector<IndexFile>& indexes = {});

// Opens the table file in the current slot, one attempt a second for up to `seconds` (0: until
// it opens). Returns true at once, without reopening, when the slot already holds the same file
// (device and inode) open exclusively, or shared when shared was asked. The alias is APELIDO
// when set, otherwise the file's name without folder and extension.
bool NETUSE(Access& a, std::string_view file, bool exclusive, int seconds);

// After-open tidy-up of the system tables: closes the progress message. SAI_ABRE(0) closes
// every table; SAI_ABRE(0) and SAI_ABRE(50) then (re)open the folder list (its result).
bool SAI_ABRE(Access& a, int n);
// Closes the progress message when MOS_MENS is on; returns `value`.
bool RET_FECHAJAN(Access& a, bool value);
// Closes the working copies (slots 21..40).
void FECHA_PROV(Access& a);
// Closes the declaration tables except the registry (slots 1..20 but 9) and the working copies.
void FECHA_TODO(Access& a);

// Makes `folder` the one of the open registry: the folder is created when the operator agrees
// (false when not), its table 9 opened shared in slot 9 with its three index files, positioned
// on CPF (NOMECONTR then takes the name found) or on the first record, in name order.
bool MUDADIR(Access& a, std::string_view folder);

}  // namespace kx::store
