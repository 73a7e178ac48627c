// A program started over the session fixture: its start options point at the fixture's program
// folder under terminal 07, and a stand-in main menu records the commands it is given (the
// leaving commands run ROTSAIDA as the real menu does).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "../support/session_fixture.h"
#include "base/text.h"
#include "dbf/table.h"
#include "shell/program.h"
#include "store/folder.h"

namespace kx::shell::testing {

class RecordingMenu : public MainLoopMenu {
 public:
  void build() override { ++built; }
  void select(int code, int arg) override {
    selected.emplace_back(code, arg);
    if (code == kLeave || code == kEndAtOnce) program->ROTSAIDA(code);
  }
  void menu_event(const ui::Event& e) override { events.push_back(e); }

  Program* program = nullptr;
  int built = 0;
  std::vector<std::pair<int, int>> selected;
  std::vector<ui::Event> events;
};

class ProgramFixture {
 public:
  explicit ProgramFixture(bool install = true) : f(install) {
    std::filesystem::create_directories(f.tmp / "home");
  }

  StartOptions options(std::optional<std::string> terminal = "07") const {
    StartOptions o;
    o.argument = std::move(terminal);
    o.current_folder = f.globals.ROTADEF;
    o.drives.home = f.tmp / "home";
    return o;
  }
  // A fresh program over the same session (a new run of the program).
  Program& program(std::optional<std::string> terminal = "07") {
    p.emplace(f.session, options(std::move(terminal)), menu, UpdateSettings{});
    menu.program = &*p;
    return *p;
  }

  std::string program_file(const std::string& name) const {
    return store::fs_path(store::in_folder(f.globals.ROTADEF, name));
  }
  // The trimmed text of `field` in the record of `key` of a program-folder table (not held
  // exclusively: the folder list is readable after the workspace is closed).
  std::string field_of(const std::string& table, const std::string& key_field,
                       const std::string& key, const std::string& field) {
    dbf::Table t = dbf::Table::open(program_file(table + ".DBF"), {dbf::OpenMode::read_only}, f.h.clock);
    std::string out = "<none>";
    t.scan([&](uint32_t, const dbf::RecordView& r) {
      if (text::rtrim(r.text(*r.schema().find(key_field))) != key) return true;
      out = std::string(text::trim(r.text(*r.schema().find(field))));
      return false;
    });
    return out;
  }

  kx::testing::SessionFixture f;
  RecordingMenu menu;
  std::optional<Program> p;
};

}  // namespace kx::shell::testing
