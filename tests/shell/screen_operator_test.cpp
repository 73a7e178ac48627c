#include "entry/screen_operator.h"

#include <gtest/gtest.h>

#include "../support/session_fixture.h"
#include "base/cp850.h"
#include "store/access.h"

namespace kx::entry {
namespace {

TEST(ScreenOperator, EscapeTypedDuringAWaitIsSeenOnceAndOtherKeysAreDropped) {
  testing::SessionFixture f;
  f.h.type("ab<Esc>");
  f.op.show_waiting("Aguarde"_cp);
  EXPECT_TRUE(f.op.escape_pressed());
  EXPECT_FALSE(f.op.escape_pressed());
  f.op.clear_waiting();
}

TEST(ScreenOperator, TheSessionOpensTheInstalledProgramFolder) {
  testing::SessionFixture f;
  store::Access a = f.session.access();
  EXPECT_TRUE(store::ABERTURA(a, 42));  // CONFIG
  EXPECT_TRUE(f.workspace.held(42) != nullptr);
}

}  // namespace
}  // namespace kx::entry
