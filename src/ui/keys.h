// Key numbers as the program's screens use them (the xBase numbering), and the names that key
// scripts and docs/keys.md give them.
//
// Control letters that share their xBase number with a cursor key (Ctrl-C = PgDn = 3, Ctrl-S =
// Left = 19, ...) are distinct keys in a terminal, so they get numbers of their own: ctrl('C').
// Ctrl-H, Ctrl-I, Ctrl-M and Ctrl-[ are the same bytes as BS, Tab, Enter and Esc in a terminal and
// arrive as those keys; Ctrl-J arrives as Ctrl-Enter (10).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kx::ui::key {

inline constexpr int kHome = 1, kCtrlRight = 2, kPgDn = 3, kRight = 4, kUp = 5, kEnd = 6,
                     kDel = 7, kBackspace = 8, kTab = 9, kCtrlEnter = 10, kEnter = 13,
                     kPgUp = 18, kLeft = 19, kIns = 22, kCtrlEnd = 23, kDown = 24,
                     kCtrlLeft = 26, kEsc = 27, kCtrlHome = 29, kCtrlPgDn = 30, kCtrlPgUp = 31,
                     kCtrlBackspace = 127, kShiftTab = 271;

// F1 = 28, F2..F10 = -1..-9, F11 = -40, F12 = -41.
constexpr int f(int n) { return n == 1 ? 28 : n <= 10 ? 1 - n : n == 11 ? -40 : -41; }
// Shift-F1..F10 = -10..-19, F11/F12 = -42/-43.
constexpr int shift_f(int n) { return n <= 10 ? -9 - n : n == 11 ? -42 : -43; }
// Ctrl-F1..F10 = -20..-29, F11/F12 = -44/-45.
constexpr int ctrl_f(int n) { return n <= 10 ? -19 - n : n == 11 ? -44 : -45; }
// Alt-F1..F10 = -30..-39, F11/F12 = -46/-47.
constexpr int alt_f(int n) { return n <= 10 ? -29 - n : n == 11 ? -46 : -47; }

// Alt-letters: the xBase numbers follow the keyboard rows (Alt-Q = 272, Alt-W = 273, Alt-A = 286,
// Alt-Z = 300, ...). Alt-digits: Alt-1 = 376 .. Alt-9 = 384, Alt-0 = 385. 0 for other characters.
int alt(char letter_or_digit);
// The letter or digit of an Alt key number; 0 when `code` is not one.
char alt_letter(int code);

// Control letters that collide with cursor keys get 600 + letter number (Ctrl-A = 601 ..
// Ctrl-Z = 626); the others keep their control code (Ctrl-J = 10, Ctrl-Q = 17).
constexpr bool ctrl_collides(char letter) {
  switch (letter) {
    case 'A': case 'B': case 'C': case 'D': case 'E': case 'F': case 'G': case 'R': case 'S':
    case 'V': case 'W': case 'X': case 'Z':
      return true;
    default:
      return false;
  }
}
constexpr int ctrl(char letter) {
  return ctrl_collides(letter) ? 600 + (letter - 'A' + 1) : letter - 'A' + 1;
}
inline constexpr int kCopy = ctrl('C');   // copies the field being edited
inline constexpr int kPaste = 303;        // Alt-V pastes into the field being edited

// The printable CP850 character of a key, or 0 (codes 32..255 except the Alt range).
unsigned char character(int code);

// Script and documentation names: "F1", "Enter", "Alt-W", "Ctrl-C", "Shift-Tab", "PgDn", ...
// name() of a printable character is the character itself.
std::string name(int code);
// The code of a name (case-insensitive); nullopt when unknown.
std::optional<int> from_name(std::string_view name);

}  // namespace kx::ui::key
