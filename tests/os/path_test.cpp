#include "os/path.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "temp_folder.h"

namespace kx::os {
namespace {

using testing::TempFolder;

// Two folders that differ only in case, as when a tree copied from elsewhere is merged.
class CaseTree : public ::testing::Test {
 protected:
  void SetUp() override {
    tmp.write("x/dados/imp0115.dbf");
    tmp.write("x/dados/Imp0215.Dbf");
    tmp.write("x/DADOS/only_upper.txt");
    tmp.write("x/both/a.txt");
    tmp.write("x/both/A.TXT");
    tmp.write("x/Trab/keep");
  }
  std::string at(const std::string& relative) const { return tmp / relative; }
  TempFolder tmp;
};

TEST_F(CaseTree, FindsEachComponentWithoutRegardToCase) {
  struct Case {
    std::string query;
    std::optional<std::string> found;
  } cases[] = {
      {"x/dados/imp0115.dbf", "x/dados/imp0115.dbf"},
      {"x/Dados/IMP0115.DBF", "x/dados/imp0115.dbf"},
      // "DADOS" comes first in byte order but does not hold the file: the search goes on.
      {"x/DADOS/imp0215.DBF", "x/dados/Imp0215.Dbf"},
      {"x/dados/ONLY_UPPER.TXT", "x/DADOS/only_upper.txt"},
      {"X/dAdOs", "x/DADOS"},
      {"x/both/A.TXT", "x/both/A.TXT"},  // the exact spelling wins
      {"x/both/a.txt", "x/both/a.txt"},
      {"x/both/a.TXT", "x/both/A.TXT"},  // otherwise the first in byte order
      {"x/dados/imp0315.dbf", std::nullopt},
      {"x/dados/imp0115.dbf/inner", std::nullopt},
      {"y/dados", std::nullopt},
  };
  for (const Case& c : cases) {
    std::optional<std::string> expected;
    if (c.found) expected = at(*c.found);
    EXPECT_EQ(find_nocase(at(c.query)), expected) << c.query;
  }
  EXPECT_EQ(find_nocase(""), std::nullopt);
}

TEST_F(CaseTree, ResolvesNewFilesInsideTheFoldersThatExist) {
  struct Case {
    std::string query, resolved;
  } cases[] = {
      {"x/TRAB/KEEP", "x/Trab/keep"},
      {"x/TRAB/IMP0115.DBF", "x/Trab/IMP0115.DBF"},
      {"x/trab/Novo/TMP_0101.DBF", "x/Trab/Novo/TMP_0101.DBF"},
      {"z/A/B", "z/A/B"},
  };
  for (const Case& c : cases) EXPECT_EQ(resolve_nocase(at(c.query)), at(c.resolved)) << c.query;
}

TEST_F(CaseTree, TellsFilesFromFolders) {
  struct Case {
    std::string query;
    bool file, folder;
  } cases[] = {
      {"x/DADOS/IMP0115.DBF", true, false},
      {"X/TRAB", false, true},
      {"x/trab/none", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(file_exists(at(c.query)), c.file) << c.query;
    EXPECT_EQ(folder_exists(at(c.query)), c.folder) << c.query;
  }
}

TEST(Wildcard, MatchesWithoutRegardToCase) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  } cases[] = {
      {"*.CDX", "imp0115.cdx", true},
      {"*.CDX", "imp0115.cdx.bak", false},
      {"*.CDX", "cdx", false},
      {"tmp_*", "TMP_0101.DBF", true},
      {"tmp_*", "xtmp_01", false},
      {"IMP??15.DBF", "imp0115.dbf", true},
      {"IMP??15.DBF", "IMP115.DBF", false},
      {"IMP??15.DBF", "IMP00115.DBF", false},
      {"a*b*c", "aXbYbZc", true},
      {"a*b*c", "aXbYcZ", false},
      {"*", ".hidden", true},
      {"*.*", "LEIAME", true},
      {"LEIAME.*", "leiame", true},
      {"LEIAME.*", "LEIAME.TXT", true},
      {"LEIAME.*", "LEIAMEX", false},
      {"\xC7*", "\xE7x", false},  // only ASCII letters are folded
  };
  for (const Case& c : cases)
    EXPECT_EQ(wildcard_match(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
}

TEST(PathParts, SplitsFolderAndName) {
  struct Case {
    const char* path;
    const char* parent;
    const char* name;
  } cases[] = {
      {"/a/b/IMP0115.DBF", "/a/b", "IMP0115.DBF"},
      {"/a/b/", "/a", "b"},
      {"/b", "/", "b"},
      {"b", ".", "b"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(parent_of(c.path), c.parent) << c.path;
    EXPECT_EQ(name_of(c.path), c.name) << c.path;
  }
  EXPECT_EQ(join_path(parent_of("/a/b"), name_of("/a/b")), "/a/b");
}

}  // namespace
}  // namespace kx::os
