// The list loop shared by the lookups and the code checks built on them.
#pragma once

#include <optional>

#include "dbf/table.h"
#include "declaration/lookup.h"
#include "declaration/lookup_lists.h"

namespace kx::declaration {

// Runs `list` for `request` (HBROWSE and ENTER), unless a list is open (PROG): opens its table when
// it is not open, shows the list in its window, and on Enter builds the choice and writes it back.
// `rows` restricts the rows further (empty: no restriction).
std::optional<LookupChoice> run_list(Lookup& lookup, const ListDef& list,
                                     const LookupRequest& request,
                                     const dbf::Table::Filter& rows = {});

// The slot a list's table is opened in.
int list_slot(const ListDef& list);

}  // namespace kx::declaration
