// The small vocabulary in which the table layouts are written: one helper per field type and
// the rule that generates numbered families of fields.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "dbf/schema.h"

namespace kx::store::rules {

using Fields = std::vector<dbf::Field>;

dbf::Field C(std::string name, int width);
dbf::Field N(std::string name, int width, int decimals = 0);
dbf::Field D(std::string name);
dbf::Field L(std::string name);
dbf::Field M(std::string name);

// Amount fields: N 12,2 each, in the order given.
Fields money(std::initializer_list<const char*> names);

// For each counter value from..to, every field of `pattern` in turn with `mark` in its name
// replaced by the counter zero-filled to `digits` (1: no filling). Several fields in the pattern
// give interleaved families: expand({N("A#"), N("B#")}, 1, 2, 2) is A01, B01, A02, B02.
Fields expand(const Fields& pattern, int from, int to, int digits, char mark = '#');

// The parts one after the other.
Fields join(std::initializer_list<Fields> parts);

}  // namespace kx::store::rules
