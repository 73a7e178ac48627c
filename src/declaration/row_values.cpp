#include "declaration/row_values.h"

#include "base/cp850.h"
#include "base/text.h"

namespace kx::declaration {

namespace {

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

Decimal as_number(const FieldValue& value) {
  if (const auto* d = std::get_if<Decimal>(&value)) return *d;
  if (const auto* i = std::get_if<int>(&value)) return Decimal(*i);
  throw dbf::FieldOverflow("not a number");
}

// Puts one value into the record; throws FieldOverflow when it does not fit or has the wrong
// type for the field.
void put(std::string& record, const dbf::Field& f, const FieldValue& value) {
  switch (f.type) {
    case dbf::FieldType::numeric:
      dbf::put_number(record, f, as_number(value));
      return;
    case dbf::FieldType::character: {
      const auto* s = std::get_if<std::string>(&value);
      if (!s) throw dbf::FieldOverflow("not a text");
      if (text::rtrim(*s).size() > static_cast<size_t>(f.width))
        throw dbf::FieldOverflow("text longer than the field");
      dbf::put_text(record, f, *s);
      return;
    }
    case dbf::FieldType::date: {
      const auto* d = std::get_if<Date>(&value);
      if (!d) throw dbf::FieldOverflow("not a date");
      dbf::put_date(record, f, *d);
      return;
    }
    case dbf::FieldType::logical: {
      const auto* b = std::get_if<bool>(&value);
      if (!b) throw dbf::FieldOverflow("not a logical value");
      dbf::put_logical(record, f, *b);
      return;
    }
    case dbf::FieldType::memo:
      break;
  }
  throw dbf::FieldOverflow("memo fields are not written here");
}

std::string shown(const FieldValue& value) {
  return std::visit(Overloaded{[](const Decimal& d) { return d.str(); },
                               [](const std::string& s) { return s; },
                               [](const Date& d) { return d.dtos(); },
                               [](int i) { return std::to_string(i); },
                               [](bool b) { return std::string(b ? "T" : "F"); }},
                    value);
}

std::string field_description(const dbf::Field& f) {
  std::string d = f.name + " (" + static_cast<char>(f.type) + " " + std::to_string(f.width);
  if (f.type == dbf::FieldType::numeric) d += "," + std::to_string(f.decimals);
  return d + ")";
}

}  // namespace

std::vector<std::string> misfits(const dbf::Schema& schema, const std::vector<NamedValue>& values) {
  std::vector<std::string> out;
  std::string scratch(schema.record_length(), ' ');
  for (const NamedValue& v : values) {
    const dbf::Field* f = schema.find(v.name);
    if (!f) {
      out.push_back("Campo " + v.name + " inexistente na tabela.");
      continue;
    }
    try {
      put(scratch, *f, v.value);
    } catch (const dbf::FieldOverflow&) {
      out.push_back("Valor " + shown(v.value) + std::string(" não cabe no campo "_cp) +
                    field_description(*f) + ".");
    }
  }
  return out;
}

std::string with_values(const dbf::Schema& schema, std::string record,
                        const std::vector<NamedValue>& values) {
  const std::vector<std::string> problems = misfits(schema, values);
  if (!problems.empty()) {
    std::string message;
    for (const std::string& p : problems) message += (message.empty() ? "" : " ") + p;
    throw StoreError(StoreError::Kind::does_not_fit, message);
  }
  for (const NamedValue& v : values) put(record, *schema.find(v.name), v.value);
  return record;
}

std::string dbase_text(const dbf::Field& field, const FieldValue& value) {
  if (field.type == dbf::FieldType::numeric) return as_number(value).str(field.decimals);
  return std::string(text::rtrim(shown(value)));
}

}  // namespace kx::declaration
