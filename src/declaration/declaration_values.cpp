#include "declaration/declaration_values.h"

#include <stdexcept>


namespace kx::declaration {
namespace {

std::string key(std::string_view name) {
  std::string k(name);
  for (char& c : k)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return k;
}

}  // namespace

ui::Value DeclarationValues::blank(const dbf::Field& field) {
  switch (field.type) {
    case dbf::FieldType::numeric:
      return Decimal::raw(0, field.decimals);
    case dbf::FieldType::date:
      return Date();
    case dbf::FieldType::logical:
      return false;
    case dbf::FieldType::memo:
      return std::string();
    case dbf::FieldType::character:
      break;
  }
  return std::string(static_cast<size_t>(field.width), ' ');
}

void DeclarationValues::add_fields(const dbf::Schema& schema) {
  for (const dbf::Field& f : schema.fields()) values_.try_emplace(key(f.name), Entry{f, blank(f)});
}

void DeclarationValues::read(const dbf::RecordView& record) {
  for (const dbf::Field& f : record.schema().fields()) {
    auto it = values_.find(key(f.name));
    if (it == values_.end()) continue;
    switch (f.type) {
      case dbf::FieldType::numeric:
        it->second.value = record.number(f);
        break;
      case dbf::FieldType::date:
        it->second.value = record.date(f);
        break;
      case dbf::FieldType::logical:
        it->second.value = record.logical(f);
        break;
      case dbf::FieldType::memo:
        break;
      case dbf::FieldType::character:
        it->second.value = std::string(record.text(f));
        break;
    }
  }
}

std::string DeclarationValues::write(const dbf::Schema& schema, std::string record) const {
  for (const dbf::Field& f : schema.fields()) {
    auto it = values_.find(key(f.name));
    if (it == values_.end()) continue;
    const ui::Value& v = it->second.value;
    switch (f.type) {
      case dbf::FieldType::numeric:
        dbf::put_number(record, f, std::get<Decimal>(v));
        break;
      case dbf::FieldType::date:
        dbf::put_date(record, f, std::get<Date>(v));
        break;
      case dbf::FieldType::logical:
        dbf::put_logical(record, f, std::get<bool>(v));
        break;
      case dbf::FieldType::memo:
        break;
      case dbf::FieldType::character:
        dbf::put_text(record, f, std::get<std::string>(v));
        break;
    }
  }
  return record;
}

void DeclarationValues::clear() {
  for (auto& [name, e] : values_) e.value = blank(e.field);
}

ui::Value* DeclarationValues::find(std::string_view name) {
  auto it = values_.find(key(name));
  return it == values_.end() ? nullptr : &it->second.value;
}

const ui::Value* DeclarationValues::find(std::string_view name) const {
  auto it = values_.find(key(name));
  return it == values_.end() ? nullptr : &it->second.value;
}

const DeclarationValues::Entry& DeclarationValues::entry(std::string_view name) const {
  auto it = values_.find(key(name));
  if (it == values_.end()) throw std::out_of_range("no declaration value " + std::string(name));
  return it->second;
}

const std::string& DeclarationValues::text(std::string_view name) const {
  return std::get<std::string>(entry(name).value);
}
Decimal DeclarationValues::number(std::string_view name) const {
  return std::get<Decimal>(entry(name).value);
}
Date DeclarationValues::date(std::string_view name) const {
  return std::get<Date>(entry(name).value);
}
bool DeclarationValues::logical(std::string_view name) const {
  return std::get<bool>(entry(name).value);
}

void DeclarationValues::set(std::string_view name, ui::Value value) {
  auto it = values_.find(key(name));
  if (it == values_.end()) throw std::out_of_range("no declaration value " + std::string(name));
  Entry& e = it->second;
  if (value.index() != e.value.index())
    throw std::invalid_argument("declaration value " + std::string(name) + " of another type");
  if (auto* s = std::get_if<std::string>(&value); s && e.field.type == dbf::FieldType::character)
    s->resize(static_cast<size_t>(e.field.width), ' ');
  e.value = std::move(value);
}

}  // namespace kx::declaration
