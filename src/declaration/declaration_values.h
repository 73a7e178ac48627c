// The single rows of the open declaration in memory: every field of the registry row (table 9)
// and of the summary row (table 1), and of the other single rows the editor keeps so, as a value
// of the same name. Screens bind their fields to these values; saving writes them back.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "dbf/schema.h"
#include "ui/value.h"

namespace kx::declaration {

class DeclarationValues {
 public:
  // Adds every field of `schema` that is not there yet, with its blank value (text of blanks
  // as wide as the field, 0, the empty date, false; a memo is text).
  void add_fields(const dbf::Schema& schema);
  // Copies the fields of `record` that are values here; the others are ignored.
  void read(const dbf::RecordView& record);
  // `record` (bytes of a record of its schema) with every field that is a value here put in.
  // Throws dbf::FieldOverflow for a number that does not fit, before changing anything. Memo
  // fields are left to the caller.
  std::string write(const dbf::Schema& schema, std::string record) const;
  // Every value back to its blank.
  void clear();

  bool has(std::string_view name) const { return find(name) != nullptr; }
  // The value named `name` (any case); nullptr when there is none. The address stays valid as
  // long as this object lives.
  ui::Value* find(std::string_view name);
  const ui::Value* find(std::string_view name) const;
  // Typed reads; std::out_of_range for an unknown name, std::bad_variant_access for a value of
  // another type.
  const std::string& text(std::string_view name) const;
  Decimal number(std::string_view name) const;
  Date date(std::string_view name) const;
  bool logical(std::string_view name) const;
  // Sets a value of the same type; std::out_of_range for an unknown name, std::invalid_argument
  // for a value of another type. Text is padded or cut to its field's width.
  void set(std::string_view name, ui::Value value);

 private:
  struct Entry {
    dbf::Field field;
    ui::Value value;
  };
  const Entry& entry(std::string_view name) const;
  static ui::Value blank(const dbf::Field& field);

  std::map<std::string, Entry, std::less<>> values_;  // by upper-case name
};

}  // namespace kx::declaration
