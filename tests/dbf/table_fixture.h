// A temporary folder, a virtual clock and small helpers for the table engine's tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../os/temp_folder.h"
#include "base/clock.h"
#include "dbf/table.h"

namespace kx::dbf::testing {

using os::testing::TempFolder;

inline Schema schema_of(const std::vector<std::string>& specs) {
  std::vector<Field> fields;
  for (const std::string& s : specs) fields.push_back(*parse_field_spec(s));
  return Schema(fields);
}

class TableTest : public ::testing::Test {
 protected:
  TempFolder tmp;
  VirtualClock clock{DateTime{*Date::from_ymd(2015, 3, 10), 9, 0, 0}};

  std::string path(const std::string& name) const { return tmp / name; }

  Table open(const std::string& name, OpenMode mode = OpenMode::shared) {
    return Table::open(path(name), {mode}, clock);
  }
  // A table of people: NOME C 20, IDADE N 3, with one row per name (ages 10, 20, ...).
  Table people(const std::string& name, const std::vector<std::string>& names,
               OpenMode mode = OpenMode::exclusive) {
    Table::create(path(name), schema_of({"NOME:C:20", "IDADE:N:3"}));
    Table t = open(name, mode);
    int age = 10;
    for (const std::string& n : names) {
      std::string rec = t.blank_record();
      put_text(rec, *t.schema().find("NOME"), n);
      put_number(rec, *t.schema().find("IDADE"), age);
      age += 10;
      t.append(rec);
      if (mode == OpenMode::shared) t.unlock_all();
    }
    t.flush();
    return t;
  }
  // The NOME of every visible row in the active order, trimmed.
  static std::vector<std::string> names(Table& t) {
    std::vector<std::string> out;
    for (t.go_top(); !t.eof(); t.skip()) out.push_back(std::string(text_of(t, "NOME")));
    return out;
  }
  static std::string text_of(Table& t, const char* field) {
    std::string s = t.get_text(field);
    return s.substr(0, s.find_last_not_of(' ') + 1);
  }
};

}  // namespace kx::dbf::testing
