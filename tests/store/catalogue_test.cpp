#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dbf/expr.h"
#include "store/catalogue.h"
#include "store/layout.h"

namespace kx::store {
namespace {

std::vector<std::string> index_names(int table, const char* terminal = "07") {
  std::vector<std::string> out;
  for (const IndexFile& f : index_files(table, terminal)) out.push_back(f.file_name());
  return out;
}

TEST(Catalogue, EveryKeyNamesFieldsOfItsTable) {
  int checked = 0;
  for (int n = 0; n <= kLastTable + 1; ++n) {
    const auto entry = table_entry(n, "07");
    if (!entry) continue;
    const dbf::Schema& layout = entry->layout();
    for (const IndexFile& index : entry->indexes) {
      SCOPED_TRACE("table " + std::to_string(n) + " key " + index.key);
      EXPECT_NO_THROW(dbf::KeyExpr::parse(index.key, layout));
      ++checked;
    }
  }
  EXPECT_GT(checked, 40);
}

TEST(Catalogue, NumbersWithoutTables) {
  for (int n : {0, 71, 76, -1}) EXPECT_FALSE(table_entry(n, "07")) << n;
  EXPECT_TRUE(index_files(71, "07").empty());
}

TEST(Catalogue, TerminalMustBeTwoDigits) {
  for (const char* bad : {"", "7", "123", "a1", "../"}) {
    EXPECT_THROW(table_entry(50, bad), std::invalid_argument) << bad;
    EXPECT_THROW(working_copy_name(4, bad), std::invalid_argument) << bad;
  }
}

TEST(Catalogue, FileNamesAndIndexFiles) {
  struct Case {
    int table;
    const char* data_file;
    std::vector<std::string> indexes;
  };
  const Case cases[] = {
      {1, "IMP0115.DBF", {"IMP0115.CDX"}},
      {9, "IMP0915.DBF", {"IMP0915.CDX", "IMP0915B.CDX", "IMP0915C.CDX"}},
      {20, "IMP2015.DBF", {"IMP2015.CDX"}},
      {24, "TMP_0407.DBF", {}},
      {43, "DEFINE.DBF", {}},
      {50, "DIRET07.DBF", {"DIRET07.CDX"}},
      {54, "LisErro.DBF", {"LisErro.CDX"}},
      {55, "BANCOS.DBF", {"BANCOS.CDX", "BANCOSB.CDX"}},
      {58, "OCUPACAO.DBF", {"OCUPACAO.CDX", "OCUPACAB.CDX"}},
      {59, "CODNATUR.DBF", {"CODNATUR.CDX", "CODNATB.CDX"}},
      {64, "TABMUNI.DBF", {}},
      {68, "DETALH07.DBF", {}},
      {70, "LISNOME.DBF", {"LISNOME.CDX", "LISNOMEB.CDX"}},
      {72, "AGENDA.DBF", {"AGENDA.CDX", "AGENDAB.CDX", "AGENDAC.CDX"}},
      {73, "USOLOG.DBF", {"USOLOG.CDX", "USOLOGB.CDX"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("table " + std::to_string(c.table));
    const auto entry = table_entry(c.table, "07");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->data_file_name(), c.data_file);
    EXPECT_EQ(index_names(c.table), c.indexes);
  }
  EXPECT_EQ(table_entry(50, "12")->name, "DIRET12");
}

TEST(Catalogue, RegistryKeysInOpeningOrder) {
  const auto files = index_files(9, "07");
  ASSERT_EQ(files.size(), 3u);
  EXPECT_EQ(files[0].key, "CPF");
  EXPECT_EQ(files[1].key, "UPPER(NOMECONTR)");
  EXPECT_EQ(files[2].key, "ESTATUS");
  EXPECT_EQ(index_files(19, "07").at(0).key, "CPF+ATV_BRASIL+DTOS(DT_LC)");
  EXPECT_EQ(index_files(20, "07").at(0).key, "CPF");
}

TEST(Catalogue, FoldersKindsAndSharing) {
  struct Case {
    int table;
    TableKind kind;
    TableFolder folder;
    Sharing sharing;
  };
  const Case cases[] = {
      {2, TableKind::declaration, TableFolder::work, Sharing::as_asked},
      {29, TableKind::working_copy, TableFolder::auxiliary, Sharing::exclusive},
      {42, TableKind::system, TableFolder::program, Sharing::shared},
      {44, TableKind::system, TableFolder::program, Sharing::exclusive},
      {46, TableKind::reference, TableFolder::program, Sharing::shared},
      {50, TableKind::system, TableFolder::program, Sharing::exclusive},
      {63, TableKind::system, TableFolder::program, Sharing::as_asked},
      {66, TableKind::reference, TableFolder::program, Sharing::as_asked},
      {67, TableKind::system, TableFolder::program, Sharing::as_asked},
      {68, TableKind::system, TableFolder::program, Sharing::exclusive},
      {70, TableKind::system, TableFolder::program, Sharing::exclusive},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("table " + std::to_string(c.table));
    const auto entry = table_entry(c.table, "07");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->kind, c.kind);
    EXPECT_EQ(entry->folder, c.folder);
    EXPECT_EQ(entry->sharing, c.sharing);
  }
}

TEST(Catalogue, OpeningNotes) {
  for (int n = 1; n <= kLastTable; ++n) {
    const auto e = table_entry(n, "00");
    if (!e) continue;
    EXPECT_EQ(e->needs_memo_file, n == 45) << n;
    EXPECT_EQ(e->seeds_folder_row, n == 50) << n;
    EXPECT_EQ(e->single_record, n == 43) << n;
  }
}

TEST(Catalogue, FolderListKeepsTheCaseOfPaths) {
  const auto entry = table_entry(50, "07");
  ASSERT_TRUE(entry);
  const dbf::Schema& layout = entry->layout();
  const auto key = dbf::KeyExpr::parse(entry->indexes.at(0).key, layout);
  auto key_of = [&](std::string_view path) {
    std::string record(static_cast<std::size_t>(layout.record_length()), ' ');
    dbf::put_text(record, *layout.find("DIRETOR"), path);
    return key.eval(dbf::RecordView(layout, record));
  };
  EXPECT_NE(key.compare(key_of("/srv/ir/Dados"), key_of("/srv/ir/DADOS")), 0);
  EXPECT_EQ(key.compare(key_of("/srv/ir/Dados"), key_of("/srv/ir/Dados")), 0);
}

TEST(Catalogue, NameRules) {
  EXPECT_EQ(declaration_table_name(7), "IMP0715");
  EXPECT_EQ(declaration_table_name(13, 14), "IMP1314");
  EXPECT_THROW(declaration_table_name(21), std::out_of_range);
  EXPECT_EQ(working_copy_name(4, "07"), "TMP_0407");
  EXPECT_EQ(working_copy_name(24, "07"), "TMP_0407");
  EXPECT_EQ(working_copy_name(40, "99"), "TMP_2099");
  EXPECT_THROW(working_copy_name(41, "07"), std::out_of_range);
  EXPECT_EQ(default_index_name("LisErro", 1), "LisErro");
  EXPECT_EQ(default_index_name("LisErro", 2), "LISERROB");
  EXPECT_EQ(default_index_name("imp0915", 3), "IMP0915C");
  EXPECT_THROW(default_index_name("X", 4), std::out_of_range);
}

}  // namespace
}  // namespace kx::store
