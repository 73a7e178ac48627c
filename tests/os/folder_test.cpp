#include "os/folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "os/error.h"
#include "os/path.h"
#include "temp_folder.h"

namespace kx::os {
namespace {

using testing::TempFolder;

TEST(CreateFolders, MakesEveryMissingLevel) {
  TempFolder tmp;
  std::filesystem::create_directory(tmp / "A");
  CreateFoldersResult r = create_folders(tmp / "A/B/C");
  EXPECT_TRUE(r.ok()) << r.failed_level;
  EXPECT_TRUE(std::filesystem::is_directory(tmp / "A/B/C"));
  EXPECT_TRUE(create_folders(tmp / "A/B/C/").ok());  // already there
}

TEST(CreateFolders, UsesExistingLevelsWhateverTheirCase) {
  TempFolder tmp;
  std::filesystem::create_directories(tmp / "dados/ano");
  EXPECT_TRUE(create_folders(tmp / "DADOS/ANO/Novo").ok());
  EXPECT_TRUE(std::filesystem::is_directory(tmp / "dados/ano/Novo"));
  EXPECT_FALSE(std::filesystem::exists(tmp / "DADOS"));
}

TEST(CreateFolders, ReportsTheLevelThatFailed) {
  TempFolder tmp;
  std::string file = tmp.write("A/arquivo.txt", "x");
  CreateFoldersResult r = create_folders(tmp / "A/ARQUIVO.TXT/B/C");
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.failed_level, file);
  EXPECT_EQ(r.code, ENOTDIR);
  EXPECT_FALSE(std::filesystem::exists(tmp / "A/B"));
  EXPECT_FALSE(create_folders("").ok());
}

TEST(ListFolder, MatchesAndSortsWithoutRegardToCase) {
  TempFolder tmp;
  for (const char* name : {"imp0215.cdx", "IMP0115.CDX", "Imp0115.dbf", "tmp_0101.dbf",
                           "TMP_0201.DBF", "IMP0115.DBF.bak", "leiame"})
    tmp.write(std::string("Dados/") + name, "12345");
  std::filesystem::create_directory(tmp / "Dados/tmp_folder");

  auto names = [&](const std::string& folder, const char* pattern) {
    std::vector<std::string> out;
    for (const FolderEntry& e : list_folder(folder, pattern)) out.push_back(e.name);
    return out;
  };
  using Names = std::vector<std::string>;
  EXPECT_EQ(names(tmp / "DADOS", "*.CDX"), (Names{"IMP0115.CDX", "imp0215.cdx"}));
  EXPECT_EQ(names(tmp / "dados", "tmp_*"), (Names{"tmp_0101.dbf", "TMP_0201.DBF", "tmp_folder"}));
  EXPECT_EQ(names(tmp / "Dados", "IMP??15.DBF"), (Names{"Imp0115.dbf"}));
  EXPECT_EQ(names(tmp / "Dados", "*").size(), 8u);

  std::vector<FolderEntry> entries = list_folder(tmp / "Dados", "tmp_*");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_FALSE(entries[0].folder);
  EXPECT_EQ(entries[0].size, 5);
  EXPECT_TRUE(entries[2].folder);
}

TEST(ListFolder, MissingFolderIsAnError) {
  TempFolder tmp;
  EXPECT_THROW(list_folder(tmp / "none", "*"), Error);
}

TEST(FreeSpace, MeasuresTheFolderFileSystem) {
  TempFolder tmp;
  EXPECT_GT(free_space(tmp.path()), 0);
  EXPECT_THROW(free_space(tmp / "none"), Error);
}

TEST(RemoveAndRename, ReportWhatHappened) {
  TempFolder tmp;
  std::string a = tmp.write("a.dbf", "A"), b = tmp.write("sub/b.dbf", "B");
  rename_file(a, b);
  EXPECT_FALSE(std::filesystem::exists(a));
  EXPECT_EQ(tmp.read("sub/b.dbf"), "A");
  EXPECT_THROW(rename_file(a, b), Error);
  EXPECT_TRUE(remove_file(b));
  EXPECT_FALSE(remove_file(b));
  EXPECT_THROW(remove_file(tmp.path()), Error);  // a folder is not removed as a file
}

}  // namespace
}  // namespace kx::os
