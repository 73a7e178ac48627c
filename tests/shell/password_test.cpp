#include "shell/password.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "../support/session_fixture.h"
#include "base/cp850.h"

namespace kx::shell {
namespace {

std::string contents(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(Password, KeptAsASaltedHashPerTerminal) {
  kx::testing::SessionFixture f(/*install=*/false);
  const std::string& folder = f.globals.ARQDEF;
  EXPECT_FALSE(has_password(folder, "07"));
  EXPECT_FALSE(verify_password(folder, "07", ""));
  set_password(folder, "07", "s3nh@");
  set_password(folder, "08", "s3nh@");
  const std::string stored = contents(password_file(folder, "07"));
  EXPECT_EQ(stored.find("s3nh@"), std::string::npos);
  EXPECT_NE(stored, contents(password_file(folder, "08")));  // salted
  EXPECT_TRUE(verify_password(folder, "07", "s3nh@"));
  EXPECT_FALSE(verify_password(folder, "07", "s3nh"));
  EXPECT_FALSE(verify_password(folder, "09", "s3nh@"));
  set_password(folder, "07", "outra");
  EXPECT_FALSE(verify_password(folder, "07", "s3nh@"));
  EXPECT_TRUE(verify_password(folder, "07", "outra"));
  clear_password(folder, "07");
  EXPECT_FALSE(has_password(folder, "07"));
  EXPECT_TRUE(has_password(folder, "08"));
}

TEST(Password, TheEntryCheckGivesThreeTries) {
  struct Case {
    const char* keys;
    bool admitted;
  } cases[] = {
      {"abc<Enter>", true},
      {"x<Enter><Enter>abc<Enter>", true},
      // Each wrong entry is told and confirmed; what is typed past six characters is dropped.
      {"abcdefgh<Enter><Enter>abcd<Enter><Enter>ab<Enter><Enter>", false},
      {"x<Enter><Enter>y<Enter><Enter><Esc><Enter>", false},
      {"abx<Backspace>c<Enter>", true},
  };
  for (const Case& c : cases) {
    kx::testing::SessionFixture f(/*install=*/false);
    f.globals.QUERSEN = true;
    set_password(f.globals.ARQDEF, f.globals.NUSU, "abc");
    f.h.type(c.keys);
    EXPECT_EQ(check_entry_password(f.session), c.admitted) << c.keys;
  }
}

TEST(Password, NoQuestionWithoutThePasswordSetting) {
  kx::testing::SessionFixture f(/*install=*/false);
  set_password(f.globals.ARQDEF, f.globals.NUSU, "abc");
  EXPECT_TRUE(check_entry_password(f.session));  // no key typed: none asked for
}

}  // namespace
}  // namespace kx::shell
