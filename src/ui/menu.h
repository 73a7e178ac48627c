// The menu bar of a window: items numbered from 1001 in the order of creation (submenus too),
// submenus, separators, disabled items and "&" hot keys; pull-down menus driven by the keyboard
// and the mouse.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kx::ui {

class LDialog;
class LMenu;
class Screen;
struct LMenuItem;

using MenuAction = std::function<void(LMenuItem&, LDialog&)>;

struct LMenuItem {
  LMenu* oParent = nullptr;
  int nSequence = 0;       // the command number
  std::string cPrompt;     // CP850, "&" before the hot-key letter
  MenuAction bAction;      // empty for a submenu or an item without action
  std::vector<std::unique_ptr<LMenuItem>> items;  // the submenu's items
  bool submenu = false;
  bool lSeparator = false;  // a separator line follows the item
  bool enabled = true;
  int cargo = 0;

  void enable() { enabled = true; }
  void disable() { enabled = false; }
  bool lSubMenu() const { return submenu; }
  bool lEnable() const { return enabled; }
  // The caption without "&", and its hot-key letter (upper case; 0 for none).
  std::string caption() const;
  char hot_key() const;
};

class LMenu {
 public:
  static constexpr unsigned char kBarAttr = 0x70, kHotAttr = 0x74, kSelectedAttr = 0x1F,
                                 kSelectedHotAttr = 0x1E, kDisabledAttr = 0x78;

  explicit LMenu(LDialog& window) : oParent(window) {}

  LMenuItem& subMenu(std::string caption);
  LMenuItem& menuItem(std::string caption, MenuAction action = {}, bool enabled = true);
  void endMenu();
  void separator();
  // Ends the building and shows the bar.
  void create();
  bool created() const { return created_; }

  LDialog& window() { return oParent; }
  const std::vector<std::unique_ptr<LMenuItem>>& aItem() const { return items_; }
  int nCount = 1000;
  // The item with command number `id`, submenus searched depth first; nullptr if none.
  LMenuItem* find(int id);

  // The bar on the menu row.
  void draw(Screen& screen) const;
  // Which top-level item a click on column `col` of the bar hits (-1: none).
  int bar_item_at(int col) const;
  // The top-level item whose hot key is `letter` (-1: none).
  int bar_item_for(char letter) const;
  // Runs the pull-down menus from top-level item `index` until an item is chosen (its command
  // number) or the menus are left (0).
  int pull_down(Screen& screen, int index);

 private:
  std::vector<std::unique_ptr<LMenuItem>>& level();
  int bar_left(int index) const;

  LDialog& oParent;
  std::vector<std::unique_ptr<LMenuItem>> items_;
  std::vector<LMenuItem*> open_;  // the submenus being built
  bool created_ = false;
};

}  // namespace kx::ui
