// Between the rows of one declaration and the tax computation: the rows read into its input
// field by field by name, and its results written back into the summary row (table 1) and the
// registry row (table 9).
#pragma once

#include <optional>
#include <vector>

#include "declaration/declaration_rows.h"
#include "tax/input.h"
#include "tax/result.h"
#include "tax/spouse.h"

namespace kx::declaration {

// The declaration in `rows`: registry (9), summary (1), income (2), dependants (3), assets (4),
// debts (5), payments (6), monthly grid (12) and the rural result of the registry's country of
// activity (15). nullopt when there is no registry row.
std::optional<tax::Declaration> read_declaration(DeclarationRows& rows);

// The values the computation sets in the summary row, in table order.
std::vector<NamedValue> summary_values(const tax::Result& result);
// The values it sets in the registry row, in table order, as a save stores them: the copies of
// the summary lines, with I13_27 holding the tax withheld from the titular and the dependants
// (I13_27 + I13_28) and I13_35 the tax paid less the tax withheld on accumulated income taxed on
// its own (I13_35 - I13_34).
std::vector<NamedValue> registry_values(const tax::Result& result);

// Stores both rows, all or nothing (StoreError). False when they already held these values.
bool write_results(DeclarationRows& rows, const tax::Result& result);

// The spouse values taken from the spouse's declaration in `rows`, computed afresh and read as a
// save of it would store its registry row (tax::take_spouse_values). With `clear_other_mark`
// true, the spouse's own fetch mark and spouse values are cleared first in its registry row
// (StoreError when that store fails). nullopt when `rows` has no registry row.
std::optional<tax::SpouseFetch> fetch_spouse(DeclarationRows& rows, const tax::Context& context,
                                             std::optional<bool> clear_other_mark = std::nullopt);

}  // namespace kx::declaration
