#include "ui/form.h"

#include <gtest/gtest.h>

#include "base/cp850.h"
#include "ui/browser.h"
#include "ui/harness.h"
#include "ui/keys.h"
#include "ui/pick_list.h"

namespace kx::ui {
namespace {

class FormTest : public ::testing::Test {
 protected:
  ScreenHarness h;
  Value a = std::string(3, ' '), b = std::string(3, ' '), c = std::string(3, ' ');
  bool b_enabled = false;
  std::vector<std::size_t> visited;
  Form form{h.frame, 0x70, 0x1F};

  void SetUp() override {
    form.add({2, 5, &a, "", [this] { visited.push_back(0); return true; },
              [this] { return std::get<std::string>(a) != "   "; }});
    form.add({3, 5, &b, "", [this] { visited.push_back(1); return b_enabled; }, {}});
    form.add({4, 5, &c, "@!", [this] { visited.push_back(2); return true; }, {}});
  }
};

TEST_F(FormTest, MovesThroughEnabledFieldsAndValidates) {
  // Enter on the empty first field is refused; the second field is disabled and skipped;
  // leaving the last field forward ends the read.
  h.type("<Enter>ab<Enter>xyz");
  EXPECT_EQ(form.read(), key::kEnter);
  EXPECT_EQ(std::get<std::string>(a), "ab ");
  EXPECT_EQ(std::get<std::string>(b), "   ");
  EXPECT_EQ(std::get<std::string>(c), "XYZ");
  EXPECT_EQ(form.current(), 2u);
  EXPECT_EQ(h.text(4, 5, 3), "XYZ");
  EXPECT_EQ(h.attr(4, 5), 0x70);  // no field left shown as being edited
}

TEST_F(FormTest, UpGoesBackAndEndingKeysEndTheRead) {
  b_enabled = true;
  h.type("q<Down><Down><Up><Up><Up>w<PgDn>");
  EXPECT_EQ(form.read(), key::kPgDn);
  EXPECT_EQ(std::get<std::string>(a), "w  ");  // Up on the first field stays there
  form.exit_keys().insert(key::f(2));
  h.type("<Down>zz<F2>");
  EXPECT_EQ(form.read(), key::f(2));
  EXPECT_EQ(std::get<std::string>(b), "zz ");
  h.type("<Down>kk<Esc>");
  EXPECT_EQ(form.read(), key::kEsc);
  EXPECT_EQ(std::get<std::string>(b), "zz ");  // Esc keeps the value the field had
  EXPECT_EQ(form.current(), 1u);
}

TEST_F(FormTest, ReadingMarksTheWindowSoThatItCannotBeClosed) {
  LDialog& d = h.frame.LDLGSHOW(1, 1, 10, 40, "Form");
  int seen = -1;
  h.frame.keys().set(key::f(9), [&] { seen = d.reading; });
  h.type("a<F9><Esc>");
  form.read();
  EXPECT_EQ(seen, 1);
  EXPECT_EQ(d.reading, 0);
  d.close();
  EXPECT_EQ(h.frame.window_count(), 1);
}

TEST(PickList, ChoosesWithKeysLettersAndClicks) {
  ScreenHarness h;
  std::vector<std::string> items = {"Alfa", "Beta", "Gama", "Delta", "Bravo", "Eco"};
  PickList list(h.screen, {5, 10, 8, 20}, items, 0x30, 0x4F);
  h.type("<Down><Down><Down><Down><Down><Down><Down><Enter>");
  EXPECT_EQ(list.run(), 6);  // stops at the last
  EXPECT_EQ(h.text(8, 10, 3), "Eco");
  EXPECT_EQ(h.attr(8, 10), 0x4F);
  h.type("bb<Enter>");  // next item starting with the letter, again and again
  EXPECT_EQ(list.run(1), 5);
  h.type("<Esc>");
  EXPECT_EQ(list.run(), 0);
  h.type("<Click 6,12>");
  EXPECT_EQ(list.run(1), 2);
}

class BrowserTest : public ::testing::Test {
 protected:
  ScreenHarness h;
  ArraySource rows{make_rows()};

  static std::vector<std::vector<Value>> make_rows() {
    std::vector<std::vector<Value>> r;
    for (int i = 1; i <= 10; ++i) {
      r.push_back({std::string("R") + std::to_string(i), Decimal::raw(i * 123450, 2), std::string("c") + std::to_string(i)});
    }
    return r;
  }
  Browser make(Rect area) {
    Browser b(h.screen, area, rows);
    b.columns = {{"Nome", 4, "", [this] { return rows.cell(0); }},
                 {"Valor", 10, "@E 999,999.99", [this] { return rows.cell(1); }},
                 {"Obs", 3, "", [this] { return rows.cell(2); }}};
    return b;
  }
};

TEST_F(BrowserTest, ShowsHeadingsFormattedCellsAndScrolls) {
  Browser b = make({2, 0, 7, 30});  // four data rows
  h.type("<Down><Down><Down><Down><Down><Enter>");
  EXPECT_EQ(b.run(), key::kEnter);
  EXPECT_EQ(h.text(2, 0, 20), "Nome Valor      Obs ");
  EXPECT_EQ(h.text(4, 0, 16), "R3  │  3.703,50│");
  EXPECT_EQ(h.text(7, 0, 4), "R6  ");
  EXPECT_EQ(b.row_bookmark(), 5);
  EXPECT_EQ(h.attr(7, 0), 0x4F);
  h.type("<Ctrl-PgDn><Up><PgUp><Enter>");
  b.run();
  EXPECT_EQ(b.row_bookmark(), 4);
  h.type("<Ctrl-PgUp><Up><Enter>");
  b.run();
  EXPECT_EQ(b.row_bookmark(), 0);
  EXPECT_EQ(h.text(4, 0, 2), "R1");
}

TEST_F(BrowserTest, BlankRowAfterTheLastForANewEntry) {
  Browser b = make({2, 0, 7, 30});
  b.blank_row = true;
  h.type("<Ctrl-PgDn><Down><Down><Enter>");
  b.run();
  EXPECT_TRUE(b.on_blank_row());
  EXPECT_EQ(h.text(7, 0, 4), "    ");
  EXPECT_EQ(h.text(6, 0, 3), "R10");
  h.type("<Up><Enter>");
  b.run();
  EXPECT_FALSE(b.on_blank_row());
  EXPECT_EQ(b.row_bookmark(), 9);

  ArraySource none{{}};
  Browser e(h.screen, {10, 0, 14, 30}, none);
  e.blank_row = true;
  e.columns = {{"X", 3, "", [&] { return none.cell(0); }}};
  e.refresh();
  h.type("<Down><Up><PgDn><Enter>");
  e.run();
  EXPECT_TRUE(e.empty());
  EXPECT_TRUE(e.on_blank_row());
}

TEST_F(BrowserTest, FrozenColumnsStayWhilePanning) {
  Browser b = make({2, 0, 7, 16});  // room for "Nome" and one more column
  b.frozen = 1;
  h.type("<Right><Right><Enter>");
  b.run();
  EXPECT_EQ(b.column(), 2);
  EXPECT_EQ(h.text(2, 0, 8), "Nome Obs");
  EXPECT_EQ(h.attr(3 + 1, 5), 0x4F);  // "c1" of the first row is the current cell
  h.type("<Ctrl-Home><Enter>");
  b.run();
  EXPECT_EQ(h.text(2, 0, 10), "Nome Valor");
}

TEST_F(BrowserTest, PositionsOnACellAndPassesOtherKeys) {
  Browser b = make({2, 0, 7, 30});
  ASSERT_TRUE(b.position(7, 1));
  std::vector<int> keys;
  b.on_key = [&](int k, Browser& br) {
    keys.push_back(k);
    return k == key::f(2) && br.row_bookmark() == 7;
  };
  h.type("x<Enter><F2>");
  EXPECT_EQ(b.run(), key::f(2));
  EXPECT_EQ(keys, (std::vector<int>{'x', key::kEnter, key::f(2)}));
  EXPECT_EQ(b.column(), 1);
  EXPECT_FALSE(b.position(42, 0));
  h.type("<Click 4,8><Enter>");  // second data row, second column
  b.on_key = {};
  b.run();
  EXPECT_EQ(b.column(), 1);
}

}  // namespace
}  // namespace kx::ui

namespace kx::ui {
namespace {

TEST(ReadModal, AValidationPassReadsAFailingFieldAgain) {
  ScreenHarness h;
  Value a = std::string(2, ' '), b = std::string(2, ' ');
  Form form(h.frame);
  form.add({2, 5, &a, "", {}, {}});
  form.add({3, 5, &b, "", {}, [&] { return std::get<std::string>(b) != "  "; }});
  h.frame.nsValidRead = 1;
  // PgDn on the first field ends the read before the second was ever validated; the pass finds
  // it invalid and reads it again.
  h.type("<PgDn>ok");
  EXPECT_EQ(LREADMODAL(h.frame, form), key::kEnter);
  EXPECT_EQ(std::get<std::string>(b), "ok");
  EXPECT_EQ(h.attr(2, 5), 0x70 + 0x80);  // "N/W*": the dialogs' field colour
  h.frame.nsValidRead = 2;
  b = std::string(2, ' ');
  h.type("<PgDn>");
  EXPECT_EQ(LREADMODAL(h.frame, form), key::kPgDn);  // no pass
}

TEST(ReadModal, AnUpperCaseWindowReadsCharacterFieldsWithoutAMaskInCapitals) {
  ScreenHarness h;
  Value plain = std::string(3, ' '), masked = std::string(3, ' '), shown = std::string("abc");
  Form form(h.frame);
  form.add({2, 5, &plain, "", {}, {}});
  form.add({3, 5, &masked, "XXX", {}, {}});
  form.add({4, 5, &shown, "", {}, {}});
  LDialog& d = h.frame.LDLGSHOW(1, 1, 10, 40, "Nomes");
  d.lGetUpperCase = true;
  // Each field ends when typing runs past its last position.
  h.type("ção" "xyz" "<Enter>");
  LREADMODAL(h.frame, form);
  EXPECT_EQ(cp850::to_utf8(std::get<std::string>(plain)), "ÇÃO");
  EXPECT_EQ(std::get<std::string>(masked), "xyz");  // a mask of its own is kept
  EXPECT_EQ(std::get<std::string>(shown), "ABC");   // the value it had is read back in capitals
  EXPECT_EQ(h.text(4, 5, 3), "ABC");

  // A window without the flag reads as typed.
  d.close();
  Value other = std::string(2, ' ');
  Form lower(h.frame);
  lower.add({2, 5, &other, "", {}, {}});
  h.frame.LDLGSHOW(1, 1, 10, 40, "Outra");
  h.type("ab");
  LREADMODAL(h.frame, lower);
  EXPECT_EQ(std::get<std::string>(other), "ab");
}

}  // namespace
}  // namespace kx::ui
