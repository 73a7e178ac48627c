// Reading a reference table's source (see store/reftab.h for its form) into record bytes that
// fit a table's fields.
#pragma once

#include <string>
#include <vector>

#include "dbf/schema.h"

namespace kx::store {

// The rows of `file`, each as the bytes of one record of `fields` (deleted flag first), in the
// order of the file. Throws ReftabError naming the file and line (and field) for: a header
// naming no field of the table or a field twice, a row with more or fewer values than the
// header, text outside code page 850 or wider than its field, a number that is not one, has more
// decimals than its field or does not fit it, a field of a type a source cannot fill (date,
// logical, memo), malformed quoting or UTF-8.
std::vector<std::string> read_reference_rows(const std::string& file, const dbf::Schema& fields);

}  // namespace kx::store
