// A running program with its main menu on the screen harness: the menu's operations are
// recorders that tests replace, and every screen the operator saw before a key is kept.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "../support/session_fixture.h"
#include "base/cp850.h"
#include "dbf/table.h"
#include "os/path.h"
#include "shell/menu_select.h"

namespace kx::testing {

class MenuFixture : public SessionFixture {
 public:
  MenuFixture() {
    h.terminal.on_key = [this](const ui::Event&) { seen += h.terminal.dump(); };
  }

  shell::MainMenu& menu() {
    if (!menu_) menu_ = std::make_unique<shell::MainMenu>(session, ops);
    return *menu_;
  }
  // Runs the main window's event loop over `script` (followed by Esc, which leaves the loop).
  void choose(const std::string& script) {
    h.type(script + "<Esc>");
    h.frame.LACTIVATE();
  }
  // Whether the screen showed `utf8` before some key.
  bool saw(std::string_view utf8) const { return seen.find(utf8) != std::string::npos; }

  // The field of the record of `table` in the program folder (the first record, or the one
  // whose NRO_TERM is the terminal's), read from the file as another program would.
  std::string stored(std::string_view table, std::string_view field) {
    workspace.close_all();
    auto path = os::find_nocase(globals.ARQDEF + std::string(table) + ".DBF");
    dbf::Table t = dbf::Table::open(*path, {dbf::OpenMode::read_only}, h.clock);
    const bool keyed = t.schema().find("NRO_TERM") != nullptr;
    for (t.go_top(); !t.eof(); t.skip()) {
      if (keyed && t.get_text("NRO_TERM") != globals.NUSU) continue;
      switch (t.field(field).type) {
        case dbf::FieldType::numeric: return t.get_number(field).str();
        case dbf::FieldType::logical: return t.get_logical(field) ? "T" : "F";
        case dbf::FieldType::date: return t.get_date(field).dtos();
        default: return t.get_text(field);
      }
    }
    return "<no record>";
  }

  shell::MenuOperations ops;
  std::string seen;  // UTF-8 dumps of the screen before every key

 private:
  std::unique_ptr<shell::MainMenu> menu_;
};

}  // namespace kx::testing
