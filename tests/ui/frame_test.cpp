#include "ui/frame.h"

#include <gtest/gtest.h>

#include "base/cp850.h"
#include "ui/entry_field.h"
#include "ui/harness.h"
#include "ui/keys.h"

namespace kx::ui {
namespace {

std::string cp(const char* utf8) { return cp850::from_utf8(utf8); }

class FrameTest : public ::testing::Test {
 protected:
  ScreenHarness h;
  Frame& f = h.frame;
  std::vector<int> ran;

  MenuAction record() {
    return [this](LMenuItem& item, LDialog&) { ran.push_back(item.nSequence); };
  }
  // Two submenus of three items, then a top-level item.
  LMenu& build_menu() {
    LMenu& m = f.LWINDOWMAIN().menu();
    m.subMenu(cp("&Declaração"));             // 1001
    m.menuItem("&Abre", record());             // 1002
    m.menuItem(cp("&Lançamentos"), record());  // 1003
    m.separator();
    m.menuItem(cp("&Conferência"), record(), false);  // 1004, disabled
    m.endMenu();
    m.subMenu(cp("&Opções"));                  // 1005
    m.menuItem("&Local", record());            // 1006
    m.subMenu("&Senha");                       // 1007
    m.menuItem("Coloca", record());            // 1008
    m.endMenu();
    m.menuItem(cp("&Sem ação"));               // 1009, no action
    m.endMenu();
    m.menuItem("&Fim", record());              // 1010
    m.create();
    return m;
  }
  std::string screen_text() {
    std::string all;
    for (int r = -1; r <= kRows; ++r) all += h.row_text(r) + "\n";
    return all;
  }
};

TEST_F(FrameTest, MenuItemsAreNumberedFrom1001InOrderOfCreation) {
  LMenu& m = f.LWINDOWMAIN().menu();
  m.subMenu("A");
  for (int i = 0; i < 3; ++i) m.menuItem("x", record());
  m.endMenu();
  m.subMenu("B");
  for (int i = 0; i < 3; ++i) m.menuItem("y", record());
  m.endMenu();
  LMenuItem& last = m.menuItem("C", record());
  m.create();
  EXPECT_EQ(m.aItem()[0]->nSequence, 1001);
  EXPECT_EQ(m.aItem()[0]->items[2]->nSequence, 1004);
  EXPECT_EQ(m.aItem()[1]->nSequence, 1005);
  EXPECT_EQ(m.aItem()[1]->items[0]->nSequence, 1006);
  EXPECT_EQ(last.nSequence, 1009);
  EXPECT_EQ(m.find(1007)->cPrompt, "y");
  EXPECT_TRUE(m.find(1005)->lSubMenu());
}

TEST_F(FrameTest, MenuBarShowsCaptionsAndHotKeys) {
  build_menu();
  EXPECT_EQ(h.text(kMenuRow, 0, 28), "  Declaração  Opções  Fim   ");
  EXPECT_EQ(h.attr(kMenuRow, 2), LMenu::kHotAttr);
  EXPECT_EQ(h.attr(kMenuRow, 3), LMenu::kBarAttr);
}

TEST_F(FrameTest, MenuCommandsRunTheirItemsOrReportWhatIsWrong) {
  std::vector<std::string> boxes;
  h.terminal.on_key = [&](const Event&) { boxes.push_back(screen_text()); };
  h.type("<Menu 1003><Menu 1005><Menu 1009><Enter><Menu 1010><Menu 1004><Menu 2001><Menu 5><Enter><Esc>");
  build_menu();
  f.LACTIVATE();
  // 1003 and 1010 run; 1005 is a submenu, 1004 disabled, 2001 a toolbar command; 1009 has no
  // action and 5 is no command: both are reported.
  EXPECT_EQ(ran, (std::vector<int>{1003, 1010}));
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_NE(boxes[0].find("Error!! Action is not defined in menuItem"), std::string::npos);
  EXPECT_NE(boxes[1].find("nMenuChecker, nEvent: 5 nkey: 0 LASTKEY: 0"), std::string::npos);
  EXPECT_TRUE(h.terminal.script_done());
}

TEST_F(FrameTest, MisuseIsReportedInAMessageBox) {
  std::string shown;
  h.terminal.on_key = [&](const Event&) { shown = screen_text(); };
  h.type("<Enter>");
  f.menu_event(1001);  // no menu at all
  EXPECT_NE(shown.find("Erro interno. Nao foi encontrado um menu ativo (LMenuActivate)"), std::string::npos);
  h.type("<Enter>");
  f.menu_event(77);
  EXPECT_NE(shown.find("nMenuChecker, nEvent: 77 nkey: 0 LASTKEY: 0"), std::string::npos);
}

TEST_F(FrameTest, PullDownMenusByKeyboardAndMouse) {
  build_menu();
  // Alt-D opens "Declaração"; Down skips nothing (Lançamentos), Enter runs it.
  h.type("<Alt-D><Down><Enter>");
  // A click on "Opções", Down to "Senha", Right opens it, Enter runs "Coloca".
  h.type("<Click -1,14><Down><Right><Enter>");
  // Hot letters inside a pull-down; the disabled item cannot be chosen; Esc leaves.
  h.type("<Alt-D>c<Esc>");
  // Left and Right move between the menus; a click on the top-level item runs it.
  h.type("<Alt-O><Left><Left><Enter><Click -1,22>");
  h.type("<Esc>");
  f.LACTIVATE();
  EXPECT_EQ(ran, (std::vector<int>{1003, 1008, 1010, 1010}));
  EXPECT_EQ(h.screen.layer_count(), 0);
  EXPECT_EQ(h.text(kMenuRow, 0, 14), "  Declaração  ");  // no item left highlighted
  EXPECT_EQ(h.attr(kMenuRow, 3), LMenu::kBarAttr);
}

TEST_F(FrameTest, DisabledItemsAreShownGreyAndSkipped) {
  build_menu();
  h.type("<Alt-D><Down><Down>");
  std::string shown;
  unsigned char disabled = 0;
  h.terminal.on_key = [&](const Event& e) {
    if (e.code != key::kEnter) return;
    shown = screen_text();
    disabled = h.attr(4, 3);  // Conferência, after the separator line
  };
  h.type("<Enter><Esc>");
  f.LACTIVATE();
  EXPECT_NE(shown.find("├"), std::string::npos);
  EXPECT_EQ(disabled, LMenu::kDisabledAttr);
  EXPECT_EQ(ran, (std::vector<int>{1002}));  // Down wrapped past the disabled item to the first
}

TEST_F(FrameTest, DialogsStackAndCloseOnlyWhenActive) {
  h.screen.write(5, 5, "main", 0x07);
  LDialog& a = f.LDLGSHOW(4, 4, 10, 30, "Primeira");
  EXPECT_EQ(h.text(3, 5, 8), "Primeira");
  EXPECT_EQ(h.attr(5, 5), 0x70);  // "N/W"
  h.screen.write(5, 5, "dlg1", 0x70);
  LDialog& b = f.LDLGSHOW(6, 6, 8, 20, "Segunda");
  EXPECT_EQ(f.LWindowActive(), &b);
  EXPECT_EQ(&f.LWindowLast(), &b);

  std::string shown;
  h.terminal.on_key = [&](const Event&) { shown = screen_text(); };
  h.type("<Enter>");
  a.close();  // not the active window
  EXPECT_NE(shown.find(":close() window ignored. :nHandle not active."), std::string::npos);
  EXPECT_FALSE(a.lClosed);
  b.reading = 1;
  h.type("<Enter>");
  b.close();
  EXPECT_NE(shown.find(":close() window ignored. Gets actives, uses :end() or :cancel()."), std::string::npos);
  b.reading = 0;
  b.close();
  EXPECT_EQ(f.LWindowActive(), &a);
  f.LDLGCLOSE();
  EXPECT_EQ(f.window_count(), 1);
  EXPECT_EQ(h.text(5, 5, 4), "main");
  h.type("<Enter>");
  f.LWINDOWMAIN().close();  // the main window stays
  EXPECT_NE(shown.find(":close() window ignored. nWnd invalid 0"), std::string::npos);
}

TEST_F(FrameTest, ClosingPutsBackKeysCursorAndFocus) {
  int calls = 0;
  f.keys().set(key::f(2), [&] { ++calls; });
  h.screen.show_cursor(true);
  LDialog& d = f.LDLGSHOW(2, 2, 5, 40, "D");
  d.setKey(key::f(2), {});  // freed while the dialog is open
  d.setKey(key::f(3), [&] { d.end(7); });
  h.screen.show_cursor(false);
  h.type("<F2><F3>");
  d.activate();
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(d.nExit, 2);
  EXPECT_EQ(d.nEnd, 7);
  d.close();
  EXPECT_TRUE(h.cursor_visible());
  h.type("<F2><Esc>");
  f.LACTIVATE();
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(f.keys().find(key::f(3)), nullptr);
}

TEST_F(FrameTest, StatusBarPartsRefreshEverySecond) {
  int counter = 0;
  LStatusBar& bar = f.LSBDRAW({"Pasta: /dados", "Terminal 01"});
  bar.partAdd([&] { return "t" + std::to_string(++counter); }, 4);
  bar.draw();
  EXPECT_EQ(h.text(kStatusRow, 0, 30), "Pasta: /dados│Terminal 01│t1  ");
  std::get<std::string>(bar.parts()[0].uText) = "Pasta: /outra";  // changed without setText
  h.type("<Wait 1000>");
  std::string before_tick = h.text(kStatusRow, 0, 13);
  h.type("<Esc>");
  f.LACTIVATE();
  EXPECT_EQ(before_tick, "Pasta: /dados");
  EXPECT_EQ(h.text(kStatusRow, 0, 30), "Pasta: /outra│Terminal 01│t2  ");
  bar.setText(1, "Terminal 02");
  EXPECT_EQ(h.text(kStatusRow, 14, 11), "Terminal 02");
  // A dialog's empty status bar hides the main one while it is open.
  LDialog& d = f.LDLGSHOW(3, 3, 6, 30, "x");
  d.sbDraw({});
  EXPECT_EQ(h.text(kStatusRow, 0, 13), std::string(13, ' '));
  d.close();
  EXPECT_EQ(h.text(kStatusRow, 0, 13), "Pasta: /outra");
}

TEST_F(FrameTest, ClipboardPastesBrazilianNumbersAndCutsText) {
  Value amount = Decimal::raw(0, 2);
  Value name = std::string(5, ' ');
  EntryField number_field(h.screen, 3, 3, amount, "@E 999,999.99", 0x70, 0x1F);
  EntryField text_field(h.screen, 4, 3, name, "", 0x70, 0x1F);

  h.terminal.system_clipboard() = cp850::from_utf8("1.234,56");
  h.type("<Alt-V><Enter>");
  number_field.read(&f.keys(), &f);
  EXPECT_EQ(std::get<Decimal>(amount), Decimal::raw(123456, 2));
  EXPECT_EQ(h.text(3, 3, 10), "  1.234,56");

  h.terminal.system_clipboard() = "abcdefgh";
  h.type("<Alt-V><Enter>");
  text_field.read(&f.keys(), &f);
  EXPECT_EQ(std::get<std::string>(name), "abcde");

  h.terminal.system_clipboard().reset();  // no system clipboard: the program's own buffer
  h.type("<Ctrl-C><Enter>");
  number_field.read(&f.keys(), &f);
  EXPECT_EQ(f.clipboard_text(), "1.234,56");
  f.LSETCLIPBOARD(Value(std::string("xyz  ")));
  EXPECT_EQ(f.clipboard_text(), "xyz");
  f.LPASTECLIPBOARD();
  EXPECT_EQ(h.screen.wait_key(), 'x');
}

}  // namespace
}  // namespace kx::ui

namespace kx::ui {
namespace {

TEST(FrameSetUp, PaletteCursorAndGrid) {
  ScreenHarness h;
  const auto& palette = h.terminal.palette();
  ASSERT_EQ(palette.size(), 5u);
  EXPECT_EQ(palette.at(4).r, 255);    // red
  EXPECT_EQ(palette.at(12).r, 255);   // bright red
  EXPECT_EQ(palette.at(7).g, 235);    // white
  EXPECT_EQ(palette.at(9).b, 165);    // bright blue
  EXPECT_FALSE(h.cursor_visible());
  EXPECT_EQ(h.attr(12, 40), 0x70);    // cleared in "N/W"
}

TEST(FrameLoop, EndAndCancelStopTheEventLoop) {
  ScreenHarness h;
  LDialog& d = h.frame.LDLGSHOW(5, 5, 10, 40, "Loop");
  d.setKey(key::f(4), [&] { h.frame.LDLGEND(); });
  d.setKey(key::f(5), [&] { d.cancel(); });
  h.type("<F4>");
  h.frame.LACTIVATE();
  EXPECT_EQ(d.nExit, 2);
  EXPECT_EQ(d.nEnd, 0);
  h.type("<F5>");
  h.frame.LACTIVATE(false);
  EXPECT_EQ(d.nExit, 1);
  h.type("<Esc><F4>");  // Esc does not end a loop started with exitOnEsc false
  h.frame.LACTIVATE(false);
  EXPECT_TRUE(h.terminal.script_done());
  d.close();
}

}  // namespace
}  // namespace kx::ui
