// A program folder, a work folder and an auxiliary folder in a temporary folder, with the
// workspace, settings, scripted operator and virtual clock of one terminal ("07").
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "../os/temp_folder.h"
#include "base/clock.h"
#include "base/cp850.h"
#include "dbf/table.h"
#include "operator_script.h"
#include "store/access.h"
#include "store/catalogue.h"
#include "store/layout.h"

namespace kx::store::testing {

using os::testing::TempFolder;

inline std::string cp(std::string_view utf8) { return cp850::from_utf8(utf8); }

class AccessTest : public ::testing::Test {
 protected:
  AccessTest() {
    // Mixed case on purpose: folders are used as typed.
    settings.NUSU = "07";
    settings.ARQDEF = tmp / "Kaprix/";
    settings.LOCARQ = tmp / "Dados 2015";
    settings.LOCTRAB = tmp / "aux";
    for (const std::string& f : {settings.ARQDEF, settings.LOCARQ, settings.LOCTRAB})
      std::filesystem::create_directories(f);
  }

  std::string program(const std::string& name) const { return settings.ARQDEF + name; }
  std::string work(const std::string& name) const { return settings.LOCARQ + "/" + name; }
  bool exists(const std::string& path) const { return std::filesystem::exists(path); }

  // Every reference table of the catalogue that is not there yet, empty, except `except`.
  void install_reference_tables(int except = 0) {
    for (int n = kDeclarationTables + 1; n <= kLastTable; ++n) {
      auto entry = table_entry(n, settings.NUSU);
      if (!entry || entry->kind != TableKind::reference || n == except || entry->needs_memo_file ||
          exists(program(entry->data_file_name())))
        continue;
      dbf::Table::create(program(entry->data_file_name()), entry->layout());
    }
  }

  // Appends rows to the table of `slot` (open exclusively or shared): each row a list of
  // field, value pairs; then the table is left at its first record.
  void append_rows(int slot, const std::vector<std::vector<std::pair<std::string, std::string>>>& rows) {
    dbf::Table& t = ws.table(slot);
    for (const auto& row : rows) {
      ASSERT_NE(t.append_blank({1000, 500, {}}), 0u);
      for (const auto& [field, value] : row) {
        if (t.field(field).type == dbf::FieldType::numeric)
          t.set_number(field, *Decimal::parse(value));
        else
          t.set_text(field, value);
      }
      t.commit();
      t.unlock_all();
    }
    t.go_top();
  }

  // In this order: the tables in the workspace are closed before their clock and folder go.
  TempFolder tmp;
  VirtualClock clock{DateTime{*Date::from_ymd(2015, 3, 10), 9, 0, 0}};
  Settings settings;
  ScriptedOperator op;
  Workspace ws;
  Access access{ws, settings, op, clock, {}};
};

}  // namespace kx::store::testing
