#include "dbf/schema.h"

#include <cctype>
#include <charconv>
#include <stdexcept>

#include "base/text.h"

namespace kx::dbf {
namespace {

constexpr int kMaxFields = 255;
constexpr int kMaxRecordLength = 65535;
constexpr int kMaxCharWidth = 512;
constexpr int kMaxNumericWidth = 20;

bool valid_name(std::string_view name) {
  if (name.empty() || name.size() > 10) return false;
  auto first = static_cast<unsigned char>(name[0]);
  if (!std::isalpha(first) && first != '_') return false;
  for (char c : name) {
    auto u = static_cast<unsigned char>(c);
    if (!std::isalnum(u) && u != '_') return false;
  }
  return true;
}

std::string upper_ascii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// Empty when the field is sound; otherwise what is wrong with it.
std::string field_problem(const Field& f) {
  if (!valid_name(f.name)) return "bad field name \"" + f.name + "\"";
  if (f.decimals != 0 && f.type != FieldType::numeric)
    return "field " + f.name + ": only numeric fields have decimals";
  switch (f.type) {
    case FieldType::character:
      if (f.width < 1 || f.width > kMaxCharWidth) return "field " + f.name + ": width must be 1 to 512";
      break;
    case FieldType::numeric:
      if (f.width < 1 || f.width > kMaxNumericWidth)
        return "field " + f.name + ": width must be 1 to 20";
      // Room for the digits before the point and the point itself.
      if (f.decimals < 0 || (f.decimals > 0 && f.decimals > f.width - 2))
        return "field " + f.name + ": too many decimals for its width";
      break;
    case FieldType::date:
      if (f.width != 8) return "field " + f.name + ": a date is 8 bytes wide";
      break;
    case FieldType::logical:
      if (f.width != 1) return "field " + f.name + ": a logical is 1 byte wide";
      break;
    case FieldType::memo:
      // 10 ASCII digits (dBASE) or a 4-byte binary block number (written by some tools).
      if (f.width != 10 && f.width != 4) return "field " + f.name + ": a memo is 10 bytes wide";
      break;
    default:
      return "field " + f.name + ": unknown type";
  }
  return {};
}

std::optional<int> parse_int(std::string_view s) {
  int v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
  return v;
}

void check_room(const std::string& record, const Field& f) {
  if (f.offset < 1 || static_cast<std::size_t>(f.offset) + f.width > record.size())
    throw std::invalid_argument("record buffer too short for field " + f.name);
}

}  // namespace

Schema::Schema(std::vector<Field> fields) : fields_(std::move(fields)) {
  if (fields_.empty()) throw std::invalid_argument("a table needs at least one field");
  if (fields_.size() > kMaxFields) throw std::invalid_argument("more than 255 fields");
  int offset = 1;
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    Field& f = fields_[i];
    f.name = upper_ascii(f.name);
    if (auto problem = field_problem(f); !problem.empty()) throw std::invalid_argument(problem);
    for (std::size_t j = 0; j < i; ++j)
      if (fields_[j].name == f.name) throw std::invalid_argument("duplicate field " + f.name);
    f.offset = offset;
    offset += f.width;
    if (offset > kMaxRecordLength) throw std::invalid_argument("record longer than 65535 bytes");
  }
  record_length_ = offset;
}

const Field* Schema::find(std::string_view name) const {
  int i = index_of(name);
  return i < 0 ? nullptr : &fields_[i];
}

int Schema::index_of(std::string_view name) const {
  for (std::size_t i = 0; i < fields_.size(); ++i)
    if (text::iequals(fields_[i].name, name)) return static_cast<int>(i);
  return -1;
}

bool Schema::has_memo() const {
  for (const Field& f : fields_)
    if (f.type == FieldType::memo) return true;
  return false;
}

std::optional<Field> parse_field_spec(std::string_view description) {
  auto parts = text::split(description, ':');
  if (parts.size() < 2 || parts.size() > 4 || parts[1].size() != 1) return std::nullopt;
  Field f;
  f.name = upper_ascii(parts[0]);
  char type = static_cast<char>(std::toupper(static_cast<unsigned char>(parts[1][0])));
  std::optional<int> width, decimals;
  if (parts.size() >= 3 && !(width = parse_int(parts[2]))) return std::nullopt;
  if (parts.size() == 4 && !(decimals = parse_int(parts[3]))) return std::nullopt;
  int fixed = 0;
  switch (type) {
    case 'C': f.type = FieldType::character; break;
    case 'N': f.type = FieldType::numeric; break;
    case 'D': f.type = FieldType::date; fixed = 8; break;
    case 'L': f.type = FieldType::logical; fixed = 1; break;
    case 'M': f.type = FieldType::memo; fixed = 10; break;
    default: return std::nullopt;
  }
  if (fixed) {
    if ((width && *width != fixed) || decimals) return std::nullopt;
    f.width = fixed;
  } else {
    if (!width) return std::nullopt;
    f.width = *width;
    f.decimals = decimals.value_or(0);
  }
  if (!field_problem(f).empty()) return std::nullopt;
  return f;
}

Decimal RecordView::number(const Field& f) const {
  auto stored = text::trim(raw(f));
  try {
    if (auto value = Decimal::parse(stored)) return value->with_scale(f.decimals);
  } catch (const DecimalOverflow&) {
  }
  return Decimal::raw(0, f.decimals);
}

Date RecordView::date(const Field& f) const { return Date::parse_dtos(raw(f)).value_or(Date()); }

bool RecordView::logical(const Field& f) const {
  auto v = raw(f);
  if (v.empty()) return false;
  char c = v[0];
  return c == 'T' || c == 't' || c == 'Y' || c == 'y';
}

void put_text(std::string& record, const Field& f, std::string_view cp850) {
  check_room(record, f);
  record.replace(f.offset, f.width, text::pad_right(cp850, f.width));
}

void put_number(std::string& record, const Field& f, Decimal value) {
  check_room(record, f);
  std::string digits;
  try {
    digits = value.with_scale(f.decimals).str();
  } catch (const DecimalOverflow&) {
    throw FieldOverflow("value does not fit field " + f.name);
  }
  // A value below one may drop its leading zero to fit (".50" in N(3,2)), as xBase writes it.
  if (static_cast<int>(digits.size()) > f.width) {
    if (digits.starts_with("0."))
      digits.erase(0, 1);
    else if (digits.starts_with("-0."))
      digits.erase(1, 1);
  }
  if (static_cast<int>(digits.size()) > f.width)
    throw FieldOverflow("value " + digits + " does not fit field " + f.name + " (N " +
                        std::to_string(f.width) + "," + std::to_string(f.decimals) + ")");
  record.replace(f.offset, f.width, text::pad_left(digits, f.width));
}

void put_date(std::string& record, const Field& f, Date value) {
  check_room(record, f);
  record.replace(f.offset, f.width, text::pad_right(value.dtos(), f.width));
}

void put_logical(std::string& record, const Field& f, bool value) {
  check_room(record, f);
  record[f.offset] = value ? 'T' : 'F';
}

}  // namespace kx::dbf
