#include "declaration/giro.h"

#include "ui/keys.h"

namespace kx::declaration {
namespace {

namespace key = ui::key;

Place at(int screen) { return {screen, default_sub(screen)}; }
constexpr Place kEnd{};

// The screen after / before `screen` in the plain order, screen 13 skipped when abroad.
int step(int screen, int by, const GiroFlags& f) {
  int n = screen + by;
  if (n == 13 && f.abroad) n += by;
  return n;
}

// Enter and the keys without a rule of their own share what they do on screen 3.
Place on_exempt(const Place& from) { return from.sub == 31 ? Place{3, 32} : at(4); }

Place forward(const Place& from, const GiroFlags& f) {
  if (f.first_pass && from.screen == 6) return at(1);
  switch (from.screen) {
    case 3: return on_exempt(from);
    case 4:
      if (from.sub == 41 || from.sub == 42) return {4, from.sub + 1};
      return at(5);
    case 7: return at(10);
    case 8: case 9: return at(7);
    case 10: return at(11);
    case 11: return kEnd;
    case 17: return at(12);
    case 22:
      if ((from.sub == 51 || from.sub == 52) && !from.debt_half) return {22, 55, true};
      if (from.sub == 54) return {22, 55, true};
      return at(6);
    case 23:
      if (from.sub == 51 || from.sub == 52) return {23, 53, true};
      return at(6);
    default: return at(step(from.screen, 1, f));
  }
}

Place backward(const Place& from, const GiroFlags& f) {
  switch (from.screen) {
    case 1: return kEnd;
    case 3: return from.sub == 32 ? Place{3, 31} : at(2);
    case 8: case 9: case 10: return at(7);
    case 22:
      if (from.sub == 51 && from.debt_half) return {22, 52, false};
      if (from.sub == 55) return {22, 54, false};
      return {4, 43};
    case 23:
      if (from.sub == 51 || from.sub == 53) return {23, 52, false};
      return {4, 43};
    default: {
      int n = step(from.screen, -1, f);
      return n == 4 ? Place{4, 43} : at(n);
    }
  }
}

Place other_key(const Place& from, const GiroFlags& f) {
  if (f.first_pass && from.screen == 6) return at(1);
  if (from.screen == 3) return on_exempt(from);
  if (from.screen >= 7 && from.screen <= 10) return kEnd;
  int n = step(from.screen, 1, f);
  if (n == 12 && !f.rural) n = 10;
  return at(n);
}

}  // namespace

int default_sub(int screen) {
  switch (screen) {
    case 10: return 72;
    case 11: return 62;
    case 22: return 54;
    case 23: return 52;
    default: return screen >= 12 ? 101 + (screen - 12) : screen * 10 + 1;
  }
}

int last_screen(const GiroFlags& flags) { return flags.rural ? 17 : 11; }

Place normalise(Place p, const GiroFlags& flags) {
  if (p.screen <= last_screen(flags) || p.screen == 22 || p.screen == 23) return p;
  if (p.screen == 18 && flags.rural) return at(12);
  return kEnd;
}

Place next_place(const Place& from, int k, const GiroFlags& f) {
  if (k == key::kEsc) return kEnd;
  if (k == key::f(11) || k == key::alt_f(1)) return at(11);
  if (k == key::f(12) || k == key::alt_f(2)) return f.rural ? at(12) : at(7);
  for (int n = 1; n <= 10; ++n) {
    if (k == key::f(n)) return at(n);
  }
  if (k == key::kTab || k == key::kPgDn) return forward(from, f);
  if (k == key::kShiftTab || k == key::kPgUp) return backward(from, f);
  if (k == key::kEnter) {
    if (f.first_pass && from.screen == 6) return at(1);
    if (from.screen == 3) return on_exempt(from);
    return kEnd;
  }
  return other_key(from, f);
}

std::string index_line() {
  return "1=PJ 2=PF 3=Ise 4=Pgto 5=Bem 6=Iden 7=Cal 8=GCap 9=RVar 10=Balan 11=notas 12=MVN";
}

}  // namespace kx::declaration
