#include "shell/program_menu.h"

#include <gtest/gtest.h>

#include "declaration/generate_command.h"
#include "declaration/open_declaration.h"
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

  // Rows of `cpf` in declaration table `file` of the work folder, read as another program would.
  int rows_of(const std::string& file, const std::string& cpf) {
    dbf::Table t = dbf::Table::open(x.program_file(file), {dbf::OpenMode::read_only}, x.f.h.clock);
    int n = 0;
    t.scan([&](uint32_t, const dbf::RecordView& r) {
      n += text::rtrim(r.text(*r.schema().find("CPF"))) == cpf;
      return true;
    });
    return n;
  }
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

TEST_F(ProgramMenuTest, AltIOpensADeclarationAndLeavingItSavesAndClearsItsOpenMark) {
  const auto cpfs = declaration::generate_declarations(x.f.globals.ROTADEF, 3, 7, x.f.h.clock);
  const int income = rows_of("IMP0215.DBF", cpfs[1]), assets = rows_of("IMP0415.DBF", cpfs[1]);
  ASSERT_GT(income + assets, 0);
  Program& program = start();
  std::string seen;
  x.f.h.terminal.on_key = [&](const ui::Event&) { seen += x.f.h.terminal.dump(); };
  x.f.h.type("<Alt-I>" + cpfs[1] + "<Enter><Esc><Alt-T><Esc><Alt-T>s");
  program.run();
  EXPECT_TRUE(program.end);
  EXPECT_TRUE(x.f.h.terminal.script_done()) << x.f.h.terminal.dump();
  EXPECT_NE(seen.find("1=PJ 2=PF 3=Ise"), std::string::npos) << seen;
  EXPECT_EQ(x.field_of("IMP0915", "CPF", cpfs[1], "NUSUAT"), "");
  EXPECT_FALSE(declaration::unfinished_declaration(x.f.globals));
  EXPECT_EQ(rows_of("IMP0215.DBF", cpfs[1]), income);
  EXPECT_EQ(rows_of("IMP0415.DBF", cpfs[1]), assets);
}

}  // namespace
}  // namespace kx::shell::testing
