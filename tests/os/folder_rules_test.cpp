#include "os/folder_rules.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/cp850.h"
#include "temp_folder.h"

namespace kx::os {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

TEST(FolderRules, SeparatorRules) {
  struct Case {
    const char* path;
    const char* bar_dir;
    const char* bar_fora;
    const char* bar_esq;
    const char* tira_dir;
  };
  const Case cases[] = {
      {"/home/Escritorio/Dados", "/home/Escritorio/Dados/", "/home/Escritorio/Dados",
       "/home/Escritorio/Dados", "Dados"},
      {"/home/Dados/", "/home/Dados/", "/home/Dados", "/home/Dados/", ""},
      {"IMP0115.DBF", "IMP0115.DBF/", "IMP0115.DBF", "/IMP0115.DBF", "IMP0115.DBF"},
      {"", "/", "", "/", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BAR_DIR(c.path), c.bar_dir) << c.path;
    EXPECT_EQ(BAR_FORA(c.path), c.bar_fora) << c.path;
    EXPECT_EQ(BAR_ESQ(c.path), c.bar_esq) << c.path;
    EXPECT_EQ(TIRA_DIR(c.path), c.tira_dir) << c.path;
  }
}

TEST(FolderRules, VerdirIgnoresOneFinalSeparatorAndRefusesRelativePaths) {
  TempFolder tmp;
  fs::create_directories(tmp / "Dados");
  fs::create_directories(tmp / "Declarações");
  tmp.write("arquivo.txt");
  struct Case {
    std::string folder;
    bool exists;
  };
  const Case cases[] = {
      {tmp / "Dados", true},   {tmp / "Dados/", true},        {tmp / "Dados  ", true},
      {"/", true},             {tmp / "Outra", false},        {tmp / "arquivo.txt", false},
      {"Dados", false},        {"", false},
      // Found without regard to case; settings hold CP850 names.
      {tmp / "DADOS", true},   {cp850::from_utf8(tmp / "Declarações"), true},
  };
  for (const Case& c : cases) EXPECT_EQ(VERDIR(c.folder), c.exists) << "'" << c.folder << "'";
}

}  // namespace
}  // namespace kx::os
