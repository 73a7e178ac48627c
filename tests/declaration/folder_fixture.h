// A work folder in a temporary folder, filled row by row through the table engine, and the
// calc verb run on it with a virtual clock.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "../os/temp_folder.h"
#include "base/clock.h"
#include "base/cp850.h"
#include "dbf/table.h"
#include "declaration/calc_command.h"
#include "declaration/work_folder.h"
#include "store/catalogue.h"
#include "store/layout.h"
#include "base/text.h"
#include "tax/fields.h"

namespace kx::declaration::testing {

// Field name and value as text: numbers in dBASE form, dates dd/mm/yyyy, logicals T/F, text in
// UTF-8.
using Row = std::vector<std::pair<std::string, std::string>>;

struct Output {
  int status = 0;
  std::string out, err;
  std::vector<std::pair<std::string, std::string>> lines;  // NAME=VALUE lines, in order
  std::vector<std::string> notices;                         // AVISO: lines, without the prefix
};

class WorkFolderTest : public ::testing::Test {
 protected:
  std::string folder() const { return tmp.path() + "/Dados 2015"; }
  std::string file(int n) const {
    return folder() + "/" + store::declaration_table_name(n) + ".DBF";
  }

  // Table n of the folder (created when missing) with its index files, exclusive by default.
  dbf::Table open(int n, dbf::OpenMode mode = dbf::OpenMode::exclusive) {
    std::filesystem::create_directories(folder());
    if (!std::filesystem::exists(file(n))) dbf::Table::create(file(n), store::declaration_layout(n));
    return open_declaration_table(folder(), n, mode, clock);
  }

  void add(int n, const Row& row) {
    dbf::Table t = open(n);
    t.append_blank();
    for (const auto& [name, value] : row) {
      switch (t.field(name).type) {
        case dbf::FieldType::numeric: t.set_number(name, Decimal::parse(value).value()); break;
        case dbf::FieldType::date: t.set_date(name, Date::parse_dmy(value).value()); break;
        case dbf::FieldType::logical: t.set_logical(name, value == "T"); break;
        default: t.set_text(name, cp850::from_utf8(value));
      }
    }
    t.close();
  }

  // Every declaration table present, as a new folder has them.
  void create_all_tables() {
    for (int n = 1; n <= store::kDeclarationTables; ++n) open(n).close();
  }

  // A taxpayer's registry and summary rows as a new declaration has them.
  void add_taxpayer(const std::string& cpf, const std::string& name, Row registry = {},
                    Row summary = {}) {
    registry.insert(registry.begin(), {{"CPF", cpf}, {"NOMECONTR", name}, {"USAPADRAO", "S"},
                                       {"SO_SIMPLES", "S"}, {"ESTATUS", "2"}});
    summary.insert(summary.begin(),
                   {{"CPF", cpf}, {"INDALERTA", "10"}, {"CAL_AUTO", "1"}, {"SO_REC", "T"}});
    add(9, registry);
    add(1, summary);
  }

  Output calc(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    CommandEnvironment env{clock, ""};
    Output o;
    o.status = run_calc(args, out, err, env);
    o.out = out.str();
    o.err = err.str();
    std::istringstream lines(o.out);
    for (std::string line; std::getline(lines, line);) {
      if (line.starts_with("AVISO: ")) o.notices.push_back(line.substr(7));
      else if (auto eq = line.find('='); eq != std::string::npos)
        o.lines.emplace_back(line.substr(0, eq), line.substr(eq + 1));
    }
    return o;
  }

  std::string bytes_of(int n) const { return tmp.read("Dados 2015/" + store::declaration_table_name(n) + ".DBF"); }

  os::testing::TempFolder tmp;
  VirtualClock clock{DateTime{*Date::from_ymd(2015, 3, 15), 10, 0, 0}};
};

}  // namespace kx::declaration::testing
