// The CSV forms of field values: text (UTF-8) without trailing blanks, numbers with "." and
// the field's decimals, dates dd/mm/yyyy (yyyymmdd also read), logicals T/F, memo text; an
// empty cell (or one of blanks only, memo fields excepted) is a blank value.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "base/date.h"
#include "base/decimal.h"
#include "dbf/schema.h"
#include "dbf/table.h"

namespace kx::tools {

// A cell that is no value of its field, or does not fit it. The message names the field.
class CellError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Value {
  bool blank = true;
  std::string text;  // C and M: CP850
  Decimal number;
  Date date;
  bool logical = false;
};

// Reads a cell for field `f`. Refuses (CellError) rather than change the value: text longer
// than the field or with characters outside code page 850, a number with more decimals than
// the field or too wide for it, an invalid date, a logical other than T or F.
Value parse_cell(const dbf::Field& f, std::string_view utf8);

// Stores a value of a C, N, D or L field into record bytes; a blank value leaves the field
// blank.
void put_value(std::string& record, const dbf::Field& f, const Value& v);

// Stores a value into the current record of `table` (pending until commit). A blank value
// stores blanks, 0, the empty date, F.
void set_value(dbf::Table& table, const dbf::Field& f, const Value& v);

// Whether field `f` of the current record holds `v` (text compared without trailing blanks,
// numbers by value, a blank value matches a blank field).
bool holds(const dbf::Table& table, const dbf::Field& f, const Value& v);

// The cell of field `f` of the current record.
std::string cell_of(const dbf::Table& table, const dbf::Field& f);

}  // namespace kx::tools
