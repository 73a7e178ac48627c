#include "tools/cells.h"

#include "base/cp850.h"
#include "base/text.h"

namespace kx::tools {

namespace {

using dbf::FieldType;

[[noreturn]] void refuse(const dbf::Field& f, std::string_view utf8, std::string_view why) {
  throw CellError("field " + f.name + ": \"" + std::string(utf8) + "\" " + std::string(why));
}

std::string to_cp850(const dbf::Field& f, std::string_view utf8) {
  std::string cp = cp850::from_utf8(utf8);
  if (cp850::to_utf8(cp) != utf8) refuse(f, utf8, "has characters outside code page 850");
  return cp;
}

bool blank_field(const dbf::RecordView& r, const dbf::Field& f) {
  return text::is_blank(r.raw(f));
}

}  // namespace

Value parse_cell(const dbf::Field& f, std::string_view utf8) {
  Value v;
  if (utf8.empty() || (f.type != FieldType::memo && text::is_blank(utf8))) return v;
  v.blank = false;
  switch (f.type) {
    case FieldType::character: {
      v.text = std::string(text::rtrim(to_cp850(f, utf8)));
      if (v.text.size() > static_cast<std::size_t>(f.width))
        refuse(f, utf8, "is longer than the field's " + std::to_string(f.width) + " characters");
      break;
    }
    case FieldType::memo:
      v.text = to_cp850(f, utf8);
      break;
    case FieldType::numeric: {
      auto n = Decimal::parse(utf8);
      if (!n) refuse(f, utf8, "is not a number (\"-1234.50\" is one)");
      if (n->round(f.decimals) != *n)
        refuse(f, utf8, "has more decimals than the field's " + std::to_string(f.decimals));
      v.number = *n;
      std::string scratch(static_cast<std::size_t>(f.offset + f.width), ' ');
      try {
        dbf::put_number(scratch, f, v.number);
      } catch (const dbf::FieldOverflow&) {
        refuse(f, utf8, "does not fit N " + std::to_string(f.width) + "," +
                            std::to_string(f.decimals));
      }
      break;
    }
    case FieldType::date: {
      auto d = utf8.find('/') != std::string_view::npos ? Date::parse_dmy(utf8)
                                                          : Date::parse_dtos(utf8);
      if (!d || d->empty()) refuse(f, utf8, "is not a date (dd/mm/yyyy or yyyymmdd)");
      v.date = *d;
      break;
    }
    case FieldType::logical:
      if (utf8 != "T" && utf8 != "F") refuse(f, utf8, "is not a logical (T or F)");
      v.logical = utf8 == "T";
      break;
  }
  return v;
}

void put_value(std::string& record, const dbf::Field& f, const Value& v) {
  if (v.blank) return;
  switch (f.type) {
    case FieldType::character: dbf::put_text(record, f, v.text); break;
    case FieldType::numeric: dbf::put_number(record, f, v.number); break;
    case FieldType::date: dbf::put_date(record, f, v.date); break;
    case FieldType::logical: dbf::put_logical(record, f, v.logical); break;
    case FieldType::memo: break;
  }
}

void set_value(dbf::Table& table, const dbf::Field& f, const Value& v) {
  switch (f.type) {
    case FieldType::character: table.set_text(std::string_view(f.name), v.text); break;
    case FieldType::memo: table.set_memo(std::string_view(f.name), v.text); break;
    case FieldType::numeric: table.set_number(std::string_view(f.name), v.number); break;
    case FieldType::date: table.set_date(std::string_view(f.name), v.date); break;
    case FieldType::logical: table.set_logical(std::string_view(f.name), v.logical); break;
  }
}

bool holds(const dbf::Table& table, const dbf::Field& f, const Value& v) {
  const dbf::RecordView r = table.record();
  if (f.type != FieldType::memo && blank_field(r, f)) return v.blank;
  switch (f.type) {
    case FieldType::character: return text::rtrim(r.text(f)) == v.text;
    case FieldType::memo: return table.get_memo(std::string_view(f.name)) == v.text;
    case FieldType::numeric: return !v.blank && r.number(f) == v.number;
    case FieldType::date: return !v.blank && r.date(f) == v.date;
    case FieldType::logical: return !v.blank && r.logical(f) == v.logical;
  }
  return false;
}

std::string cell_of(const dbf::Table& table, const dbf::Field& f) {
  const dbf::RecordView r = table.record();
  if (f.type == FieldType::memo) return cp850::to_utf8(table.get_memo(std::string_view(f.name)));
  if (blank_field(r, f)) return "";
  switch (f.type) {
    case FieldType::character: return cp850::to_utf8(text::rtrim(r.text(f)));
    // Bytes that are no number or date (written by another program) are shown as they are.
    case FieldType::numeric: {
      auto n = Decimal::parse(r.raw(f));
      return n ? n->str(f.decimals) : cp850::to_utf8(text::trim(r.raw(f)));
    }
    case FieldType::date: {
      auto d = Date::parse_dtos(r.raw(f));
      return d ? d->dmy() : cp850::to_utf8(text::trim(r.raw(f)));
    }
    case FieldType::logical: {
      const char c = r.raw(f)[0];
      if (c == '?') return "";
      return r.logical(f) ? "T" : "F";
    }
    case FieldType::memo: break;
  }
  return "";
}

}  // namespace kx::tools
