#include "declaration/cpf_prompt.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/text.h"
#include "declaration/taxpayer_screens.h"
#include "store/catalogue.h"
#include "store/layout.h"
#include "taxpayer_fixture.h"

namespace kx::declaration {
namespace {

using Outcome = PromptResult::Outcome;

class CpfPromptTest : public testing::TaxpayerScreenTest {
 protected:
  CpfPromptTest() {
    add("52998224725", "ZELIA PRADO", {{"ESTATUS", "3"}, {"USAPADRAO", "S"}});
    add("11144477735", "ANA SOUZA", {{"ESTATUS", "7"}, {"USAPADRAO", "N"}, {"TEMRURAL", "S"}});
    add("39053344705", "BRUNO LIMA", {{"ESTATUS", "1"}, {"USAPADRAO", "S"}});
    add("86288366757", "MARIA ALVES", {{"ESTATUS", "2"}, {"USAPADRAO", "S"}});
  }

  PromptResult prompt(const std::string& script, int command = 11) {
    f.h.type(script);
    PromptResult r = GET_CODIGO(f.session, command, services);
    EXPECT_TRUE(f.h.terminal.script_done()) << f.h.dump();
    return r;
  }

  PromptServices services;
};

TEST_F(CpfPromptTest, WrongCheckDigitsAreToldWithTheRightOnes) {
  const PromptResult r = prompt("52998224700<Enter>52998224725");
  EXPECT_TRUE(seen("ATENÇÃO! CPF 529.982.247-00 está incorreto."));
  EXPECT_TRUE(seen("O dígito para esse número é:25"));
  ASSERT_TRUE(r.chosen());
  EXPECT_EQ(r.cpf, "52998224725");
  EXPECT_EQ(r.name, "ZELIA PRADO");
  EXPECT_FALSE(r.is_new);
  EXPECT_EQ(f.globals.CPF, "52998224725");
  EXPECT_EQ(f.globals.NOMECONTR, "ZELIA PRADO");
}

TEST_F(CpfPromptTest, TheWindowShowsCpfNameAndFolder) {
  f.globals.CPF = "39053344705";
  f.globals.NOMECONTR = "BRUNO LIMA";
  EXPECT_EQ(prompt("<Esc>").outcome, Outcome::left);
  ASSERT_FALSE(screens.empty());
  const std::string& shown = screens.front();
  EXPECT_NE(shown.find("┌─ C P F ────────┬─ Nome"), std::string::npos);
  EXPECT_NE(shown.find("390.533.447-05"), std::string::npos);
  EXPECT_NE(shown.find("BRUNO LIMA"), std::string::npos);
  EXPECT_NE(shown.find("  Pasta atual  : " + f.globals.LOCARQ.substr(0, 20)), std::string::npos);
  EXPECT_NE(shown.find("F1=Nome F2=CPF F3=Stat F4=Rec. F5=Corr."), std::string::npos);
}

TEST_F(CpfPromptTest, NameSearch) {
  const struct {
    const char* script;
    const char* cpf;
    bool list_shown;
  } cases[] = {
      {"<Enter>BRU<Enter>", "39053344705", false},       // a name starts so: taken at once
      {"<Enter>BZ<Enter><Enter>", "86288366757", true},  // list at the nearest: MARIA
      {"<Enter>BZ<Enter><Down><Enter>", "52998224725", true},
  };
  for (const auto& c : cases) {
    screens.clear();
    f.globals.CPF.clear();
    const PromptResult r = prompt(c.script);
    SCOPED_TRACE(c.script);
    ASSERT_TRUE(r.chosen());
    EXPECT_EQ(r.cpf, c.cpf);
    EXPECT_EQ(seen("Nome do Contribuinte"), c.list_shown);
  }
}

TEST_F(CpfPromptTest, ListsChooseByTheirOrderAndQuickSearch) {
  const struct {
    const char* script;
    const char* cpf;
  } cases[] = {
      {"<F2><Ctrl-PgUp><Enter><Enter>", "11144477735"},      // first by CPF
      {"<F2><Ctrl-PgDn><Enter><Enter>", "86288366757"},      // last by CPF
      {"<F1><Ctrl-PgUp><Enter><Enter>", "11144477735"},      // ANA first by name
      {"<F1><Ctrl-PgDn><Enter><Enter>", "52998224725"},      // ZELIA last
      {"<F3><Ctrl-PgUp><Enter><Enter>", "39053344705"},      // status 1 first
      {"<F2>M<Enter><Enter>", "86288366757"},                // a letter: by name
      {"<F1>5<Enter><Enter>", "52998224725"},                // a digit: by CPF
      {"<F1>Q<Enter><Enter>", "52998224725"},                // nothing from Q on but ZELIA
      {"<F2><F1><Ctrl-PgUp><Enter><Enter>", "11144477735"},  // reordered inside the list
      {"<F8><Ctrl-PgDn><Enter><Enter>", "11144477735"},      // rural only: ANA
      {"<F2><Esc>39053344705", "39053344705"},               // Esc chooses nothing
  };
  for (const auto& c : cases) {
    const PromptResult r = prompt(c.script);
    SCOPED_TRACE(c.script);
    ASSERT_TRUE(r.chosen());
    EXPECT_EQ(r.cpf, c.cpf);
    // The rural restriction lasts one showing; the registry is back in CPF order.
    EXPECT_EQ(f.workspace.table(9).order(), 1);
  }
}

TEST_F(CpfPromptTest, ListColumnsAndTotals) {
  prompt("<F2><Esc><Esc>");
  EXPECT_TRUE(seen("Nome do Contribuinte"));
  EXPECT_TRUE(seen("ANA SOUZA"));
  EXPECT_TRUE(seen("111.444.777-35"));
  EXPECT_TRUE(seen("4 Declaraçöes"));
  EXPECT_TRUE(seen("75.00% Simples"));
  EXPECT_TRUE(seen("25.00% Compl"));
}

TEST_F(CpfPromptTest, UnknownCpf) {
  const char* unknown = "71428793860";
  // The edit command offers a first entry.
  PromptResult r = prompt(std::string(unknown) + "<Enter>");
  EXPECT_TRUE(seen("Esse Contribuinte não está cadastrado"));
  ASSERT_TRUE(r.chosen());
  EXPECT_TRUE(r.is_new);
  EXPECT_EQ(r.cpf, unknown);
  EXPECT_EQ(prompt(std::string(unknown) + "n").outcome, Outcome::declined);
  // Other commands only tell.
  screens.clear();
  EXPECT_EQ(prompt(std::string(unknown) + "<Enter>", 51).outcome, Outcome::declined);
  EXPECT_TRUE(seen("O contribuinte não foi localizado em nenhum das pastas"));
}

TEST_F(CpfPromptTest, OpenOnThisTerminalOffersTheRestoreOnlyForItsOwnFolder) {
  dbf::Table& t = f.workspace.table(9);
  ASSERT_TRUE(t.seek("52998224725"));
  t.lock_record(t.recno(), {1000, 50, {}});
  t.set_text("NUSUAT", "07");
  t.commit();
  t.unlock_all();
  const struct {
    std::string marker_folder;
    std::string script;
    bool asked, restore;
  } cases[] = {
      {f.globals.LOCARQ, "52998224725<Enter>", true, true},
      {f.globals.LOCARQ, "52998224725n", true, false},
      {"/elsewhere/", "52998224725", false, false},
  };
  for (const auto& c : cases) {
    services.unfinished = [&] { return Unfinished{c.marker_folder, "52998224725"}; };
    screens.clear();
    const PromptResult r = prompt(c.script);
    SCOPED_TRACE(c.script + " " + c.marker_folder);
    ASSERT_TRUE(r.chosen());
    EXPECT_EQ(seen("não terminou corretamente"), c.asked);
    EXPECT_EQ(r.restore, c.restore);
    EXPECT_EQ(f.globals.LRECUPERA, c.restore);
  }
}

TEST_F(CpfPromptTest, RestartKey) {
  // No marker: told, and the prompt goes on.
  PromptResult r = prompt("<F4><Enter><Esc>");
  EXPECT_TRUE(seen("Impossível recuperar o último CPF."));
  EXPECT_EQ(r.outcome, Outcome::left);
  // A marker of this folder: restored.
  services.unfinished = [&] { return Unfinished{f.globals.LOCARQ, "39053344705"}; };
  r = prompt("<F4>");
  ASSERT_TRUE(r.chosen());
  EXPECT_EQ(r.cpf, "39053344705");
  EXPECT_TRUE(r.restore);
  // A first entry interrupted before it was ever saved: restored although not registered.
  services.unfinished = [&] { return Unfinished{f.globals.LOCARQ, "71428793860"}; };
  r = prompt("<F4>");
  ASSERT_TRUE(r.chosen());
  EXPECT_EQ(r.cpf, "71428793860");
  EXPECT_TRUE(r.restore);
  // Other commands do not take F4.
  EXPECT_EQ(prompt("<F4><Esc>", 12).outcome, Outcome::left);
}

// A second work folder with one taxpayer, in the terminal's folder list.
class OtherFolderTest : public CpfPromptTest {
 protected:
  OtherFolderTest() {
    std::filesystem::create_directories(f.tmp.path() + "/Outra Pasta");
    const std::string file =
        f.tmp.path() + "/Outra Pasta/" + store::declaration_table_name(9) + ".DBF";
    dbf::Table::create(file, store::declaration_layout(9));
    {
      dbf::Table t = dbf::Table::open(file, {dbf::OpenMode::shared, false}, f.h.clock);
      add_row(t, {{"CPF", "71428793860"}, {"NOMECONTR", "OTAVIO NUNES"}});
    }
    store::Access a = f.session.access();
    EXPECT_TRUE(store::ABERTURA(a, 50));
    dbf::Table& list = f.workspace.table(50);
    list.append_blank();
    list.set_text("DIRETOR", f.tmp.path() + "/Outra Pasta/");
    list.commit();
    other = f.tmp.path() + "/Outra Pasta/";
  }
  std::string other;
};

TEST_F(OtherFolderTest, ACpfOfAnotherFolderMakesThatFolderCurrent) {
  const PromptResult r = prompt("71428793860", 12);
  ASSERT_TRUE(r.chosen());
  EXPECT_EQ(r.name, "OTAVIO NUNES");
  EXPECT_EQ(f.globals.LOCARQ, other);
  EXPECT_EQ(r.folder, other);
  EXPECT_EQ(std::string(text::trim(f.workspace.table(9).get_text("CPF"))), "71428793860");
  // The folder stays current: the next prompt finds the taxpayer there.
  EXPECT_TRUE(prompt("71428793860", 12).chosen());
}

TEST_F(OtherFolderTest, RestartGoesToTheMarkersFolder) {
  services.unfinished = [&] { return Unfinished{other, "71428793860"}; };
  const PromptResult r = prompt("<F4>");
  ASSERT_TRUE(r.chosen());
  EXPECT_TRUE(r.restore);
  EXPECT_EQ(f.globals.LOCARQ, other);
  EXPECT_EQ(r.name, "OTAVIO NUNES");
}

}  // namespace
}  // namespace kx::declaration
