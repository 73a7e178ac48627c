#include <gtest/gtest.h>

#include <filesystem>

#include "access_fixture.h"
#include "base/text.h"
#include "os/folder.h"
#include "store/folder.h"
#include "store/layout_defaults.h"

namespace kx::store::testing {
namespace {

namespace fs = std::filesystem;

TEST_F(AccessTest, OpeningADeclarationTableCreatesItWithItsLayoutAndIndexFiles) {
  settings.MOS_MENS = true;
  ASSERT_TRUE(ABERTURA(access, 9));

  for (const char* file : {"IMP0915.DBF", "IMP0915.CDX", "IMP0915B.CDX", "IMP0915C.CDX"})
    EXPECT_TRUE(exists(work(file))) << file;
  OpenTable* open = ws.held(9);
  ASSERT_NE(open, nullptr);
  EXPECT_EQ(open->alias, "IMP0915");
  EXPECT_EQ(open->table.mode(), dbf::OpenMode::shared);
  EXPECT_EQ(open->table.schema().record_length(), declaration_layout(9).record_length());
  EXPECT_EQ(open->table.index_count(), 3);
  EXPECT_EQ(open->table.order(), 1);
  EXPECT_EQ(ws.current(), 9);

  const auto messages = op.messages();
  const std::string stem = work("IMP0915");
  EXPECT_EQ(messages.front(), cp("Verificando o Arquivo ") + stem);
  EXPECT_NE(std::find(messages.begin(), messages.end(),
                      stem + cp(".dbf não localizado está  sendo criado ")),
            messages.end());
  EXPECT_NE(std::find(messages.begin(), messages.end(), "Criando o indice " + stem + "B.cdx"),
            messages.end());
  EXPECT_TRUE(op.boxes().empty());
}

TEST_F(AccessTest, ExclusiveFlagIsHonouredOnlyWhereTheCatalogueLeavesTheChoice) {
  struct Case {
    int table;
    bool asked;
    dbf::OpenMode expected;
  };
  const Case cases[] = {
      {4, true, dbf::OpenMode::exclusive},  {4, false, dbf::OpenMode::shared},
      {42, true, dbf::OpenMode::shared},    {44, false, dbf::OpenMode::exclusive},
      {67, true, dbf::OpenMode::exclusive}, {67, false, dbf::OpenMode::shared},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(ABERTURA(access, c.table, c.asked)) << c.table;
    EXPECT_EQ(ws.table(c.table).mode(), c.expected) << c.table << " asked " << c.asked;
    ws.close(c.table);
  }
  EXPECT_THROW(ABERTURA(access, 24), std::invalid_argument);
  EXPECT_THROW(ABERTURA(access, 71), std::invalid_argument);
}

TEST_F(AccessTest, AMissingFirstIndexFilePacksTheTableBeforeBuildingIt) {
  ASSERT_TRUE(ABERTURA(access, 4, true));
  append_rows(4, {{{"CPF", "11111111111"}, {"I7_0", "2"}},
                  {{"CPF", "22222222222"}, {"I7_0", "1"}},
                  {{"CPF", "11111111111"}, {"I7_0", "1"}}});
  dbf::Table& t = ws.table(4);
  t.go_to(2);
  t.delete_record();
  ws.close(4);

  // With its index file in place the table is opened as it is: the deleted row stays.
  ASSERT_TRUE(ABERTURA(access, 4));
  EXPECT_EQ(ws.table(4).record_count(), 3u);
  ws.close(4);

  ASSERT_TRUE(os::remove_file(fs_path(work("IMP0415.CDX"))));
  settings.MOS_MENS = true;
  ASSERT_TRUE(ABERTURA(access, 4));
  dbf::Table& reopened = ws.table(4);
  EXPECT_EQ(reopened.mode(), dbf::OpenMode::shared);
  EXPECT_EQ(reopened.record_count(), 2u);
  EXPECT_TRUE(exists(work("IMP0415.CDX")));
  ASSERT_TRUE(reopened.seek("11111111111   1"));
  EXPECT_EQ(reopened.get_number("I7_0"), Decimal(1));
  EXPECT_TRUE(reopened.check().empty());
  const auto messages = op.messages();
  EXPECT_NE(std::find(messages.begin(), messages.end(), "Criando o indice " + work("IMP0415.cdx")),
            messages.end());
}

TEST_F(AccessTest, AMissingReferenceTableIsReportedAndNeverCreated) {
  EXPECT_FALSE(ABERTURA(access, 46));
  EXPECT_EQ(op.boxes(),
            std::vector<std::string>{cp("Arquivo ") + program("CODBENS.dbf") + cp(" não localizado!")});
  EXPECT_FALSE(exists(program("CODBENS.DBF")));
  EXPECT_EQ(ws.held(46), nullptr);
}

TEST_F(AccessTest, SecondAndThirdIndexFilesWithoutNamesFollowTheTableName) {
  // Slot 9 gives the registry's layout to a table of another name.
  ASSERT_TRUE(ABREARQ(access, 9, false, work("cadastro"),
                      {{"", "CPF"}, {"", "UPPER(NOMECONTR)"}, {"ESTADO", "ESTATUS"}}));
  std::vector<std::string> names;
  for (const auto& e : os::list_folder(settings.LOCARQ)) names.push_back(e.name);
  EXPECT_EQ(names, (std::vector<std::string>{"cadastro.CDX", "cadastro.DBF", "CADASTROB.CDX",
                                             "ESTADO.CDX"}));
  EXPECT_EQ(ws.held(9)->alias, "cadastro");
}

TEST_F(AccessTest, RebuildingEveryIndexOnRequest) {
  ASSERT_TRUE(ABERTURA(access, 9));
  ws.close(9);
  const auto before = fs::last_write_time(work("IMP0915C.CDX"));
  fs::last_write_time(work("IMP0915C.CDX"), before - std::chrono::hours(1));
  settings.REFAZ_IND = true;
  settings.MOS_MENS = true;
  ASSERT_TRUE(ABERTURA(access, 9));
  EXPECT_GT(fs::last_write_time(work("IMP0915C.CDX")), before - std::chrono::hours(1));
  EXPECT_EQ(ws.table(9).mode(), dbf::OpenMode::shared);
  EXPECT_EQ(op.messages().size(), 4u);  // checking, then one "Criando o indice" per file
}

TEST_F(AccessTest, TablesThatMustNotBeEmptyGetTheirFirstRecord) {
  ASSERT_TRUE(ABERTURA(access, 50));
  dbf::Table& list = ws.table(50);
  ASSERT_EQ(list.record_count(), 1u);
  EXPECT_EQ(std::string(text::rtrim(list.get_text("DIRETOR"))), BAR_FORA(settings.ARQDEF));
  EXPECT_EQ(list.get_text("SELEC"), "S");
  EXPECT_EQ(list.mode(), dbf::OpenMode::exclusive);

  // A shared-settings table left empty (by an older version) gets its initial record once.
  dbf::Table::create(program("DEFINE.DBF"), *creation_layout(43));
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(ABERTURA(access, 43));
    dbf::Table& define = ws.table(43);
    ASSERT_EQ(define.record_count(), 1u);
    EXPECT_EQ(define.record().bytes(), shared_settings_initial_record());
    ws.close(43);
  }
}

TEST_F(AccessTest, NetuseKeepsTheOpenTableOnlyForTheSameFileInACompatibleMode) {
  const std::string other_folder = tmp / "Outra";
  fs::create_directories(other_folder);
  for (const std::string& folder : {settings.LOCARQ, other_folder})
    dbf::Table::create(folder + "/IMP0915.DBF", declaration_layout(9));
  ws.select(9);
  ASSERT_TRUE(NETUSE(access, work("IMP0915"), false, 1));

  struct Case {
    std::string file;
    bool exclusive;
    bool kept;  // the same open serves the request
  };
  const Case cases[] = {
      {work("IMP0915"), false, true},
      {work("imp0915.dbf"), false, true},           // another spelling of the same file
      {other_folder + "/IMP0915", false, false},    // same alias, another folder's table
      {work("IMP0915"), true, false},               // exclusive asked of a shared open
      {work("IMP0915"), false, true},               // shared asked of an exclusive open
  };
  for (const Case& c : cases) {
    const std::string before = ws.table(9).path();
    const dbf::OpenMode mode_before = ws.table(9).mode();
    ws.table(9).go_to(1);  // the position survives only when the open is kept
    ASSERT_TRUE(NETUSE(access, c.file, c.exclusive, 1)) << c.file;
    const bool kept = ws.table(9).path() == before && ws.table(9).mode() == mode_before;
    EXPECT_EQ(kept, c.kept) << c.file << " exclusive " << c.exclusive;
    if (c.exclusive) {
      EXPECT_EQ(ws.table(9).mode(), dbf::OpenMode::exclusive);
    }
  }

  settings.APELIDO = "ORIGEM";
  ASSERT_TRUE(NETUSE(access, other_folder + "/IMP0915", false, 1));
  EXPECT_EQ(ws.held(9)->alias, "ORIGEM");
}

TEST_F(AccessTest, StartupCheckPrunesMissingFoldersUpgradesTheOthersAndKeepsTheFolderList) {
  install_reference_tables();
  ASSERT_TRUE(ABERTURA(access, 50));
  const std::string gone = tmp / "Removida";
  append_rows(50, {{{"DIRETOR", gone}}, {{"DIRETOR", settings.LOCARQ}}});
  ws.close(50);

  std::vector<std::pair<std::string, std::string>> upgraded;  // folder, LOCARQ during the call
  access.upgrade_folder = [&](Access& a, const std::string& folder) {
    upgraded.emplace_back(folder, a.settings.LOCARQ);
  };
  const std::string work_folder = settings.LOCARQ;
  ASSERT_TRUE(ABERTURA(access, 0)) << ::testing::PrintToString(op.boxes());

  const std::string program_folder = BAR_FORA(settings.ARQDEF);
  EXPECT_EQ(upgraded, (std::vector<std::pair<std::string, std::string>>{
                          {program_folder, program_folder}, {work_folder, work_folder}}));
  EXPECT_EQ(settings.LOCARQ, work_folder);
  for (int slot = 1; slot <= Workspace::kSlots; ++slot)
    EXPECT_EQ(ws.held(slot) != nullptr, slot == 50) << slot;
  std::vector<std::string> rows;
  ws.table(50).scan([&](uint32_t, const dbf::RecordView& row) {
    rows.emplace_back(text::rtrim(row.text(*row.schema().find("DIRETOR"))));
    return true;
  });
  EXPECT_EQ(rows, (std::vector<std::string>{program_folder, work_folder}));
  EXPECT_TRUE(exists(program("PRINTS.DBF")));  // a system table the check needs is created
}

TEST_F(AccessTest, StartupCheckFailsOnAMissingReferenceTable) {
  install_reference_tables(46);
  EXPECT_FALSE(ABERTURA(access, 0));
  EXPECT_EQ(op.boxes(),
            std::vector<std::string>{cp("Arquivo ") + program("CODBENS.dbf") + cp(" não localizado!")});

  // Help texts and the status codes are not needed to start.
  install_reference_tables(0);
  fs::remove(program("STATUS.DBF"));
  op.events.clear();
  EXPECT_TRUE(ABERTURA(access, 46));
  EXPECT_TRUE(ABERTURA(access, 0));
}

TEST_F(AccessTest, StartupCheckFailsWhileTheTerminalNumberIsInUse) {
  install_reference_tables();
  ASSERT_TRUE(ABERTURA(access, 0));

  // A second copy with the same terminal number (open locks conflict within one process too).
  VirtualClock clock2{DateTime{}};
  Settings settings2 = settings;
  ScriptedOperator op2;
  Workspace ws2;
  Access second{ws2, settings2, op2, clock2, {}};
  EXPECT_FALSE(ABERTURA(second, 0));
  EXPECT_GE(clock2.monotonic_ms(), 10'000);
  EXPECT_EQ(op2.boxes(), std::vector<std::string>{program("DIRET07") + cp(".DBF não está disponível ")});
  EXPECT_NE(ws.held(50), nullptr);
}

TEST_F(AccessTest, ClosingWorkingCopiesAndDeclarationTables) {
  for (int slot : {1, 9, 20, 21, 40, 43}) {
    ws.select(slot);
    const std::string name = "T" + std::to_string(slot);
    dbf::Table::create(tmp / (name + ".DBF"), declaration_layout(1));
    ASSERT_TRUE(NETUSE(access, tmp / name, false, 1));
  }
  FECHA_PROV(access);
  EXPECT_EQ(ws.held(21), nullptr);
  EXPECT_EQ(ws.held(40), nullptr);
  EXPECT_NE(ws.held(1), nullptr);
  FECHA_TODO(access);
  for (int slot : {1, 20}) EXPECT_EQ(ws.held(slot), nullptr) << slot;
  for (int slot : {9, 43}) EXPECT_NE(ws.held(slot), nullptr) << slot;
}

TEST_F(AccessTest, SwitchingTheRegistryToAnotherFolder) {
  const std::string folder = tmp / "Nova/Pasta";
  op.answers = {false};
  EXPECT_FALSE(MUDADIR(access, folder));
  EXPECT_FALSE(exists(folder));
  EXPECT_EQ(op.events.back(), cp("ask: Pasta nova para  KAPRIX? | Cria a nova pasta?"));

  op.answers = {true};
  ASSERT_TRUE(MUDADIR(access, folder));
  EXPECT_TRUE(exists(folder + "/IMP0915.CDX"));
  EXPECT_EQ(ws.table(9).order(), 2);

  append_rows(9, {{{"CPF", "22222222222"}, {"NOMECONTR", "CARLOS"}},
                  {{"CPF", "11111111111"}, {"NOMECONTR", "BRUNA"}}});
  settings.CPF = "22222222222";
  ASSERT_TRUE(MUDADIR(access, folder));
  EXPECT_EQ(settings.NOMECONTR, "CARLOS");
  EXPECT_EQ(ws.table(9).order(), 2);
  EXPECT_EQ(std::string(text::rtrim(ws.table(9).get_text("CPF"))), "22222222222");

  settings.CPF = "99999999999";
  ASSERT_TRUE(MUDADIR(access, folder));
  EXPECT_EQ(settings.NOMECONTR, "CARLOS");  // unchanged when not found
  // On the first record in CPF order, then in name order.
  EXPECT_EQ(std::string(text::rtrim(ws.table(9).get_text("NOMECONTR"))), "BRUNA");
}

}  // namespace
}  // namespace kx::store::testing
