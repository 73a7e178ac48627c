// Field descriptors of a table and typed access to the bytes of one record.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/date.h"
#include "base/decimal.h"

namespace kx::dbf {

enum class FieldType : char {
  character = 'C',
  numeric = 'N',
  date = 'D',
  logical = 'L',
  memo = 'M',  // 10-byte block number (ASCII) of the memo file; FPT binary 4-byte form read too
};

struct Field {
  std::string name;  // upper case, at most 10 characters
  FieldType type = FieldType::character;
  int width = 0;     // C 1..512 (over 255: high byte of the length in the decimals byte)
  int decimals = 0;  // N only
  int offset = 0;    // position inside the record; byte 0 of a record is the deleted flag
};

// Field list plus derived record length. Field lookup by name ignores case.
class Schema {
 public:
  Schema() = default;
  // Computes offsets. Throws std::invalid_argument on a bad field (name, width, duplicate,
  // more than 255 fields, record longer than 65535).
  explicit Schema(std::vector<Field> fields);

  const std::vector<Field>& fields() const { return fields_; }
  int record_length() const { return record_length_; }  // deleted flag included
  const Field* find(std::string_view name) const;
  int index_of(std::string_view name) const;  // -1 when absent
  bool has_memo() const;

 private:
  std::vector<Field> fields_;
  int record_length_ = 1;
};

// Parses "NAME:TYPE[:WIDTH[:DEC]]" (D, L and M take their fixed widths 8, 1 and 10).
std::optional<Field> parse_field_spec(std::string_view description);

// Read access to one record's bytes (deleted flag first). Does not own the bytes.
class RecordView {
 public:
  RecordView(const Schema& schema, std::string_view bytes) : schema_(&schema), bytes_(bytes) {}
  const Schema& schema() const { return *schema_; }
  std::string_view bytes() const { return bytes_; }
  bool deleted() const { return !bytes_.empty() && bytes_[0] == '*'; }

  std::string_view raw(const Field& f) const { return bytes_.substr(f.offset, f.width); }
  // C: the stored bytes (padding kept). N: blank reads as 0. D: blank reads as empty.
  // L: T/t/Y/y true. Malformed N or D content reads as 0 / empty.
  std::string_view text(const Field& f) const { return raw(f); }
  Decimal number(const Field& f) const;
  Date date(const Field& f) const;
  bool logical(const Field& f) const;

 private:
  const Schema* schema_;
  std::string_view bytes_;
};

// Encoders of field values into a record's bytes. They throw FieldOverflow when the value does
// not fit the field (a number too wide for its width and decimals), never write "*".
class FieldOverflow : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
void put_text(std::string& record, const Field& f, std::string_view cp850);  // cut or padded
void put_number(std::string& record, const Field& f, Decimal value);  // rounded to f.decimals
void put_date(std::string& record, const Field& f, Date value);
void put_logical(std::string& record, const Field& f, bool value);

}  // namespace kx::dbf
