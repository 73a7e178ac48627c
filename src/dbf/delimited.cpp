// The dBASE delimited text form of a table: export and import.
#include <optional>

#include "base/text.h"
#include "dbf/transfer.h"
#include "os/file.h"
#include "os/path.h"
#include "os/replace.h"

namespace kx::dbf {
namespace {

// A double quote inside a text is written doubled, so the line can be read back.
std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + '"';
}

std::string value_text(const RecordView& row, const Field& f) {
  switch (f.type) {
    case FieldType::character: return quoted(text::rtrim(row.text(f)));
    case FieldType::numeric: return row.number(f).str(f.decimals);
    case FieldType::date: return row.date(f).empty() ? std::string() : row.date(f).dtos();
    case FieldType::logical: return row.logical(f) ? "T" : "F";
    case FieldType::memo: break;
  }
  return {};
}

// The values of one line: separated by commas, a value in double quotes may hold commas and
// doubled quotes; values without quotes are trimmed.
std::vector<std::string> split_line(std::string_view line) {
  std::vector<std::string> values;
  std::size_t i = 0;
  for (;;) {
    while (i < line.size() && line[i] == ' ') ++i;
    std::string value;
    if (i < line.size() && line[i] == '"') {
      for (++i; i < line.size(); ++i) {
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            value += '"';
            ++i;
          } else {
            ++i;
            break;
          }
        } else {
          value += line[i];
        }
      }
      while (i < line.size() && line[i] != ',') ++i;  // anything after the closing quote
    } else {
      std::size_t comma = line.find(',', i);
      if (comma == std::string_view::npos) comma = line.size();
      value = std::string(text::trim(line.substr(i, comma - i)));
      i = comma;
    }
    values.push_back(std::move(value));
    if (i >= line.size()) return values;
    ++i;  // the comma
  }
}

// Puts one value into its field; false (and a problem noted) when it cannot.
bool put_value(std::string& bytes, const Field& f, const std::string& value, uint32_t line,
               TransferResult& result) {
  auto problem = [&](const std::string& what) {
    result.problems.push_back("line " + std::to_string(line) + ": field " + f.name + ": " + what);
    return false;
  };
  switch (f.type) {
    case FieldType::character: put_text(bytes, f, value); return true;
    case FieldType::numeric: {
      std::optional<Decimal> number;
      try {
        number = Decimal::parse(value);
      } catch (const DecimalOverflow&) {
      }
      if (!number) return problem("\"" + value + "\" is not a number");
      try {
        put_number(bytes, f, *number);
      } catch (const FieldOverflow&) {
        ++result.overflows;
        return problem("value " + value + " does not fit N " + std::to_string(f.width) + "," +
                       std::to_string(f.decimals));
      }
      return true;
    }
    case FieldType::date: {
      auto date = Date::parse_dtos(value);
      if (!date) return problem("\"" + value + "\" is not a date yyyymmdd");
      put_date(bytes, f, *date);
      return true;
    }
    case FieldType::logical:
      if (value.empty() || value == "?") return true;
      if (value.size() == 1 && std::string_view("TtYyFfNn").find(value[0]) != std::string_view::npos) {
        put_logical(bytes, f, std::string_view("TtYy").find(value[0]) != std::string_view::npos);
        return true;
      }
      return problem("\"" + value + "\" is not a logical value");
    case FieldType::memo: break;
  }
  return true;
}

std::vector<const Field*> exchanged_fields(const Schema& schema) {
  std::vector<const Field*> fields;
  for (const Field& f : schema.fields())
    if (f.type != FieldType::memo) fields.push_back(&f);
  return fields;
}

}  // namespace

TransferResult export_delimited(Table& table, const std::string& file) {
  TransferResult result;
  const auto fields = exchanged_fields(table.schema());
  os::AtomicReplace out(os::resolve_nocase(file));
  std::string chunk;
  for (table.go_top(); !table.eof(); table.skip()) {
    const RecordView row = table.record();
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (i) chunk += ',';
      chunk += value_text(row, *fields[i]);
    }
    chunk += "\r\n";
    ++result.rows;
    if (chunk.size() >= 64 * 1024) {
      out.write(chunk);
      chunk.clear();
    }
  }
  out.write(chunk);
  out.commit();
  return result;
}

TransferResult import_delimited(Table& table, const std::string& file) {
  TransferResult result;
  const auto fields = exchanged_fields(table.schema());
  os::File in = os::File::open(os::find_nocase(file).value_or(file), os::File::Mode::read);
  std::string bytes(static_cast<std::size_t>(in.size()), '\0');
  bytes.resize(in.pread(bytes.data(), bytes.size(), 0));
  if (auto eof = bytes.find('\x1A'); eof != std::string::npos) bytes.resize(eof);
  uint32_t line_number = 0;
  for (std::string_view line : text::split(bytes, '\n')) {
    ++line_number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (text::is_blank(line)) continue;
    const auto values = split_line(line);
    std::string record = table.blank_record();
    for (std::size_t i = 0; i < fields.size() && i < values.size(); ++i)
      put_value(record, *fields[i], values[i], line_number, result);
    const uint32_t r = table.append(record);
    if (table.mode() == OpenMode::shared) table.unlock_record(r);
    ++result.rows;
  }
  return result;
}

}  // namespace kx::dbf
