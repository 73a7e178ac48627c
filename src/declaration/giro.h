// The order of the declaration's screens: which screen follows the one just ended, by the key
// that ended it.
//
// Screens: 1 income from legal entities, 2 from individuals, 3 exempt (sub-screen 31) and
// exclusively taxed income (32), 4 dependants (41), alimony (42), payments (43), direct
// donations (44), heirs (45), 5 assets and debts, 6 identification, 7 tax computation,
// 8 capital gains, 9 variable income, 10 balance, 11 notes, 12..17 rural activity, 22 the
// asset/debt zoom, 23 assets only / debts only.
#pragma once

#include <string>

namespace kx::declaration {

// A screen, its sub-screen (the menu code) and, on 22 and 23, which half is shown.
struct Place {
  int screen = 0;  // 0: back to the menu bar
  int sub = 0;
  bool debt_half = false;

  bool operator==(const Place&) const = default;
};

struct GiroFlags {
  bool rural = false;       // TEMRURAL "S": screens 12..17 exist
  bool abroad = false;      // ATV_BRASIL "N": screen 13 is skipped
  bool first_pass = false;  // a new taxpayer not yet past the identification screen
};

// The sub-screen a screen is entered at when nothing else says (F-keys, plain moves).
int default_sub(int screen);
// The last screen of the sequence: 17 with rural activity, else 11.
int last_screen(const GiroFlags& flags);
// The place GIRO shows for `p`: 18 becomes 12, a screen beyond the last ends the sequence
// (the zoom screens 22 and 23 excepted).
Place normalise(Place p, const GiroFlags& flags);
// The place after `from` was ended by `key` (xBase key number); screen 0 ends the sequence.
Place next_place(const Place& from, int key, const GiroFlags& flags);

// The top line of every screen.
std::string index_line();

}  // namespace kx::declaration
