// Field values against a table's layout: whether they fit, their bytes in a record, and their
// dBASE text form.
#pragma once

#include <string>
#include <vector>

#include "declaration/declaration_rows.h"
#include "dbf/schema.h"

namespace kx::declaration {

// One sentence (CP850) for each value that does not fit its field or names no field of the
// layout; empty when every value fits. Text longer than its field does not fit either.
std::vector<std::string> misfits(const dbf::Schema& schema, const std::vector<NamedValue>& values);

// `record` (bytes of a record of `schema`) with the values put in. Throws StoreError
// does_not_fit, listing every misfit, before changing anything.
std::string with_values(const dbf::Schema& schema, std::string record,
                        const std::vector<NamedValue>& values);

// The value as a dBASE field holds it, without padding: numbers with the field's decimals and
// "." ("1234.50"), dates "YYYYMMDD", logicals "T"/"F", text in CP850 without trailing blanks.
std::string dbase_text(const dbf::Field& field, const FieldValue& value);

}  // namespace kx::declaration
