// The screens of the taxpayer lists over the registry of the current folder (slot 9): the list in
// its three orders with the folder's totals, the rural-only list, the two-column name search, the
// details and the pending items of a row, the corrected-tax list and the marking lists.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "declaration/taxpayer_list.h"
#include "entry/session.h"

namespace kx::declaration {

struct ListChoice {
  std::string cpf, name;  // the row chosen; name CP850 without trailing blanks
};

// GERAL1 / GERAL5 / GERAL4 (and SO_MVN with `rural_only`): the list in `order` starting at the
// registry's current row; Enter chooses. The registry is back in CPF order, without filter,
// afterwards. F6 and F11 open the details and pending items of the row when `row_views`.
std::optional<ListChoice> GERAL(entry::Session& s, ListOrder order, bool rural_only = false,
                                bool row_views = true);

// BNOME2: soft seek of `name` (upper-cased) in name order; when no name starts with it, the
// two-column list opens at the nearest row. The choice is the row the registry is on
// afterwards; nullopt for an empty registry. The registry is back in CPF order.
std::optional<ListChoice> BNOME2(entry::Session& s, std::string_view name);

// MOS_DETAL: the details of the registry's current row until Esc.
void MOS_DETAL(entry::Session& s);

// MOS_PEND: the notes of the registry's current row, copied into the terminal's scratch copy of
// the notes table in the auxiliary folder and shown there until Esc.
void MOS_PEND(entry::Session& s);

// The descriptions of the status codes of the status table (none when it cannot be opened).
std::map<int, std::string> status_descriptions(entry::Session& s);

// A marking list (51, 53, 54, 55 over the registry in slot 9, 56 over the imported taxpayers in
// slot 70, with the count of rows that have a CPF): the operator marks rows with "S" in IMPRE
// (typed on the mark column, written under the row's lock); Alt-= or Alt with the keypad "+"
// marks every row (list 54: only the rows with more than one quota or month of some slip),
// Alt-- or Alt with the keypad "-" unmarks every row, both under the table's lock; F1/F2 order
// by name/CPF, F3 (list 51) by status; Esc ends. The marks stay in the table, which is back in
// the order it had. `mark_heading`
// heads the mark column of list 51 ("Elim." for the deletion, "Trans" otherwise).
void marking_list(entry::Session& s, int list, std::string_view mark_heading = "Trans");

// Keys of the marking lists (xBase numbers).
inline constexpr int kAltEquals = 387, kAltMinus = 386, kAltPadPlus = 334, kAltPadMinus = 330;

// IMPCORRIG: the corrected-tax list of the folder, made in the corrected-tax table (held
// exclusively) and shown until Esc; refused with a message before May 2015, with an outdated
// SELIC register or while another terminal has the table.
void IMPCORRIG(entry::Session& s);

}  // namespace kx::declaration
