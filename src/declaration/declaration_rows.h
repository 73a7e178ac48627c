// Where the rows of one declaration come from and where its single rows go back: the work
// folder's tables for the batch commands, the declaration editor's working copies later.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "base/date.h"
#include "base/decimal.h"
#include "dbf/schema.h"

namespace kx::declaration {

// A value for one field, typed like the computation's member it comes from.
using FieldValue = std::variant<Decimal, std::string, Date, int, bool>;

struct NamedValue {
  std::string name;  // field name of the table
  FieldValue value;  // text in CP850
};

// New values for the single row (tables 1 and 9) of the declaration.
struct RowUpdate {
  int table = 0;
  std::vector<NamedValue> values;
};

// A store that could not be done; nothing of it was written.
class StoreError : public std::runtime_error {
 public:
  enum class Kind {
    not_locked,    // a row's record lock was not obtained in time
    missing_row,   // the declaration has no row in that table
    declaration_open,  // the registry row is marked open on a terminal (NUSUAT)
    does_not_fit,  // a value does not fit its field (row_values.h)
  };
  StoreError(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
  Kind kind() const { return kind_; }

 private:
  Kind kind_;
};

class DeclarationRows {
 public:
  virtual ~DeclarationRows() = default;

  // The layout of table n (1..20) as the rows have it; nullptr when there is no such table.
  virtual const dbf::Schema* schema(int table) = 0;
  // Calls `visit` with every row of table n of the declaration's CPF, in the table's order.
  // A missing table has no rows.
  virtual void visit(int table, const std::function<void(const dbf::RecordView&)>& visit) = 0;
  // Writes every update, or none: values are checked against their fields and every row is
  // locked before the first field is written. Throws StoreError. Returns false when every value
  // was already stored (nothing written).
  virtual bool store(const std::vector<RowUpdate>& updates) = 0;
};

}  // namespace kx::declaration
