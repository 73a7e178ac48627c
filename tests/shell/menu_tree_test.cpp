#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/cp850.h"
#include "menu_fixture.h"
#include "shell/menu_tree.h"
#include "ui/keys.h"

namespace kx::shell {
namespace {

// What an item of the bar did.
struct Dispatch {
  char kind;  // 'M' MENUSELECT, 'C' colour editor, 'T' password toggle, 'A' password change
  int code, argument;
  friend bool operator==(const Dispatch&, const Dispatch&) = default;
};
std::ostream& operator<<(std::ostream& os, const Dispatch& d) {
  return os << d.kind << " " << d.code << "," << d.argument;
}

struct Leaf {
  std::string label;
  Dispatch expected;
};

// The items the table says the bar has, in order, with what each must do.
std::vector<Leaf> leaves_of_table(const MenuLabels& labels) {
  std::vector<Leaf> out;
  for (const MenuEntry& e : main_menu_tree()) {
    switch (e.node) {
      case MenuNode::kCommand:
        if (!menu_label(e, labels).empty()) out.push_back({menu_label(e, labels), {'M', e.code, e.argument}});
        break;
      case MenuNode::kColour: out.push_back({std::string(e.text), {'C', 0, e.argument}}); break;
      case MenuNode::kPasswordToggle: out.push_back({menu_label(e, labels), {'T', 0, 0}}); break;
      case MenuNode::kPasswordChange: out.push_back({std::string(e.text), {'A', 0, 0}}); break;
      default: break;
    }
  }
  return out;
}

// The keys that choose an item of the built bar: Alt + the menu's hot key, then at each level
// as many Down as there are selectable items before it and Enter.
struct Path {
  std::string label;
  std::string keys;
};
void paths(const std::vector<std::unique_ptr<ui::LMenuItem>>& items, const std::string& prefix,
           std::vector<Path>& out) {
  int selectable = 0;
  for (const auto& it : items) {
    if (!it->enabled) continue;
    std::string keys = prefix;
    for (int i = 0; i < selectable; ++i) keys += "<Down>";
    keys += "<Enter>";
    if (it->submenu) paths(it->items, keys, out);
    else out.push_back({it->cPrompt, keys});
    ++selectable;
  }
}

class MenuTree : public ::testing::TestWithParam<MenuLabels> {};

TEST_P(MenuTree, EveryItemChosenThroughTheBarDoesWhatTheTableSays) {
  testing::MenuFixture f;
  std::vector<Dispatch> done;
  MenuHandlers handlers{
      [&](int code, int argument) { done.push_back({'M', code, argument}); },
      [&](int part) { done.push_back({'C', 0, part}); },
      [&] { done.push_back({'T', 0, 0}); },
      [&] { done.push_back({'A', 0, 0}); },
  };
  const MenuLabels& labels = GetParam();
  MENUCOMMAND(f.h.frame.LWINDOWMAIN(), 0, labels, handlers);

  std::vector<Path> built;
  for (const auto& top : f.h.frame.LWINDOWMAIN().oMenu->aItem()) {
    std::string alt = "<Alt-" + std::string(1, top->hot_key()) + ">";
    if (top->submenu) paths(top->items, alt, built);
    else built.push_back({top->cPrompt, alt});
  }
  const std::vector<Leaf> table = leaves_of_table(labels);
  ASSERT_EQ(built.size(), table.size());
  for (std::size_t i = 0; i < table.size(); ++i) {
    SCOPED_TRACE(cp850::to_utf8(table[i].label) + " via " + built[i].keys);
    EXPECT_EQ(cp850::to_utf8(built[i].label), cp850::to_utf8(table[i].label));
    done.clear();
    f.choose(built[i].keys);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0], table[i].expected);
  }
}

INSTANTIATE_TEST_SUITE_P(Labels, MenuTree,
                         ::testing::Values(MenuLabels{false, 15, "A", "NAO DOS", "6-Configura NAO DOS", "7- Nro de Vias 1"},
                                           MenuLabels{true, 5, "D", "EPSON LX", "6-x", "&7-Vias 3"}));

TEST(MenuTreeLabels, SettingsShowInTheLabelsOfTheMoment) {
  testing::MenuFixture f;
  MenuHandlers nothing{[](int, int) {}, [](int) {}, [] {}, [] {}};
  MenuLabels labels{true, 5, "D", "EPSON LX", "6-Configura NAO DOS", "&7-Vias 3"};
  MENUCOMMAND(f.h.frame.LWINDOWMAIN(), 0, labels, nothing);
  std::vector<std::string> prompts;
  std::function<void(const std::vector<std::unique_ptr<ui::LMenuItem>>&)> walk = [&](const auto& items) {
    for (const auto& it : items) {
      prompts.push_back(cp850::to_utf8(it->cPrompt));
      walk(it->items);
    }
  };
  walk(f.h.frame.LWINDOWMAIN().oMenu->aItem());
  for (const char* expected : {"Retira a senha na entrada", "&Automático a cada  5 minutos",
                               "Compacta todos no D:", "Descompacta todos do D:", "EPSON LX",
                               "Porta de saida ", "6-Configura NAO DOS", "&7-Vias 3"}) {
    EXPECT_NE(std::find(prompts.begin(), prompts.end(), expected), prompts.end()) << expected;
  }
  // Without a printer of its own the port item is not there.
  labels.NOMEIMP = "NAO DOS";
  labels.QUERSEN = false;
  MENUCOMMAND(f.h.frame.LWINDOWMAIN(), 0, labels, nothing);
  prompts.clear();
  walk(f.h.frame.LWINDOWMAIN().oMenu->aItem());
  EXPECT_EQ(std::find(prompts.begin(), prompts.end(), "Porta de saida "), prompts.end());
  EXPECT_NE(std::find(prompts.begin(), prompts.end(), "Coloca a senha na entrada"), prompts.end());
}

TEST(MenuTreeLabels, HeadingsAreShownButNeverChosen) {
  testing::MenuFixture f;
  int chosen = 0;
  MenuHandlers count{[&](int, int) { ++chosen; }, [&](int) { ++chosen; }, [&] { ++chosen; }, [&] { ++chosen; }};
  MENUCOMMAND(f.h.frame.LWINDOWMAIN(), 0, {}, count);
  ui::LMenu& bar = *f.h.frame.LWINDOWMAIN().oMenu;
  int headings = 0;
  for (int id = 1001; id <= bar.nCount; ++id) {
    ui::LMenuItem* item = bar.find(id);
    if (item->submenu || item->enabled) continue;
    ++headings;
    f.choose("<Menu " + std::to_string(id) + ">");
  }
  EXPECT_EQ(headings, std::count_if(main_menu_tree().begin(), main_menu_tree().end(),
                                    [](const MenuEntry& e) { return e.node == MenuNode::kHeading; }));
  EXPECT_EQ(chosen, 0);
}

TEST(MenuTreeLabels, MenuCommandOneGivesAnEmptyBar) {
  testing::MenuFixture f;
  MENUCOMMAND(f.h.frame.LWINDOWMAIN(), 1, {}, {});
  EXPECT_TRUE(f.h.frame.LWINDOWMAIN().oMenu->aItem().empty());
  EXPECT_TRUE(f.h.frame.LWINDOWMAIN().oMenu->created());
}

}  // namespace
}  // namespace kx::shell
