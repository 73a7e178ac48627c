// The declaration's menu bar: every item with its label, the shortcut key it shows, its
// status-line text and its code, and the dispatcher that turns a chosen code into a screen to
// show, a message or the leaving of the declaration.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/frame.h"

namespace kx::declaration {

// Items shown only with dependants registered, only without, or always.
enum class ForDependants { kAlways, kWith, kWithout };

struct EditorMenuItem {
  std::string_view menu;      // CP850 label of the top-level menu, "&" before its hot key
  std::string_view label;     // CP850 label of the item
  std::string_view shortcut;  // key name shown beside the label ("" for none)
  std::string_view status;    // CP850 status-line text
  int code;
  bool separator_after = false;
  ForDependants shown = ForDependants::kAlways;
};

// The whole menu bar, menus in the order of the bar, items in the order of their menu.
std::span<const EditorMenuItem> editor_menu_items();
// The item of `code` (the variant with dependants for the capital-gain items); nullptr if none.
const EditorMenuItem* editor_menu_item(int code);
// The top-level labels in bar order.
std::vector<std::string_view> editor_menus();

// Builds the bar on `window` (CREATEMAINMENU): each item's cargo is its code, its caption the
// label followed by the shortcut, and choosing it calls `choose(code)`.
ui::LMenu& create_editor_menu(ui::LDialog& window, bool with_dependants,
                              const std::function<void(int)>& choose);

// What the declaration looks like to the dispatcher.
struct MenuFlags {
  bool dependants = false;
  bool rural = false;        // TEMRURAL "S"
  bool abroad = false;       // ATV_BRASIL "N"
  bool standard = false;     // USAPADRAO "S"
  bool final_estate = false; // DECFINAL "S"
  bool departure = false;    // DECSAIDA "S"
};

// What choosing an item does (MENU2SELECT).
struct MenuDecision {
  int screen = 0;                      // 0: no screen
  int sub = 0;                         // sub-screen, the chosen code
  std::vector<std::string> message;    // CP850 lines of a message box; empty for none
  int leave = 0;                       // the code for SAI_DA_DEC; 0 for none
  bool help = false;                   // 121, 122
  bool drop_spouse = false;            // 56 on a final declaration of an estate
  std::string I1_1, I1_11;             // "" when unchanged
  int TIPO_BEM = 0;                    // 0 when unchanged
  std::string DAY_TRADE;               // "" when unchanged
  bool debt_half = false;              // screens 22, 23: the debt half or debts only
};

MenuDecision menu2select(int code, const MenuFlags& flags);

}  // namespace kx::declaration
