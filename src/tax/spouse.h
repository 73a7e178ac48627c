// The spouse's values of a declaration: fetched from the spouse's own declaration (I9_4 "S"),
// typed by hand (I9_5 "S"), or none.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/decimal.h"
#include "tax/input.h"
#include "tax/result.h"

namespace kx::tax {

struct SpouseValues {
  std::string CONJPAD;  // the spouse's model when fetched ("S" when typed by hand)
  Decimal I13_1C;       // tax base
  Decimal I13_2C;       // exempt income
  Decimal I13_3C;       // income taxed exclusively at source
  Decimal I13_4C;       // tax paid
  Decimal I13_5C;       // income with suspended exigibility
  Decimal I9_2;         // spouse result: 1C + 2C + 3C + 5C - 4C
  Decimal I9_3;         // the spouse's balance; the result itself when typed by hand
};

// I13_1C + I13_2C + I13_3C + I13_5C - I13_4C.
Decimal spouse_result(const SpouseValues& v);

// The spouse values the computation carries: none (all 0) without a spouse CPF, in a final
// estate declaration, or when neither I9_4 nor I9_5 is "S"; typed by hand (I9_5 "S" and I9_4 not
// "S"): the five values kept, I9_2 their result and I9_3 := I9_2; fetched (I9_4 "S"): the five
// values and I9_3 as the last fetch stored them, I9_2 their result. I13_43 := I9_2.
void spouse(const Declaration& d, Result& r);

// The spouse's registry row as the spouse's own computation stores it.
struct SpouseRow {
  std::string USAPADRAO;  // blank: the spouse's model was never chosen
  std::string I9_4;       // "S": the spouse fetches from this declaration too
  Decimal SALDO, I13_20, I13_35, I13_44, I13_45, EXGSUSP;
};

enum class SpouseTake {
  taken,        // values fetched
  not_defined,  // the spouse's model is not chosen: values cleared, with a notice
  ask,          // the spouse also fetches from this one: the caller asks `question` and calls
                // again with the answer (true: clear the spouse's mark first, see
                // spouse_mark_cleared in the declaration layer)
  refused,      // the answer was no: this declaration keeps no spouse values (I9_4 and I9_5 "N",
                // I9_6 "S")
};

struct SpouseFetch {
  SpouseTake outcome = SpouseTake::taken;
  SpouseValues values;            // all 0 unless taken
  std::vector<std::string> lines;  // the question or the notice (CP850)
};

// Takes the values of the spouse's registry row: the spouse's model, balance, tax base, tax paid,
// exempt, exclusive and suspended income. `clear_other_mark` answers the question asked when the
// spouse's declaration also fetches from this one.
SpouseFetch take_spouse_values(const SpouseRow& spouse,
                               std::optional<bool> clear_other_mark = std::nullopt);

}  // namespace kx::tax
