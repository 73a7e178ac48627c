#include "shell/program_menu.h"

#include <gtest/gtest.h>

#include "program_fixture.h"

namespace kx::shell::testing {
namespace {

// The program with its real menu: the bar opens from the keyboard and its items reach the
// commands connected to it.
class ProgramMenuTest : public ::testing::Test {
 protected:
  Program& start() {
    p.emplace(x.f.session, x.options(), menu, UpdateSettings{});
    menu.attach(*p);
    EXPECT_TRUE(p->start());
    return *p;
  }

  ProgramFixture x;
  ProgramMenu menu{x.f.session, UpdateSettings{}};
  std::optional<Program> p;
};

TEST_F(ProgramMenuTest, TerminarFromTheBarEndsWithoutAQuestion) {
  Program& program = start();
  x.f.h.type("<Alt-D>t");
  program.run();
  EXPECT_TRUE(program.end);
  EXPECT_TRUE(x.f.h.terminal.script_done());
}

TEST_F(ProgramMenuTest, FimAsksAndACommandNotBuiltYetSaysSo) {
  Program& program = start();
  std::string seen;
  x.f.h.terminal.on_key = [&](const ui::Event&) { seen += x.f.h.terminal.dump(); };
  x.f.h.type("<Alt-O>r<Enter><Alt-F>n<Alt-T>s");
  program.run();
  EXPECT_NE(seen.find("ainda não disponível"), std::string::npos);
  EXPECT_NE(seen.find("Confirma saída do programa?"), std::string::npos);
  EXPECT_TRUE(program.end);
  EXPECT_TRUE(x.f.h.terminal.script_done());
}

}  // namespace
}  // namespace kx::shell::testing
