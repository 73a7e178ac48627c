#include "store/reftab_csv.h"

#include <fstream>
#include <sstream>

#include "base/cp850.h"
#include "base/csv.h"
#include "base/decimal.h"
#include "base/text.h"
#include "store/reftab.h"

namespace kx::store {
namespace {

[[noreturn]] void fail(const std::string& file, int line, const std::string& what) {
  throw ReftabError(file + ", line " + std::to_string(line) + ": " + what);
}

struct CsvRecord {
  int line = 0;  // where the record begins
  std::vector<std::string> values;
};

// The records of CSV text, each with the line it begins on.
std::vector<CsvRecord> split_records(const std::string& file, const std::string& text) {
  std::istringstream in(text);
  CsvReader reader(in);
  std::vector<CsvRecord> records;
  std::vector<std::string> values;
  try {
    while (reader.next(values)) records.push_back({reader.line(), values});
  } catch (const CsvError& e) {
    throw ReftabError(file + ", " + e.what());
  }
  return records;
}

std::string read_file(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw ReftabError(file + ": cannot be read");
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) throw ReftabError(file + ": cannot be read");
  return bytes.str();
}

const char* type_name(dbf::FieldType type) {
  switch (type) {
    case dbf::FieldType::character: return "character";
    case dbf::FieldType::numeric: return "numeric";
    case dbf::FieldType::date: return "date";
    case dbf::FieldType::logical: return "logical";
    case dbf::FieldType::memo: return "memo";
  }
  return "unknown";
}

// The fields the header names, in its order.
std::vector<const dbf::Field*> header_fields(const std::string& file, const CsvRecord& header,
                                             const dbf::Schema& schema) {
  std::vector<const dbf::Field*> fields;
  for (const std::string& value : header.values) {
    const std::string_view name = text::trim(value);
    const dbf::Field* f = schema.find(name);
    if (!f) fail(file, header.line, "no field " + std::string(name) + " in the table");
    for (const dbf::Field* seen : fields)
      if (seen == f) fail(file, header.line, "field " + f->name + " named twice");
    if (f->type != dbf::FieldType::character && f->type != dbf::FieldType::numeric)
      fail(file, header.line,
           "field " + f->name + " is a " + type_name(f->type) + " field, which a list cannot fill");
    fields.push_back(f);
  }
  return fields;
}

class RowReader {
 public:
  RowReader(const std::string& file, int line) : file_(file), line_(line) {}

  void put(std::string& record, const dbf::Field& f, const std::string& utf8) const {
    if (f.type == dbf::FieldType::character)
      put_text(record, f, utf8);
    else
      put_number(record, f, utf8);
  }

 private:
  [[noreturn]] void refuse(const dbf::Field& f, const std::string& value,
                           const std::string& why) const {
    fail(file_, line_, f.name + ": \"" + value + "\" " + why);
  }

  void put_text(std::string& record, const dbf::Field& f, const std::string& utf8) const {
    const std::string cp = cp850::from_utf8(utf8);
    if (cp850::to_utf8(cp) != utf8) refuse(f, utf8, "is not UTF-8 text of code page 850");
    const std::string_view value = text::rtrim(cp);
    if (value.size() > static_cast<std::size_t>(f.width))
      refuse(f, utf8, "is wider than " + std::to_string(f.width) + " characters");
    dbf::put_text(record, f, value);
  }

  void put_number(std::string& record, const dbf::Field& f, const std::string& utf8) const {
    if (text::is_blank(utf8)) return;  // stays blank
    const std::string too_wide =
        "does not fit N " + std::to_string(f.width) + "," + std::to_string(f.decimals);
    std::optional<Decimal> value;
    try {
      value = Decimal::parse(text::trim(utf8));
    } catch (const DecimalOverflow&) {
      refuse(f, utf8, too_wide);
    }
    if (!value) refuse(f, utf8, "is not a number");
    if (value->round(f.decimals) != *value)
      refuse(f, utf8, "has more than " + std::to_string(f.decimals) + " decimals");
    try {
      dbf::put_number(record, f, *value);
    } catch (const dbf::FieldOverflow&) {
      refuse(f, utf8, too_wide);
    }
  }

  const std::string& file_;
  int line_;
};

}  // namespace

std::vector<std::string> read_reference_rows(const std::string& file,
                                             const dbf::Schema& schema) {
  const std::vector<CsvRecord> records = split_records(file, read_file(file));
  if (records.empty()) fail(file, 1, "no header line with the field names");
  const std::vector<const dbf::Field*> fields = header_fields(file, records[0], schema);

  std::vector<std::string> rows;
  rows.reserve(records.size() - 1);
  for (std::size_t r = 1; r < records.size(); ++r) {
    const CsvRecord& record = records[r];
    if (record.values.size() != fields.size())
      fail(file, record.line,
           std::to_string(record.values.size()) + " values for " +
               std::to_string(fields.size()) + " fields");
    const RowReader reader(file, record.line);
    std::string bytes(static_cast<std::size_t>(schema.record_length()), ' ');
    for (std::size_t c = 0; c < fields.size(); ++c) reader.put(bytes, *fields[c], record.values[c]);
    rows.push_back(std::move(bytes));
  }
  return rows;
}

}  // namespace kx::store
