// A running program (terminal "07") whose current folder holds a few taxpayers, with the screens
// it shows captured at every key.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "../support/session_fixture.h"
#include "base/cp850.h"
#include "dbf/table.h"
#include "store/access.h"

namespace kx::declaration::testing {

using Fields = std::vector<std::pair<std::string, std::string>>;  // text fields, UTF-8

class TaxpayerScreenTest : public ::testing::Test {
 protected:
  TaxpayerScreenTest() {
    f.h.terminal.on_key = [this](const ui::Event&) { screens.push_back(f.h.terminal.dump()); };
    store::Access a = f.session.access();
    EXPECT_TRUE(store::ABERTURA(a, 9));
  }

  // A registry row of the current folder.
  void add(const std::string& cpf, const std::string& name, Fields fields = {}) {
    fields.insert(fields.begin(), {{"CPF", cpf}, {"NOMECONTR", name}});
    add_row(f.workspace.table(9), fields);
  }

  // A row of a table open shared.
  static void add_row(dbf::Table& t, const Fields& fields) {
    const uint32_t r = t.append_blank({2000, 50, {}});
    for (const auto& [field, value] : fields) {
      if (t.field(field).type == dbf::FieldType::numeric)
        t.set_number(field, *Decimal::parse(value));
      else if (t.field(field).type == dbf::FieldType::date)
        t.set_date(field, *Date::parse_dmy(value));
      else
        t.set_text(field, cp850::from_utf8(value));
    }
    t.commit();
    t.unlock_record(r);
  }

  // Whether any screen shown while waiting for a key held `text` (UTF-8).
  bool seen(const std::string& text) const {
    for (const std::string& screen : screens) {
      if (screen.find(text) != std::string::npos) return true;
    }
    return false;
  }

  kx::testing::SessionFixture f;
  std::vector<std::string> screens;
};

}  // namespace kx::declaration::testing
