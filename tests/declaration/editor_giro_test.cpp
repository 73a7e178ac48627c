#include <gtest/gtest.h>

#include "declaration/giro.h"
#include "ui/keys.h"

namespace kx::declaration {
namespace {

namespace key = ui::key;

struct Case {
  Place from;
  int key;
  GiroFlags flags;
  Place to;
};

constexpr GiroFlags kPlain{}, kRural{true, false, false}, kAbroad{true, true, false},
    kFirst{false, false, true};

TEST(EditorGiro, NextPlaceFollowsTheTransitionTable) {
  const Case cases[] = {
      {{1, 11}, key::kEsc, kPlain, {}},
      {{5, 51}, key::f(3), kPlain, {3, 31}},
      {{5, 51}, key::f(11), kPlain, {11, 62}},
      {{5, 51}, key::alt_f(1), kPlain, {11, 62}},
      {{1, 11}, key::f(12), kPlain, {7, 71}},
      {{1, 11}, key::alt_f(2), kRural, {12, 101}},
      {{1, 11}, key::f(10), kPlain, {10, 72}},
      // Tab / PgDn
      {{6, 61}, key::kTab, kFirst, {1, 11}},
      {{6, 61}, key::kTab, kPlain, {7, 71}},
      {{3, 31}, key::kPgDn, kPlain, {3, 32}},
      {{3, 32}, key::kTab, kPlain, {4, 41}},
      {{4, 41}, key::kTab, kPlain, {4, 42}},
      {{4, 43}, key::kTab, kPlain, {5, 51}},
      {{7, 71}, key::kTab, kPlain, {10, 72}},
      {{9, 91}, key::kTab, kPlain, {7, 71}},
      {{10, 72}, key::kTab, kPlain, {11, 62}},
      {{11, 62}, key::kTab, kRural, {}},
      {{17, 106}, key::kTab, kRural, {12, 101}},
      {{12, 101}, key::kTab, kAbroad, {14, 103}},
      {{22, 51, false}, key::kTab, kPlain, {22, 55, true}},
      {{22, 51, true}, key::kTab, kPlain, {6, 61}},
      {{22, 54}, key::kTab, kPlain, {22, 55, true}},
      {{23, 52}, key::kTab, kPlain, {23, 53, true}},
      {{23, 53, true}, key::kTab, kPlain, {6, 61}},
      // Shift-Tab / PgUp
      {{1, 11}, key::kShiftTab, kPlain, {}},
      {{3, 31}, key::kShiftTab, kPlain, {2, 21}},
      {{3, 32}, key::kPgUp, kPlain, {3, 31}},
      {{5, 51}, key::kShiftTab, kPlain, {4, 43}},
      {{10, 72}, key::kShiftTab, kPlain, {7, 71}},
      {{14, 103}, key::kShiftTab, kAbroad, {12, 101}},
      {{14, 103}, key::kShiftTab, kRural, {13, 102}},
      {{22, 51, true}, key::kShiftTab, kPlain, {22, 52, false}},
      {{22, 55, true}, key::kShiftTab, kPlain, {22, 54, false}},
      {{22, 54}, key::kShiftTab, kPlain, {4, 43}},
      {{23, 53, true}, key::kShiftTab, kPlain, {23, 52, false}},
      {{23, 52}, key::kPgUp, kPlain, {4, 43}},
      // Enter
      {{6, 61}, key::kEnter, kFirst, {1, 11}},
      {{3, 31}, key::kEnter, kPlain, {3, 32}},
      {{2, 21}, key::kEnter, kPlain, {}},
      // other keys
      {{2, 21}, key::kDown, kPlain, {3, 31}},
      {{8, 81}, key::kDown, kPlain, {}},
      {{11, 62}, key::kDown, kPlain, {10, 72}},
      {{11, 62}, key::kDown, kRural, {12, 101}},
  };
  for (const Case& c : cases) {
    Place got = next_place(c.from, c.key, c.flags);
    EXPECT_EQ(got, c.to) << "from " << c.from.screen << "/" << c.from.sub << " key "
                         << key::name(c.key) << ": got " << got.screen << "/" << got.sub;
  }
}

TEST(EditorGiro, ScreensBeyondTheLastEndTheSequence) {
  EXPECT_EQ(normalise({12, 101}, kPlain), Place{});
  EXPECT_EQ(normalise({18, 0}, kRural), (Place{12, 101}));
  EXPECT_EQ(normalise({22, 54}, kPlain), (Place{22, 54}));
  EXPECT_EQ(normalise({11, 62}, kPlain), (Place{11, 62}));
}

}  // namespace
}  // namespace kx::declaration
