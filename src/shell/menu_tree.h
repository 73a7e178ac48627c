// The main menu bar: its tree as one table (labels, "&" hot keys, separators, submenus,
// headings, command codes and arguments), and the building of the bar from it.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "ui/frame.h"

namespace kx::shell {

enum class MenuNode {
  kMenu,            // a submenu; the entries up to its kEnd are its items
  kEnd,             // closes the submenu opened last
  kCommand,         // an item that runs MENUSELECT(code, argument)
  kHeading,         // a title line inside a submenu: shown, never chosen
  kSeparator,       // a line after the item before it
  kColour,          // the colour editor, part `argument`
  kPasswordToggle,  // "Coloca"/"Retira" + " a senha na entrada"
  kPasswordChange,  // "Altera a senha atual"
};

// What a label shows besides its fixed text: the label is text + the value + suffix.
enum class MenuValue {
  kNone,
  kPasswordVerb,  // "Coloca" when QUERSEN is false, "Retira" when true
  kSaveMinutes,   // STR(TEMP_SAL, 2)
  kBackupDrive,   // XDRIVE + ":"
  kPrinter,       // NOMEIMP
  kPortItem,      // fixed text, shown only when the printer is not "NAO DOS"
  kItem6,         // ITEM6
  kItem7,         // ITEM7
};

struct MenuEntry {
  MenuNode node;
  std::string_view text = {};  // CP850
  int code = 0;
  int argument = 0;
  MenuValue value = MenuValue::kNone;
  std::string_view suffix = {};
};

// The whole tree, top-level menus in bar order.
std::span<const MenuEntry> main_menu_tree();

// The settings shown in labels, as they are when the bar is built.
struct MenuLabels {
  bool QUERSEN = false;
  int TEMP_SAL = 15;
  std::string XDRIVE = "A";
  std::string NOMEIMP;
  std::string ITEM6, ITEM7;
  friend bool operator==(const MenuLabels&, const MenuLabels&) = default;
};

// xBase STR(n, width): right-aligned, all "*" when it does not fit.
std::string STR(int n, int width);

// The label of `e` with the settings of `labels`; empty for an entry not shown.
std::string menu_label(const MenuEntry& e, const MenuLabels& labels);

// What the items do.
struct MenuHandlers {
  std::function<void(int code, int argument)> select;
  std::function<void(int part)> colour;
  std::function<void()> password_toggle;
  std::function<void()> password_change;
};

// MENUCOMMAND: a new menu bar for `window`, the whole tree for any n but 1, an empty bar for 1.
void MENUCOMMAND(ui::LDialog& window, int n, const MenuLabels& labels, const MenuHandlers& handlers);

}  // namespace kx::shell
