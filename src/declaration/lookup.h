// The lookup lists of entry fields: the field being edited chooses a scrolling list of a table
// (lookup_lists.h); Enter gives back the chosen value for the field and writes the related
// values into the open declaration and into the row being edited.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "declaration/declaration_values.h"
#include "entry/session.h"
#include "ui/value.h"

namespace kx::declaration {

using NamedValues = std::vector<std::pair<std::string, ui::Value>>;

struct LookupRequest {
  std::string field;  // the entry engine's current variable: "M->CDPRO", "I7_5"
  ui::Value value;    // its current value
  // The row being edited, for lists that write into it: the slot of its working copy, positioned
  // on that row; 0 when none. On the list's new-entry row a row is appended first, and it also
  // gets `new_row` (CPF, I1_1, I1_11 ...).
  int row_slot = 0;
  bool new_entry = false;
  NamedValues new_row;
};

struct LookupChoice {
  ui::Value value;           // what the edited field gets
  NamedValues values;        // declaration values given (those the declaration holds are set)
  NamedValues row;           // fields given to the edited row
  bool row_written = false;  // the row got them (false: no row, or its lock was refused)
  std::optional<ui::Value> COD;
  long record = 0;  // the chosen record of the list's table
};

// True when `field` has a lookup list.
bool has_lookup(std::string_view field);

class Lookup {
 public:
  Lookup(entry::Session& session, DeclarationValues& values);

  // Presets of GERAL2: the list's field name, the slot current afterwards, and the mark.
  std::string QUALHLP;
  int CL_AREA = 0;
  bool TEMHLP = false;
  bool PROG = false;  // a list is open: another request does nothing
  ui::Value COD;      // the value of the last code lookup

  // The taxpayer lists (registry fields, and GERAL mode 1) belong to the taxpayer list.
  std::function<std::optional<LookupChoice>(const LookupRequest&, int mode)> taxpayer_list;
  // The capital-gain item editor, for Enter and Del on `record` and Ins (record 0).
  std::function<void(int key, long record)> gain_item;

  // The list of the field being edited (QUALHLP when TEMHLP is set). Mode 1: the two-column
  // name list of taxpayers. nullopt after Esc, for a field without a list, while another list is
  // open, or when its table cannot be opened.
  std::optional<LookupChoice> GERAL(const LookupRequest& request, int mode = 0);
  // With the preset QUALHLP (and CL_AREA); the code chosen is also in COD.
  std::optional<LookupChoice> GERAL2(const LookupRequest& request);
  // The folder list ("M->ORIGEM").
  std::optional<LookupChoice> GERAL3(const LookupRequest& request);

  entry::Session& session() { return session_; }
  DeclarationValues& values() { return values_; }

 private:
  entry::Session& session_;
  DeclarationValues& values_;
};

// Status codes (table STATUS). Modes 1 and 5 (entry checks) open the status list for the field
// being edited when the code is not registered, mode 1 and 2 write the description at row 2,
// column 37; modes 3 and 4 make the registry (3) or its working copy (4) current again. The
// code is always accepted.
struct StatusCheck {
  std::string description;             // 13 characters, blanks when the code is not registered
  std::optional<LookupChoice> chosen;  // from the list opened for an unknown code
};
StatusCheck VE_STAT(Lookup& lookup, int code, int mode, const LookupRequest& request = {});

// Whether the CPF of the edited field belongs to a registered dependant (kind 1, relation codes
// below 98) or alimony recipient (kind 2, codes 98 and 99) of the dependants' working copy
// (slot 23). An empty CPF opens the list; a CPF not among them is told and opens the list. Never
// refuses: the result says what was found or chosen.
struct DependantCheck {
  bool found = false;
  std::optional<LookupChoice> chosen;
};
DependantCheck VE_RELDEP(Lookup& lookup, std::string_view cpf, const LookupRequest& request,
                         int kind);
// The CPF (request.value) must have valid check digits, then VE_RELDEP with kind 1.
DependantCheck VERCPFDEPE(Lookup& lookup, const LookupRequest& request);

}  // namespace kx::declaration
