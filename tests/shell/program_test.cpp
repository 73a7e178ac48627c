#include "shell/program.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/cp850.h"
#include "dbf/table.h"
#include "os/path.h"
#include "program_fixture.h"
#include "shell/backup_reminder.h"
#include "store/access.h"
#include "store/catalogue.h"
#include "store/layout.h"
#include "ui/keys.h"

namespace kx::shell {
namespace {

using testing::ProgramFixture;

std::string screen_of(const ui::ScriptExhausted& e) { return e.what(); }

TEST(Program, FirstStartCreatesTheTerminalsRecordsAndSelectsTheProgramFolder) {
  ProgramFixture x;
  Program& p = x.program();
  ASSERT_TRUE(p.start());
  EXPECT_EQ(x.menu.built, 1);
  const store::Globals& g = x.f.globals;
  EXPECT_EQ(g.NUSU, "07");
  EXPECT_EQ(g.LOCARQ, x.f.globals.ARQDEF);
  EXPECT_EQ(g.NOMEAG, "USUARIO DO TERMINAL 07");
  EXPECT_EQ(g.LOCIRPF, x.f.tmp / "home/ProgramasRFB/IRPF2015/aplicacao/dados/");
  EXPECT_EQ(x.field_of("CONFIG", "NRO_TERM", "07", "ROTAANTER"), x.f.tmp / "home/KAPRIX14");
  EXPECT_EQ(x.field_of("CONFIG", "NRO_TERM", "07", "ULTBACK"), "20150302");
  EXPECT_EQ(x.field_of("CORES", "NRO_TERM", "07", "COR_ENCH_C"), "W+/B");
  EXPECT_EQ(x.field_of("CORES", "NRO_TERM", "07", "COR_FERID"), "28");
  EXPECT_NE(x.f.workspace.held(9), nullptr);   // the registry
  EXPECT_NE(x.f.workspace.held(72), nullptr);  // the agenda
  EXPECT_EQ(x.f.workspace.held(42), nullptr);  // the configuration is not kept open
  EXPECT_FALSE(p.end);
  // The folder list: one row, the program folder as typed, selected.
  x.f.workspace.close_all();
  EXPECT_EQ(x.field_of("DIRET07", "SELEC", "S", "DIRETOR"), store::BAR_FORA(g.ARQDEF));
}

TEST(Program, AnEmptyProgramFolderGetsItsSystemTablesAndStopsAtTheFirstMissingReferenceTable) {
  ProgramFixture x(/*install=*/false);
  try {
    x.program().start();
    FAIL() << "the missing reference table was not told";
  } catch (const ui::ScriptExhausted& e) {
    EXPECT_NE(screen_of(e).find("CODBENS.dbf não localizado!"), std::string::npos)
        << screen_of(e);
  }
  x.f.workspace.close_all();
  for (const char* table : {"CONFIG.DBF", "DEFINE.DBF", "CORES.DBF", "DIRET07.DBF", "PRINTS.DBF"})
    EXPECT_TRUE(os::file_exists(x.program_file(table))) << table;

  // Confirming the message ends the start-up, naming the terminal.
  x.f.h.type("<Enter>");
  try {
    EXPECT_FALSE(x.program().start());
  } catch (const ui::ScriptExhausted& e) {
    EXPECT_NE(screen_of(e).find("O programa KAPRIX no terminal 07 está em uso"), std::string::npos)
        << screen_of(e);
  }
}

TEST(Program, ASecondCopyUnderTheSameTerminalEnds) {
  ProgramFixture first;
  ASSERT_TRUE(first.program().start());
  // Another copy of the program (its own tables and screen) on the same program folder.
  kx::testing::SessionFixture other(/*install=*/false);
  StartOptions o = first.options("7");
  testing::RecordingMenu menu;
  Program second(other.session, o, menu, {});
  menu.program = &second;
  // The folder list held by the first copy is told, then the terminal in use.
  other.h.type("<Enter>");
  try {
    second.start();
    FAIL() << "the second copy did not tell that the terminal is in use";
  } catch (const ui::ScriptExhausted& e) {
    EXPECT_NE(screen_of(e).find("O programa KAPRIX no terminal 07 está em uso"), std::string::npos)
        << screen_of(e);
  }
  other.h.type("<Enter><Enter>");
  EXPECT_FALSE(second.start());
  EXPECT_TRUE(second.end);
  EXPECT_EQ(menu.built, 0);
  EXPECT_FALSE(first.p->end);
}

TEST(Program, AnOlderConfigurationTableKeepsEveryTerminalsRecord) {
  ProgramFixture x;
  const std::string config = x.program_file("CONFIG.DBF");
  std::filesystem::remove(config);
  std::filesystem::remove(x.program_file("CONFIG.CDX"));
  dbf::Table::create(config, dbf::Schema({{"NRO_TERM", dbf::FieldType::character, 2},
                                          {"ROTADOANO", dbf::FieldType::character, 80},
                                          {"NOMEAG", dbf::FieldType::character, 22}}));
  {
    dbf::Table t = dbf::Table::open(config, {dbf::OpenMode::exclusive}, x.f.h.clock);
    for (const char* term : {"01", "07", "12"}) {
      t.append_blank();
      t.set_text("NRO_TERM", term);
      t.set_text("ROTADOANO", x.f.globals.ROTADEF);
      t.set_text("NOMEAG", std::string("OPERADOR ") + term);
      t.commit();
    }
  }
  ASSERT_TRUE(x.program().start());
  EXPECT_EQ(x.f.globals.NOMEAG, "OPERADOR 07");
  x.f.workspace.close_all();
  dbf::Table t = dbf::Table::open(config, {dbf::OpenMode::read_only}, x.f.h.clock);
  EXPECT_EQ(t.schema().record_length(), 808);
  EXPECT_EQ(t.record_count(), 3u);
  EXPECT_EQ(x.field_of("CONFIG", "NRO_TERM", "12", "NOMEAG"), "OPERADOR 12");
}

TEST(Program, BackupReminderDates) {
  struct Case {
    const char* today;
    const char* last;
    const char* first_line;  // empty: no reminder
  } cases[] = {
      {"10/03/2015", "05/03/2015", " Atenção   5 dias sem fazer o backup compactado."},
      {"08/03/2015", "05/03/2015", ""},  // three days: not more than 3
      {"09/03/2015", "05/03/2015", " Atenção   4 dias sem fazer o backup compactado."},
      {"15/03/2015", "14/03/2015", ""},
      {"18/03/2015", "14/03/2015", " Atenção   4 dias sem fazer o backup compactado."},
      {"04/05/2015", "05/03/2015", ""},  // from May on, never
      {"10/03/2016", "05/03/2015", ""},
  };
  for (const Case& c : cases) {
    const auto lines = backup_reminder(*Date::parse_dmy(c.today), *Date::parse_dmy(c.last));
    if (!*c.first_line) {
      EXPECT_FALSE(lines) << c.today;
    } else {
      ASSERT_TRUE(lines) << c.today;
      EXPECT_EQ(lines->front(), cp850::from_utf8(c.first_line)) << c.today;
    }
  }
}

TEST(Program, RefusingTheBackupReminderPostponesItByFourDays) {
  ProgramFixture x;
  x.f.h.clock.set({*Date::parse_dmy("05/03/2015"), 9});
  ASSERT_TRUE(x.program().start());
  ASSERT_TRUE(x.p->ROTSAIDA(kEndAtOnce));
  x.f.h.clock.set({*Date::parse_dmy("10/03/2015"), 9});
  x.f.h.type("n");
  ASSERT_TRUE(x.program().start());
  EXPECT_EQ(x.field_of("CONFIG", "NRO_TERM", "07", "ULTBACK"), "20150314");
}

TEST(Program, LeavingAsksForFimAltTAndEscButNotForTerminar) {
  ProgramFixture x;
  Program& p = x.program();
  ASSERT_TRUE(p.start());
  x.f.globals.NOMEAG = "FULANA";
  x.f.h.type("<Alt-T>n<Esc>n<Alt-T>s");
  p.run();
  EXPECT_TRUE(p.end);
  const std::vector<std::pair<int, int>> want = {{kLeave, 0}, {kLeave, 0}};
  EXPECT_EQ(x.menu.selected, want);
  EXPECT_EQ(x.field_of("CONFIG", "NRO_TERM", "07", "NOMEAG"), "FULANA");
  EXPECT_EQ(x.f.workspace.held(50), nullptr);

  // "Terminar (Alt T)" ends without a question: no key is left for one.
  Program& again = x.program();
  ASSERT_TRUE(again.start());
  EXPECT_TRUE(again.ROTSAIDA(kEndAtOnce));
  EXPECT_TRUE(again.end);
}

TEST(Program, AltIOpensADeclarationAndMenuEventsReachTheMenu) {
  ProgramFixture x;
  Program& p = x.program();
  ASSERT_TRUE(p.start());
  x.f.h.type("<Alt-I><Alt-T>s");
  p.run();
  ASSERT_FALSE(x.menu.selected.empty());
  EXPECT_EQ(x.menu.selected.front(), std::make_pair(kOpenDeclaration, 0));
}

TEST(Program, LeavingAfterAnImportRebuildsTheWorkFoldersIndexes) {
  for (const int last_command : {kImport, 0}) {
    ProgramFixture x;
    Program& p = x.program();
    ASSERT_TRUE(p.start());
    const std::string index =
        store::fs_path(store::in_folder(x.f.globals.LOCARQ, store::index_files(5, "07")[0].file_name()));
    ASSERT_TRUE(os::file_exists(index));
    std::filesystem::remove(*os::find_nocase(index));
    x.f.globals.OPCAO_1 = last_command;
    ASSERT_TRUE(p.ROTSAIDA(kEndAtOnce));
    EXPECT_EQ(os::file_exists(index), last_command == kImport) << last_command;
  }
}

TEST(Program, AMissingWorkFolderIsReplacedByTheProgramFolderOrEndsTheProgram) {
  for (const bool accept : {true, false}) {
    ProgramFixture x;
    ASSERT_TRUE(x.program().start());
    x.f.globals.ROTADOANO = x.f.tmp / "gone";
    ASSERT_TRUE(x.p->ROTSAIDA(kEndAtOnce));
    x.f.h.type(accept ? "s" : "n");
    EXPECT_EQ(x.program().start(), accept);
    EXPECT_EQ(x.field_of("CONFIG", "NRO_TERM", "07", "ROTADOANO"),
              accept ? x.f.globals.ROTADEF : x.f.tmp / "gone");
  }
}

TEST(Program, TheCurrentFolderIsFoundByIdentityNotBySpelling) {
  ProgramFixture x;
  ASSERT_TRUE(x.program().start());
  // The same folder through another spelling: a link to it.
  const std::string link = x.f.tmp / "Atalho";
  std::filesystem::create_directory_symlink(x.f.globals.ROTADEF, link);
  x.f.globals.ROTADOANO = link;
  ASSERT_TRUE(x.p->ROTSAIDA(kEndAtOnce));
  ASSERT_TRUE(x.program().start());
  x.f.workspace.close_all();
  EXPECT_EQ(dbf::Table::open(x.program_file("DIRET07.DBF"), {dbf::OpenMode::read_only}, x.f.h.clock)
                .record_count(),
            1u);

  // A folder of another case is another folder: it gets a row of its own, kept as typed.
  const std::string other = x.f.tmp / "kaprix";
  std::filesystem::create_directory(other);
  x.f.globals.ROTADOANO = other;
  ASSERT_TRUE(x.p->ROTSAIDA(kEndAtOnce));
  ASSERT_TRUE(x.program().start());
  EXPECT_EQ(x.f.globals.LOCARQ, other + "/");
  x.f.workspace.close_all();
  EXPECT_EQ(x.field_of("DIRET07", "SELEC", "S", "DIRETOR"), other);
  EXPECT_EQ(x.field_of("DIRET07", "SELEC", "N", "DIRETOR"), x.f.globals.ROTADEF);
}

TEST(Program, ASharedSettingsTableWithoutItsRecordGetsTheInitialOne) {
  ProgramFixture x;
  for (const char* file : {"DEFINE.DBF", "define.dbf"})
    if (auto found = os::find_nocase(x.program_file(file))) std::filesystem::remove(*found);
  dbf::Table::create(x.program_file("DEFINE.DBF"), *store::creation_layout(43));
  ASSERT_TRUE(x.program().start());
  const store::Globals& g = x.f.globals;
  EXPECT_EQ(g.DAT_VENC.front().dmy(), "30/04/2015");
  EXPECT_EQ(g.DAT_VENC.back().dmy(), "30/11/2015");
  EXPECT_EQ(g.NVALDOLAR, "2.6556"_dec);
  EXPECT_EQ(g.TEMP_SAL, 15);
  EXPECT_EQ(g.BOL_BANCO, 341);
}

TEST(Program, AProgramFolderThatDoesNotExistFallsBackToTheCurrentFolder) {
  ProgramFixture x;
  StartOptions o = x.options();
  o.DKAPRIX = x.f.tmp / "sumiu";
  testing::RecordingMenu menu;
  Program p(x.f.session, o, menu, {});
  x.f.h.type("<Enter>");
  ASSERT_TRUE(p.start());
  EXPECT_EQ(x.f.globals.ROTADEF, o.current_folder);
  EXPECT_EQ(x.f.globals.DIRDEF, o.DKAPRIX);
}

}  // namespace
}  // namespace kx::shell
