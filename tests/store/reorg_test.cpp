#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "access_fixture.h"
#include "os/folder.h"
#include "store/access_lock.h"
#include "store/folder.h"
#include "store/reorg.h"

namespace kx::store::testing {
namespace {

namespace fs = std::filesystem;

class ReorgTest : public AccessTest {
 protected:
  // Table `n` of the catalogue with two rows, the first deleted; closed again.
  void with_deleted_row(int n) {
    ASSERT_TRUE(ABERTURA(access, n, true)) << ::testing::PrintToString(op.boxes());
    ws.table(n).set_deleted_visible(true);
    append_rows(n, {{}, {}});
    ws.table(n).go_to(1);
    ws.select(n);
    ASSERT_TRUE(REC_LOCK(access));
    ws.table(n).delete_record();
    ws.close(n);
  }
  uint32_t records(const std::string& path) {
    return dbf::Table::open(fs_path(path), {dbf::OpenMode::read_only}, clock).record_count();
  }
  std::vector<std::string> names_in(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : os::list_folder(fs_path(folder))) names.push_back(e.name);
    return names;
  }
};

TEST_F(ReorgTest, AFolderWithoutIndexFilesIsLeftUntouched) {
  with_deleted_row(1);
  fs::remove(work("IMP0115.CDX"));
  const auto before = fs::last_write_time(work("IMP0115.DBF"));
  EXPECT_TRUE(REORG(access, settings.LOCARQ, ReorgMode::declarations));
  EXPECT_EQ(names_in(settings.LOCARQ), std::vector<std::string>{"IMP0115.DBF"});
  EXPECT_EQ(fs::last_write_time(work("IMP0115.DBF")), before);
  EXPECT_EQ(records(work("IMP0115.DBF")), 2u);
}

TEST_F(ReorgTest, PacksAndReindexesEveryDeclarationTableOfTheFolder) {
  with_deleted_row(1);
  with_deleted_row(9);
  settings.MOS_MENS = true;
  EXPECT_TRUE(REORG(access, settings.LOCARQ + "/", ReorgMode::declarations));
  for (int n = 1; n <= kDeclarationTables; ++n)
    for (const IndexFile& index : index_files(n, "07"))
      EXPECT_TRUE(exists(work(index.file_name()))) << index.file_name();
  EXPECT_EQ(records(work("IMP0115.DBF")), 1u);
  EXPECT_EQ(records(work("IMP0915.DBF")), 1u);
  EXPECT_TRUE(op.boxes().empty());
}

TEST_F(ReorgTest, ATableInUseIsSkippedAndLeftAsItWas) {
  with_deleted_row(1);
  with_deleted_row(2);
  // Another terminal (open locks conflict within one process too).
  dbf::Table other = dbf::Table::open(fs_path(work("IMP0215.DBF")), {}, clock);
  EXPECT_FALSE(REORG(access, settings.LOCARQ, ReorgMode::declarations));
  EXPECT_EQ(op.boxes(), std::vector<std::string>{work("IMP0215") + cp(".DBF não está disponível ")});
  EXPECT_EQ(other.record_count(), 2u);
  other.set_deleted_visible(true);
  other.go_top();
  EXPECT_TRUE(other.deleted());  // not packed under the other terminal
  EXPECT_EQ(records(work("IMP0115.DBF")), 1u);
  EXPECT_TRUE(exists(work("IMP2015.CDX")));
}

TEST_F(ReorgTest, SystemTablesArePackedInTheProgramFolderOnly) {
  install_reference_tables();
  with_deleted_row(42);  // CONFIG
  with_deleted_row(46);  // CODBENS, after the missing help tables in the packing order
  const std::string other = tmp / "Outra";
  fs::create_directories(other);
  EXPECT_TRUE(REORG(access, other, ReorgMode::with_system));
  EXPECT_EQ(records(program("CONFIG.DBF")), 2u);

  EXPECT_TRUE(REORG(access, settings.ARQDEF, ReorgMode::declarations));
  EXPECT_EQ(records(program("CONFIG.DBF")), 2u);

  EXPECT_TRUE(REORG(access, settings.ARQDEF, ReorgMode::with_system));
  EXPECT_EQ(records(program("CONFIG.DBF")), 1u);
  EXPECT_EQ(records(program("CODBENS.DBF")), 1u);
  EXPECT_TRUE(exists(program("CODBENS.CDX")));
}

TEST_F(ReorgTest, ReindexarDadosRefusedChangesNothing) {
  const std::string copy = tmp.write("aux/TMP_0107.DBF", "x");
  op.answers = {false};
  EXPECT_FALSE(REINDEXA(access));
  EXPECT_TRUE(exists(copy));
  ASSERT_EQ(op.events.size(), 1u);
  EXPECT_EQ(op.events[0].rfind(cp("ask: Esta opção refará todos arquivos índices (CDX). | "), 0), 0u);
}

TEST_F(ReorgTest, ReindexarDados) {
  install_reference_tables();
  ASSERT_TRUE(ABERTURA(access, 0));
  ASSERT_TRUE(ABERTURA(access, 50));
  append_rows(50, {{{"DIRETOR", settings.LOCARQ}}});
  with_deleted_row(5);
  with_deleted_row(72);  // AGENDA: not in the packing list, reindexed all the same
  // Working copies of three terminals; terminal 08 is editing a declaration, terminal 09 left
  // one unfinished (its marker is there).
  for (const char* name : {"TMP_0107.DBF", "TMP_0208.DBF", "TMP_0409.DBF"})
    dbf::Table::create(fs_path(settings.LOCTRAB + "/" + name), declaration_layout(1));
  tmp.write("aux/TMP_0107.CDX", "x");
  tmp.write("aux/TMP_0208.CDX", "x");
  tmp.write("aux/outro.dbf", "x");
  tmp.write("aux/MARCA09.TXT", "x");
  dbf::Table editing = dbf::Table::open(fs_path(settings.LOCTRAB + "/TMP_0208.DBF"),
                                        {dbf::OpenMode::exclusive}, clock);

  op.answers = {true};
  ASSERT_TRUE(REINDEXA(access)) << ::testing::PrintToString(op.boxes());

  EXPECT_EQ(names_in(settings.LOCTRAB),
            (std::vector<std::string>{"MARCA09.TXT", "outro.dbf", "TMP_0208.CDX", "TMP_0208.DBF",
                                      "TMP_0409.DBF"}));
  auto boxes = op.boxes();
  std::sort(boxes.begin(), boxes.end());
  EXPECT_EQ(boxes, (std::vector<std::string>{
                       settings.LOCTRAB + "/TMP_0208" + cp(".DBF não está disponível "),
                       cp("Cópias de trabalho do terminal 09 mantidas: há uma declaração não terminada.")}));
  EXPECT_EQ(records(work("IMP0515.DBF")), 1u);
  EXPECT_EQ(records(program("AGENDA.DBF")), 1u);
  EXPECT_FALSE(settings.MOS_MENS);
  // Back as after start-up, with the registry of the current folder.
  for (int slot = 1; slot <= Workspace::kSlots; ++slot)
    EXPECT_EQ(ws.held(slot) != nullptr, slot == 9 || slot == 50) << slot;
  EXPECT_TRUE(same_file(ws.table(9).path(), fs_path(work("IMP0915.DBF"))));
}

}  // namespace
}  // namespace kx::store::testing
