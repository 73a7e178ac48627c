// A running program with an open declaration's values and its lookups, and working copies of
// declaration tables filled with a few rows.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "../support/session_fixture.h"
#include "base/text.h"
#include "declaration/declaration_values.h"
#include "declaration/lookup.h"
#include "store/access.h"
#include "store/catalogue.h"
#include "store/layout.h"
#include "ui/memory_terminal.h"

namespace kx::declaration::testing {

class LookupFixture : public ::testing::Test {
 protected:
  LookupFixture() {
    values.add_fields(store::declaration_layout(9));
    values.add_fields(store::declaration_layout(1));
  }

  // The working copy of declaration table `n` (slot n + 20) with `rows` appended.
  dbf::Table& copy(int n, const std::vector<NamedValues>& rows = {}) {
    store::Access a = f.session.access();
    const int slot = n + store::kFirstWorkingCopy - 1;
    if (!f.workspace.held(slot)) {
      EXPECT_TRUE(store::ABREARQ(a, slot, false,
                                 f.globals.LOCTRAB + store::working_copy_name(n, f.globals.NUSU)));
    }
    dbf::Table& t = f.workspace.table(slot);
    for (const auto& row : rows) {
      t.append_blank();
      for (const auto& [name, v] : row) {
        if (auto* s = std::get_if<std::string>(&v))
          t.set_text(name, *s);
        else
          t.set_number(name, std::get<Decimal>(v));
      }
      t.commit();
      t.unlock_all();
    }
    return t;
  }

  // The screen at the moment `run` asks for a key the script does not hold: the dump the
  // harness gives when the script runs out.
  std::string screen_when_keys_run_out(const std::function<void()>& run) {
    try {
      run();
    } catch (const ui::ScriptExhausted& e) {
      return e.what();
    }
    ADD_FAILURE() << "nothing waited for a key";
    return {};
  }
  // The screen while `request`'s list waits for a key.
  std::string screen_of_open_list(const LookupRequest& request) {
    return screen_when_keys_run_out([&] { lookup.GERAL(request); });
  }

  // Text of a value, trimmed; numbers in their plain form.
  static std::string shown(const ui::Value& v) {
    if (auto* s = std::get_if<std::string>(&v)) return std::string(text::trim(*s));
    if (auto* d = std::get_if<Decimal>(&v)) return d->str();
    return "?";
  }

  kx::testing::SessionFixture f;
  DeclarationValues values;
  Lookup lookup{f.session, values};
};

}  // namespace kx::declaration::testing
