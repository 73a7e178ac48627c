#include "ui/screen.h"

#include <gtest/gtest.h>

#include "ui/harness.h"

namespace kx::ui {
namespace {

TEST(Screen, FlushSendsOnlyTheCellsThatChanged) {
  ScreenHarness h;
  h.screen.flush();
  long before = h.terminal.cells_drawn();
  h.screen.write(3, 10, "ab", 0x1F);
  h.screen.write(3, 10, "a", 0x1F);  // written twice, sent once
  h.screen.flush();
  EXPECT_EQ(h.terminal.cells_drawn() - before, 2);
  before = h.terminal.cells_drawn();
  h.screen.write(3, 10, "ab", 0x1F);  // same content: nothing to send
  h.screen.flush();
  EXPECT_EQ(h.terminal.cells_drawn(), before);
  h.screen.invalidate();  // after a resize everything is sent again
  h.screen.flush();
  EXPECT_EQ(h.terminal.cells_drawn() - before, kTerminalRows * kCols);
}

TEST(Screen, DialogLayersKeepWhatLiesBelow) {
  ScreenHarness h;
  h.screen.write(5, 0, "0123456789", 0x07);
  int layer = h.screen.open_layer({5, 2, 6, 5}, "T", Cell{' ', 0x70}, 0x1F);
  EXPECT_EQ(h.text(5, 0, 10), "01    6789");
  EXPECT_EQ(h.text(4, 2, 4), " T _");  // the title bar on the row above
  h.screen.write(5, 0, "abcdefghij", 0x07);  // inside goes to the dialog, outside below it
  EXPECT_EQ(h.text(5, 0, 10), "abcdefghij");
  h.screen.close_layer(layer);
  EXPECT_EQ(h.text(5, 0, 10), "ab2345ghij");
  EXPECT_EQ(h.screen.layer_count(), 0);
}

TEST(Screen, TicksFallDueEverySecondOfTheClock) {
  ScreenHarness h;
  h.type("<Wait 2500>x");
  std::vector<EventKind> kinds;
  for (int i = 0; i < 3; ++i) kinds.push_back(h.screen.next_event(-1)->kind);
  EXPECT_EQ(kinds, (std::vector<EventKind>{EventKind::kTick, EventKind::kTick, EventKind::kKey}));
  EXPECT_EQ(h.clock.monotonic_ms(), 2500);
  h.type("<Wait 300>");
  EXPECT_FALSE(h.screen.next_event(200));  // a timeout with nothing to read
}

TEST(Screen, AScriptThatRunsOutFailsWithADumpOfTheScreen) {
  ScreenHarness h;
  h.screen.write(2, 3, "Total", 0x07);
  h.type("a");
  EXPECT_EQ(h.screen.wait_key(), 'a');
  try {
    h.screen.wait_key();
    FAIL() << "no exception";
  } catch (const ScriptExhausted& e) {
    EXPECT_NE(std::string(e.what()).find("  2 |   Total"), std::string::npos) << e.what();
  }
}

TEST(Screen, PushedKeysComeFirstAndInputCanBeDiscarded) {
  ScreenHarness h;
  h.type("z");
  h.screen.push_keys({'x', 'y'});
  EXPECT_EQ(h.screen.wait_key(), 'x');
  h.screen.discard_input();
  EXPECT_EQ(h.screen.wait_key(), 'z');
}

}  // namespace
}  // namespace kx::ui
