#include <gtest/gtest.h>

#include <filesystem>

#include "../os/temp_folder.h"
#include "access_fixture.h"
#include "operator_script.h"
#include "store/folder.h"

namespace kx::store::testing {
namespace {

namespace fs = std::filesystem;

TEST(FolderNames, SameFileComparesIdentityNotSpelling) {
  os::testing::TempFolder tmp;
  fs::create_directories(tmp / "Dados");
  fs::create_directories(tmp / "Outra");
  fs::create_symlink(tmp / "Dados", tmp / "atalho");
  EXPECT_TRUE(same_file(tmp / "Dados", tmp / "Dados/"));
  EXPECT_TRUE(same_file(tmp / "Dados", tmp / "atalho"));
  EXPECT_FALSE(same_file(tmp / "Dados", tmp / "Outra"));
  EXPECT_FALSE(same_file(tmp / "Dados", tmp / "Nenhuma"));
}

TEST(FolderNames, CriNdirAsksThenCreatesEveryMissingLevel) {
  os::testing::TempFolder tmp;
  fs::create_directories(tmp / "A");
  ScriptedOperator op;
  const std::string folder = tmp / "A/B/C/";

  op.answers = {false};
  EXPECT_FALSE(CRI_NDIR(op, folder, "dados"));
  EXPECT_FALSE(fs::exists(tmp / "A/B"));
  EXPECT_EQ(op.events, std::vector<std::string>{"ask: Pasta nova para dados? | Cria a nova pasta?"});

  op.answers = {true};
  EXPECT_TRUE(CRI_NDIR(op, folder, "dados"));
  EXPECT_TRUE(fs::is_directory(tmp / "A/B/C"));
  op.events.clear();
  EXPECT_TRUE(CRI_NDIR(op, folder, "dados"));  // there now: nothing asked
  EXPECT_TRUE(op.events.empty());
}

TEST(FolderNames, CriNdirTellsWhatCannotBeCreated) {
  os::testing::TempFolder tmp;
  tmp.write("A/arquivo");
  ScriptedOperator op;
  op.answers = {true};
  const std::string blocked = tmp / "A/arquivo/B";
  EXPECT_FALSE(CRI_NDIR(op, blocked, "dados"));
  EXPECT_EQ(op.boxes(), std::vector<std::string>{"Problemas ao criar a pasta " + blocked});

  op.events.clear();
  EXPECT_FALSE(CRI_NDIR(op, "relativa/B", "dados"));  // refused without asking
  EXPECT_EQ(op.events, std::vector<std::string>{"box: Problemas ao criar a pasta relativa/B"});
}

TEST(FolderNames, VejaArqReportsTheFirstMissingTable) {
  os::testing::TempFolder tmp;
  for (const char* name : {"MVN1A.DBF", "MVN2A.DBF", "IMP0114.DBF", "IMP0214.DBF"}) tmp.write(name);
  struct Case {
    int count;
    const char* prefix;
    const char* suffix;
    const char* missing;  // nullptr: none
  };
  const Case cases[] = {
      {2, "MVN", "A", nullptr},
      {3, "MVN", "A", "MVN3A.DBF"},
      {2, "IMP", "14", nullptr},
      {3, "IMP", "14", "IMP0314.DBF"},
      {1, "IRM", "A", "IRM1A.DBF"},
  };
  for (const Case& c : cases) {
    ScriptedOperator op;
    EXPECT_EQ(VEJA_ARQ(op, c.count, tmp.path(), c.prefix, c.suffix), c.missing != nullptr)
        << c.prefix << c.count;
    if (c.missing)
      EXPECT_EQ(op.boxes(),
                std::vector<std::string>{cp("Não encontrado o Arquivo ") + tmp / c.missing});
    else
      EXPECT_TRUE(op.boxes().empty());
  }
}

}  // namespace
}  // namespace kx::store::testing
