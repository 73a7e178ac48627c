#include "shell/folders.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "program_fixture.h"
#include "shell/configuration.h"
#include "shell/folder_dialog.h"

namespace kx::shell {
namespace {

using testing::ProgramFixture;

// The folder list of a started program with a second row for `folder`, current.
void add_row(ProgramFixture& x, const std::string& folder) {
  dbf::Table& list = x.f.workspace.table(kFolderList);
  list.append_blank();
  list.set_text("DIRETOR", folder);
  list.set_text("SELEC", "N");
  list.commit();
}

std::vector<std::pair<std::string, std::string>> rows(dbf::Table& list) {
  std::vector<std::pair<std::string, std::string>> out;
  list.scan([&](uint32_t, const dbf::RecordView& r) {
    out.emplace_back(text::trim(r.text(*r.schema().find("SELEC"))),
                     text::trim(r.text(*r.schema().find("DIRETOR"))));
    return true;
  });
  return out;
}

TEST(Folders, SelectingASecondRowClearsTheFirstAndMakesItsFolderCurrent) {
  ProgramFixture x;
  ASSERT_TRUE(x.program().start());
  const std::string clients = x.f.tmp / "Clientes A";
  std::filesystem::create_directory(clients);
  add_row(x, clients);
  ASSERT_TRUE(TROCASIM(x.f.session, 1));
  dbf::Table& list = x.f.workspace.table(kFolderList);
  const std::vector<std::pair<std::string, std::string>> want = {
      {"N", x.f.globals.ROTADEF}, {"S", clients}};
  EXPECT_EQ(rows(list), want);
  EXPECT_EQ(x.f.globals.LOCARQ, clients + "/");
  EXPECT_EQ(x.f.globals.ROTADOANO, clients);
  // The registry is the new folder's, created there.
  EXPECT_TRUE(store::same_file(std::filesystem::path(x.f.workspace.table(9).path()).parent_path().string(), clients));
  x.f.workspace.close_all();
  EXPECT_EQ(x.field_of("CONFIG", "NRO_TERM", "07", "ROTADOANO"), clients);
}

TEST(Folders, AMissingFolderIsCreatedOnlyWhenTheOperatorAgrees) {
  for (const bool agree : {false, true}) {
    ProgramFixture x;
    ASSERT_TRUE(x.program().start());
    const std::string fresh = x.f.tmp / "Nova";
    add_row(x, fresh);
    x.f.h.type(agree ? "s" : "n");
    EXPECT_EQ(TROCASIM(x.f.session, 1), agree);
    EXPECT_EQ(std::filesystem::is_directory(fresh), agree);
    EXPECT_EQ(x.f.globals.LOCARQ, agree ? fresh + "/" : x.f.globals.ARQDEF);
  }
}

TEST(Folders, AskingForAFolder) {
  struct Case {
    const char* purpose;
    const char* keys;
    const char* expected;  // relative to the temporary folder when it starts with "~"
  } cases[] = {
      {" KAPRIX", "<Esc>", "~Aux"},                // Esc keeps the current value
      {" KAPRIX", "<Enter>", "~Aux"},              // so does an empty entry
      {" KAPRIX", "D:<Enter>", "D:/"},             // a drive gets its final bar
      {" IRPF", "<Enter><Enter>", ""},              // the official folder may be left empty
      {" IRPF", "<Alt-P><Enter>s", "~home/ProgramasRFB/IRPF2015/aplicacao/dados"},
      {" KAPRIX", "~Outra<Enter>n<Esc>", "~Aux"},   // creation refused: asked again
  };
  for (const Case& c : cases) {
    ProgramFixture x;
    auto resolve = [&](std::string s) { return s.rfind('~', 0) == 0 ? x.f.tmp / s.substr(1) : s; };
    std::string keys = c.keys;
    if (auto p = keys.find('~'); p != std::string::npos) keys.replace(p, 1, x.f.tmp.path() + "/");
    x.f.h.type(keys);
    const std::string got =
        NOVA_ROTA(x.f.session, x.f.globals.DIRTRAB, c.purpose, 80, x.f.tmp / "home");
    EXPECT_EQ(got.size(), 80u);
    EXPECT_EQ(std::string(text::rtrim(got)), resolve(c.expected)) << c.keys;
  }
}

TEST(Folders, TheOfficialFolderSettingIsStoredWithItsFinalBar) {
  ProgramFixture x;
  ASSERT_TRUE(x.program().start());
  const std::string official = x.f.tmp / "receita";
  std::filesystem::create_directory(official);
  x.f.h.type(official + "<Enter>");
  SELAREA(x.f.session, 2, x.f.tmp / "home");
  EXPECT_EQ(x.f.globals.LOCIRPF, official + "/");
  x.f.workspace.close_all();
  EXPECT_EQ(x.field_of("CONFIG", "NRO_TERM", "07", "ROTAJAVA"), official);
}

TEST(Folders, TheDialogAddsAFolderAndMarkingItMakesItCurrent) {
  ProgramFixture x;
  ASSERT_TRUE(x.program().start());
  const std::string second = x.f.tmp / "Clientes B";
  std::filesystem::create_directory(second);
  // An empty folder is refused; then the new row takes the folder as typed.
  x.f.h.type("<Down><Enter><Enter><Enter><Esc>");
  x.f.h.type("<Down><Enter>" + second + "<Enter><Esc>");
  folder_dialog(x.f.session);
  dbf::Table& list = x.f.workspace.table(kFolderList);
  std::vector<std::pair<std::string, std::string>> want = {{"S", x.f.globals.ROTADEF}, {"N", second}};
  EXPECT_EQ(rows(list), want);

  // In folder order "Clientes B" comes first: "s" marks it (a one-letter entry ends by itself).
  x.f.h.type("<Enter>s<Esc>");
  folder_dialog(x.f.session);
  want = {{"N", x.f.globals.ROTADEF}, {"S", second}};
  EXPECT_EQ(rows(list), want);
  EXPECT_EQ(x.f.globals.LOCARQ, second + "/");

  // A letter other than S, N or blank is refused; Del removes a row.
  x.f.h.type("<Down><Enter>x<Enter><Del><Esc>");
  folder_dialog(x.f.session);
  want = {{"S", second}};
  EXPECT_EQ(rows(list), want);
}

}  // namespace
}  // namespace kx::shell
