#include "ui/keys.h"

#include <gtest/gtest.h>

#include "ui/key_script.h"

namespace kx::ui {
namespace {

TEST(Keys, NamesCarryTheXBaseNumbers) {
  const std::pair<const char*, int> cases[] = {
      {"F1", 28},         {"F2", -1},          {"F10", -9},        {"F11", -40},
      {"F12", -41},       {"Shift-F1", -10},   {"Ctrl-F1", -20},   {"Alt-F1", -30},
      {"Alt-F2", -31},    {"Shift-Tab", 271},  {"Alt-Q", 272},     {"Alt-W", 273},
      {"Alt-I", 279},     {"Alt-T", 276},      {"Alt-A", 286},     {"Alt-S", 287},
      {"Alt-V", 303},     {"Alt-M", 306},      {"Alt-1", 376},     {"Alt-0", 385},
      {"PgDn", 3},        {"PgUp", 18},        {"Ctrl-Enter", 10}, {"Enter", 13},
      {"Esc", 27},        {"Up", 5},           {"Down", 24},       {"Left", 19},
      {"Right", 4},       {"Home", 1},         {"End", 6},         {"Ins", 22},
      {"Del", 7},         {"Ctrl-PgDn", 30},   {"Ctrl-PgUp", 31},  {"Ctrl-Left", 26},
      {"Ctrl-Right", 2},  {"Ctrl-Home", 29},   {"Ctrl-End", 23},   {"Ctrl-J", 10},
      {"Ctrl-Q", 17},     {"Ctrl-K", 11},
  };
  for (auto [name, code] : cases) {
    EXPECT_EQ(key::from_name(name), code) << name;
    EXPECT_EQ(key::from_name(key::name(code)), code) << name;
  }
  EXPECT_EQ(key::from_name("alt-w"), 273);
  EXPECT_FALSE(key::from_name("Hyper-X"));
}

TEST(Keys, ControlLettersThatShareACursorKeyNumberAreDistinct) {
  const int cursor[] = {key::kHome, key::kCtrlRight, key::kPgDn, key::kRight, key::kUp, key::kEnd,
                        key::kDel, key::kPgUp, key::kLeft, key::kIns, key::kCtrlEnd, key::kDown,
                        key::kCtrlLeft};
  for (char c = 'A'; c <= 'Z'; ++c) {
    for (int k : cursor) EXPECT_NE(key::ctrl(c), k) << "Ctrl-" << c;
  }
  EXPECT_NE(key::kCopy, key::kPgDn);
  EXPECT_EQ(key::kPaste, key::alt('V'));
  EXPECT_EQ(key::character(key::ctrl('C')), 0);
  EXPECT_EQ(key::character('a'), 'a');
  EXPECT_EQ(key::character(0x87), 0x87);  // ç
  EXPECT_EQ(key::character(key::alt('W')), 0);
}

TEST(KeyScript, ParsesKeysCommandsAndWaits) {
  auto items = parse_key_script("<F1>Sí<Enter><<<Alt-W><Menu 1003><Click 3,10><Click 4,5,3><Wait 1500><Tick><Resize 30x100>");
  std::vector<ScriptItem> expected = {
      Event::key(28),           Event::key('S'),          Event::key(0xA1),  // í in CP850
      Event::key(13),           Event::key('<'),          Event::key(273),
      Event::menu(1003),        Event::click(3, 10),      Event::click(4, 5, 3),
      ScriptWait{1500},         ScriptWait{1000},         Event::resize(30, 100)};
  EXPECT_EQ(items, expected);
  EXPECT_THROW(parse_key_script("<Nope>"), ScriptError);
  EXPECT_THROW(parse_key_script("abc<Enter"), ScriptError);
  EXPECT_THROW(parse_key_script("<Click 3>"), ScriptError);
}

}  // namespace
}  // namespace kx::ui
