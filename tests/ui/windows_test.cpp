#include "ui/windows.h"

#include <gtest/gtest.h>

#include "ui/harness.h"

namespace kx::ui {
namespace {

class WindowsTest : public ::testing::Test {
 protected:
  ScreenHarness h;
  Windows& w = h.windows;
};

TEST_F(WindowsTest, TypeOneWrapsTwoColumnsBeforeTheRightEdgeAndFramesAround) {
  w.REDEFJAN(4, 30, 31, 63, 5, 10, 8, 29, 1);
  w.ABREJAN(4);
  w.ESCRJAN(4, std::string(18, 'a') + std::string(18, 'b'));
  EXPECT_EQ(h.text(5, 10, 18), std::string(18, 'a'));
  EXPECT_EQ(h.text(6, 10, 18), std::string(18, 'b'));
  EXPECT_EQ(h.text(7, 10, 18), "──────────────────");  // the frame's bottom: two rows of text
  EXPECT_EQ(h.text(4, 9, 1), "┌");
  EXPECT_EQ(h.text(7, 28, 1), "┘");
  EXPECT_EQ(h.attr(4, 9), 0x1F);   // frame in colour 2
  EXPECT_EQ(h.attr(5, 10), 0x1E);  // text in colour 1
}

TEST_F(WindowsTest, ColourCodesAndRuns) {
  w.REDEFJAN(5, 30, 31, 63, 2, 0, 3, 79, 0);
  w.ESCRJAN(5, "\x02" "A" "\x03" "B" "\x01" "C" + REP(5) + "\xC4" "D\x04");
  EXPECT_EQ(h.text(2, 0, 9), "ABC─────D");
  EXPECT_EQ(h.text(2, 9, 1), " ");  // a marker at the very end writes nothing
  EXPECT_EQ(h.attr(2, 0), 0x1F);
  EXPECT_EQ(h.attr(2, 1), 0x3F);
  EXPECT_EQ(h.attr(2, 2), 0x1E);
  EXPECT_EQ(w.entry(5)->text, "ABC" + std::string(5, '\xC4') + "D\x04");  // codes 1-3 removed
  EXPECT_EQ(h.colours.COR_1_CLI, "GR+/B");
  // A run of the marker itself ends.
  EXPECT_EQ(Windows::expand_runs(REP(9) + "\x04" + "x"), "x");
}

TEST_F(WindowsTest, ShadowedWindow) {
  w.REDEFJAN(6, 30, 31, 63, 3, 10, 4, 15, 7);  // stored bottom 6
  EXPECT_EQ(w.entry(6)->bottom, 6);
  w.ABREJAN(6);
  w.ESCRJAN(6, "abcdefgh");  // wraps after column 13: two rows of four
  EXPECT_EQ(h.text(3, 10, 6), "abcd  ");
  EXPECT_EQ(h.text(4, 10, 6), "efgh░░");
  EXPECT_EQ(h.text(5, 10, 6), " ░░░░░");
  EXPECT_EQ(h.attr(4, 14), 0x3F);
  w.FECHAJAN(6);
  EXPECT_EQ(h.text(4, 10, 6), "      ");
  EXPECT_EQ(h.text(5, 10, 6), "      ");
}

TEST_F(WindowsTest, OpeningSavesAndClosingRestoresWithoutStacking) {
  h.screen.write(10, 10, "under", 0x42);
  w.REDEFJAN(3, 30, 31, 63, 10, 10, 12, 20, 2);
  w.ABREJAN(3);
  EXPECT_EQ(h.text(10, 10, 1), "┌");
  w.ESCRLCOL(3, 2, 2, "xy");
  w.ABREJAN(3);  // re-opened in place: restores first, then saves again
  w.FECHAJAN(3);
  EXPECT_EQ(h.text(10, 10, 5), "under");
  EXPECT_EQ(h.attr(10, 10), 0x42);
  EXPECT_FALSE(w.is_open(3));
  w.FECHAJAN(3);  // not open: ignored
  w.ABREJAN(11);  // not in the table: ignored
  w.ESCRJAN(0, "x");
}

TEST_F(WindowsTest, WritesKeepAttributesOrRecolourStoredText) {
  w.REDEFJAN(7, 30, 31, 63, 5, 5, 8, 14, 0);
  w.ESCRJAN(7, "0123456789abcdefghij");
  w.ESCRLCOL(7, 1, 3, "XY");
  EXPECT_EQ(h.text(5, 5, 10), "01XY456789");
  EXPECT_EQ(h.attr(5, 7), 0x1E);
  w.ESCRATR(7, 2, 2, 79, 3);  // row width 10: stored text from position 12
  EXPECT_EQ(h.text(6, 6, 3), "bcd");
  EXPECT_EQ(h.attr(6, 6), 0x4F);
  EXPECT_EQ(h.attr(6, 9), 0x1E);
  w.ESCRATR(7, 9, 1, 79, 3);  // beyond the stored text: nothing
}

TEST_F(WindowsTest, MovingStaysOnTheScreen) {
  w.REDEFJAN(8, 30, 31, 63, 0, 0, 1, 4, 0);
  w.ABREJAN(8);
  w.ESCRJAN(8, "abcde");
  w.MOVEVER(8, Windows::kDirectionUp);  // already at row 0
  EXPECT_EQ(w.entry(8)->top, 0);
  w.MOVEVER(8, 0);
  w.MOVEHOR(8, 0);
  EXPECT_EQ(w.entry(8)->top, 1);
  EXPECT_EQ(w.entry(8)->left, 1);
  EXPECT_EQ(h.text(0, 0, 6), "      ");
  EXPECT_EQ(h.text(1, 0, 6), " abcde");
  for (int i = 0; i < 100; ++i) w.MOVEHOR(8, 0);
  EXPECT_EQ(w.entry(8)->right, 80);
}

TEST_F(WindowsTest, WritesOutsideTheGridAreClipped) {
  w.REDEFJAN(2, 30, 31, 63, 23, 75, 30, 90, 1);
  w.ABREJAN(2);
  w.ESCRJAN(2, std::string(200, 'z'));
  w.FECHAJAN(2);
  h.screen.write(24, 78, "abc", 0x07);
  EXPECT_EQ(h.text(24, 78, 2), "ab");
  h.screen.put(-1, 0, Cell{'x', 0x07});
  h.screen.put(25, 0, Cell{'x', 0x07});
  EXPECT_NE(h.text(-1, 0, 1), "x");
}

TEST_F(WindowsTest, FillAndOrigins) {
  w.ENCHETELA(0xB0, "W+/B");
  EXPECT_EQ(h.text(0, 0, 2), "░░");
  EXPECT_EQ(h.attr(24, 79), 0x1F);
  EXPECT_EQ(w.ALJ.size(), 23u);
  EXPECT_EQ(w.ALJB.size(), 12u);
  EXPECT_EQ(w.ALJA[22], 0);
}

}  // namespace
}  // namespace kx::ui

namespace kx::ui {
namespace {

TEST(WindowsInDialogs, AWindowOpenedInAClosedDialogDoesNotPaintTheScreenBelow) {
  ScreenHarness h;
  h.screen.write(6, 6, "base", 0x07);
  LDialog& d = h.frame.LDLGSHOW(5, 5, 10, 30, "D");
  h.windows.REDEFJAN(4, 30, 31, 63, 6, 6, 8, 20, 0);
  h.windows.ABREJAN(4);  // saves the dialog's cells
  h.windows.ESCRJAN(4, "janela");
  d.close();
  h.windows.FECHAJAN(4);
  EXPECT_EQ(h.text(6, 6, 4), "base");
  EXPECT_EQ(h.attr(6, 6), 0x07);
  EXPECT_FALSE(h.windows.is_open(4));
}

}  // namespace
}  // namespace kx::ui
