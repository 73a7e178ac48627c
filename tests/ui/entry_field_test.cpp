#include "ui/entry_field.h"

#include <gtest/gtest.h>

#include "base/cp850.h"
#include "ui/harness.h"
#include "ui/keys.h"

namespace kx::ui {
namespace {

class EntryFieldTest : public ::testing::Test {
 protected:
  ScreenHarness h;
  // Reads `var` through `picture` with `script`; returns the exit key.
  int edit(Value& var, std::string_view picture, std::string_view script) {
    EntryField f(h.screen, 5, 10, var, picture, 0x70, 0x1F);
    h.type(script);
    int k = f.read(&h.frame.keys(), &h.frame);
    EXPECT_TRUE(h.terminal.script_done()) << picture << " " << script;
    return k;
  }
};

TEST_F(EntryFieldTest, TemplatesFillPlaceholdersAndStoreWithoutInsertedLiterals) {
  struct Case {
    const char* picture;
    const char* start;
    const char* script;
    const char* stored;
    const char* shown;
  } cases[] = {
      {"@R 999.999.999-99", "           ", "111a44477735", "11144477735", "111.444.777-35"},
      {"@R 99999-999", "        ", "01310<Left><Left><Left>9<Enter>", "01910   ", "01910-   "},
      {"@!", "    ", "ab<Enter>", "AB  ", "AB  "},
      {"@R !!!!!-!", "      ", "ab12cd", "AB12CD", "AB12C-D"},
      {"", "abcde", "<End><Backspace>X<Home><Del><Enter>", "bcX  ", "bcX  "},
      {"@K", "antigo", "x<Enter>", "x     ", "x     "},
      {"", "antigo", "x<Enter>", "xntigo", "xntigo"},                 // without K: overwrite
      {"", "abcd", "<Ins>x<Enter>", "xabc", "xabc"},                   // insert
      {"", "abc", "<Right>Z<Enter>", "aZc", "aZc"},
  };
  for (const auto& c : cases) {
    Value v = std::string(c.start);
    edit(v, c.picture, c.script);
    EXPECT_EQ(std::get<std::string>(v), c.stored) << c.picture << " " << c.script;
    EXPECT_EQ(h.text(5, 10, static_cast<int>(std::string(c.shown).size())), c.shown) << c.picture;
  }
}

TEST_F(EntryFieldTest, NumbersClearOnTheFirstKeyAndJumpToTheDecimals) {
  struct Case {
    const char* picture;
    const char* start;
    const char* script;
    const char* stored;
    const char* shown;
  } cases[] = {
      {"@E 999,999.99", "12.5", "1234,5<Enter>", "1234.5", "  1.234,50"},
      {"@E 999,999.99", "12.5", "7.25", "7.25", "      7,25"},  // the last decimal ends it
      {"@E 999,999.99", "12.5", "-3<Enter>", "-3", "     -3,00"},
      {"@E 999,999.99", "12.5", "<End>9", "12.59", "     12,59"},  // a cursor key first keeps
      {"999", "5", "x42<Enter>", "42", " 42"},                               // letters are refused
      {"@ 9", "1", "3", "3", "3"},
  };
  for (const auto& c : cases) {
    Value v = *Decimal::parse(c.start);
    edit(v, c.picture, c.script);
    EXPECT_EQ(std::get<Decimal>(v), *Decimal::parse(c.stored)) << c.picture << " " << c.script;
    EXPECT_EQ(h.text(5, 10, static_cast<int>(std::string(c.shown).size())), c.shown) << c.script;
  }
}

TEST_F(EntryFieldTest, ExitKeysAndEsc) {
  Value v = std::string("abc");
  EXPECT_EQ(edit(v, "", "x<Esc>"), key::kEsc);
  EXPECT_EQ(std::get<std::string>(v), "abc");  // Esc keeps the variable
  for (const char* k : {"<Up>", "<Down>", "<PgDn>", "<PgUp>", "<Ctrl-Enter>", "<Tab>", "<Shift-Tab>"}) {
    EXPECT_EQ(edit(v, "", k), *key::from_name(std::string_view(k).substr(1, std::string_view(k).size() - 2))) << k;
  }
  Value d = Date{};
  edit(d, "@D", "30042015");  // typed past the end: ends as Enter
  EXPECT_EQ(std::get<Date>(d), *Date::from_ymd(2015, 4, 30));
  Value yes = false;
  edit(yes, "", "s");
  EXPECT_TRUE(std::get<bool>(yes));
}

TEST_F(EntryFieldTest, ScrollsSidewaysInANarrowField) {
  Value v = std::string(20, ' ');
  EntryField f(h.screen, 5, 10, v, "@S5", 0x70, 0x1F);
  EXPECT_EQ(f.shown_width(), 5);
  h.type("abcdefg");
  h.terminal.on_key = [&](const Event& e) {
    if (e.code == 'g') {
      EXPECT_EQ(h.text(5, 10, 5), "cdef ");  // the view follows the cursor
      EXPECT_EQ(h.cursor_col(), 14);
    }
  };
  h.type("<Enter>");
  f.read();
  EXPECT_EQ(std::get<std::string>(v), "abcdefg" + std::string(13, ' '));
  EXPECT_EQ(h.text(5, 10, 6), "abcde ");  // shown from the start again, never past its width
}

TEST_F(EntryFieldTest, BoundKeysRunInsideTheField) {
  Value v = std::string("abc");
  int calls = 0;
  KeyScope scope(h.frame.keys());
  scope.set(key::f(2), [&] { ++calls; });
  edit(v, "", "<F2><Enter>");
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace kx::ui
