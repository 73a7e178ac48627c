#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/cp850.h"
#include "menu_fixture.h"
#include "os/error.h"
#include "shell/menu_select.h"

namespace kx::shell {
namespace {

using testing::MenuFixture;

TEST(MenuSelect, CommandsWithoutTheirOperationSayTheyAreNotAvailable) {
  struct Case {
    int code, argument;
    const char* keys;  // what the operator answers
  };
  const Case cases[] = {
      {11, 0, "<Enter>"}, {12, 0, "<Enter>"}, {13, 0, "<Enter>"}, {14, 0, "<Enter>"}, {15, 0, "<Enter>"},
      {16, 1, "<Enter>"}, {17, 0, "<Enter>"}, {18, 0, "<Enter>"}, {21, 0, "<Enter>"},
      {22, 0, "<Enter><Enter>"},  // the warning about being alone, then the box
      {25, 0, "<Enter>"}, {27, 1, "<Enter>"}, {28, 0, "<Enter>"}, {29, 0, "<Enter>"}, {30, 0, "<Enter>"},
      {31, 1, "<Enter>"}, {32, 1, "<Enter>"}, {33, 1, "<Enter>"}, {34, 1, "<Enter>"}, {45, 1, "<Enter>"},
      {51, 0, "<Enter>"}, {53, 0, "<Enter>"}, {61, 0, "<Enter>"}, {62, 0, "<Enter>"}, {63, 0, "<Enter>"},
      {67, 0, "<Enter>"}, {68, 0, "<Enter>"}, {71, 1, "<Enter>"}, {72, 1, "<Enter>"}, {73, 1, "<Enter>"},
      {74, 1, "<Enter>"}, {75, 1, "<Enter>"}, {76, 2, "<Enter>"}, {91, 0, "<Enter>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    MenuFixture f;
    f.h.type(c.keys);
    f.menu().MENUSELECT(c.code, c.argument);
    EXPECT_TRUE(f.saw(cp850::to_utf8(ui::kNotAvailable)));
    EXPECT_TRUE(f.h.terminal.script_done());
    EXPECT_EQ(f.globals.OPCAO_1, c.code);
  }
}

TEST(MenuSelect, CommandsOfOtherPartsGetTheirArguments) {
  MenuFixture f;
  std::vector<std::string> calls;
  f.ops.declaration_entry = [&](std::string_view title) {
    calls.push_back(cp850::to_utf8(title) + " " + std::to_string(f.globals.OPCAO_1));
  };
  f.ops.exclusion = [&](int argument, std::string_view title) {
    calls.push_back(std::to_string(argument) + " " + cp850::to_utf8(title));
  };
  f.ops.leave = [&](int code) { calls.push_back("leave " + std::to_string(code)); };
  f.ops.select_area = [&](int n) { calls.push_back("area " + std::to_string(n)); };
  f.menu().MENUSELECT(11);
  f.menu().MENUSELECT(13);
  f.menu().MENUSELECT(16, 1);
  f.menu().MENUSELECT(16, 2);
  f.menu().MENUSELECT(18);
  f.menu().MENUSELECT(21);
  f.menu().MENUSELECT(67);
  EXPECT_EQ(calls, (std::vector<std::string>{"Declaracão 11", "Conferência 13", "1 Exclusão de toda a declaração",
                                             "2 Exclusão apenas da Atividade Rural", "leave 18", "area 1",
                                             "area 2"}));
}

TEST(MenuSelect, NothingRunsWhileADeclarationIsOpenFullScreen) {
  MenuFixture f;
  int ran = 0;
  f.ops.declaration_entry = [&](std::string_view) { ++ran; };
  f.ops.leave = [&](int) { ++ran; };
  f.globals.LESTOUNADECL = true;
  f.menu().MENUCOMMAND(0);
  f.choose("<Alt-F>");  // "Fim"
  f.choose("<Alt-S><Enter><Down><Down><Down><Down><Enter>");  // "Darfes"
  f.menu().MENUSELECT(11);
  EXPECT_EQ(ran, 0);
  EXPECT_EQ(f.globals.QUEIMP, 1);
  EXPECT_EQ(f.globals.OPCAO_1, 11);
  EXPECT_TRUE(f.h.terminal.script_done());
}

TEST(MenuSelect, HandOverNeedsTheOfficialProgramsFolder) {
  MenuFixture f;
  std::vector<std::string> titles;
  f.ops.declaration_entry = [&](std::string_view title) { titles.push_back(cp850::to_utf8(title)); };
  f.ops.hand_over_many = [&](int code) { titles.push_back(std::to_string(code)); };
  f.globals.LOCIRPF = "";
  for (int code : {61, 62, 63}) {
    f.h.type("<Enter>");
    f.menu().MENUSELECT(code);
  }
  EXPECT_TRUE(f.saw("Preencha abaixo em Pasta do IRPF a pasta do programa da receita"));
  EXPECT_TRUE(titles.empty());

  f.globals.LOCIRPF = f.globals.DIRTRAB + "/";
  f.h.type("<Enter><Enter>");
  f.menu().MENUSELECT(61);
  f.menu().MENUSELECT(63);
  EXPECT_TRUE(f.saw("Evite o envio da declaração com o IRPF da Receita aberto. "));
  EXPECT_EQ(titles, (std::vector<std::string>{"Transferência para o programa da Receita", "63"}));
}

TEST(MenuSelect, HandOverWhenADeclarationEnds) {
  struct Case {
    int optTran, code, argument;
    int want;
    const char* message;
  };
  const Case cases[] = {
      {2, 65, 2, 2, "somente as declarações com o Status  9"},
      {1, 65, 2, 0, "nenhuma declaração será transferida"},
      {0, 65, 1, 1, "todas as declarações independente do status"},
      {2, 64, 2, 0, "nenhuma declaração será transferida"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.code) + "," + std::to_string(c.argument));
    MenuFixture f;
    f.globals.OPTTRAN = c.optTran;
    f.h.type("<Enter>");
    f.menu().MENUSELECT(c.code, c.argument);
    EXPECT_EQ(f.globals.OPTTRAN, c.want);
    EXPECT_TRUE(f.saw(c.message));
    EXPECT_EQ(f.stored("CONFIG", "OPTTRAN"), std::to_string(c.want));
  }
}

TEST(MenuSelect, StatusCodesAreCheckedAgainstTheStatusTable) {
  MenuFixture f;
  f.h.type("5<Enter><Home>07<Enter>");  // 5 is no status; 7 is
  f.menu().MENUSELECT(64, 1);
  EXPECT_EQ(f.globals.SOESTE, 7);
  EXPECT_EQ(f.globals.OPTTRAN, 2);
  EXPECT_TRUE(f.h.terminal.script_done());

  f.h.type("<Esc>");  // leaving the prompt changes nothing
  f.menu().MENUSELECT(64, 1);
  EXPECT_EQ(f.globals.SOESTE, 7);

  f.h.type("S2<Enter>");
  f.menu().MENUSELECT(66);
  EXPECT_EQ(f.globals.ENV_STAT, 1);
  EXPECT_EQ(f.globals.OPC_TRAN, 2);
  f.h.type("N");
  f.menu().MENUSELECT(66);
  EXPECT_EQ(f.globals.ENV_STAT, 0);
  EXPECT_EQ(f.stored("CONFIG", "SOESTE"), "7");
  EXPECT_EQ(f.stored("CONFIG", "OPC_TRAN"), "2");
  EXPECT_EQ(f.stored("CONFIG", "ENV_STAT"), "0");
}

TEST(MenuSelect, NumberOfCopies) {
  struct Case {
    const char* keys;
    int want;
  };
  for (const Case& c : {Case{"0", 1}, Case{"<Esc>", 1}, Case{"4", 4}}) {
    SCOPED_TRACE(c.keys);
    MenuFixture f;
    f.globals.QUEIMP = 5;
    f.h.type(c.keys);
    f.menu().MENUSELECT(47, 1);
    EXPECT_EQ(f.globals.NRO_VIAS, c.want);
    EXPECT_EQ(f.menu().items.ITEM7, "&7-Vias " + std::to_string(c.want));
    EXPECT_EQ(f.stored("CONFIG", "QUEIMP"), "5");
  }
}

TEST(MenuSelect, SettingsStoredInTheTablesSurviveAReopen) {
  MenuFixture f;
  f.menu().MENUSELECT(41, 5);
  f.menu().MENUSELECT(42, 2);
  f.menu().MENUSELECT(44, 3);
  f.h.type("NSN");
  f.menu().MENUSELECT(46, 1);
  f.h.type("N");
  f.menu().MENUSELECT(36, 1);
  EXPECT_EQ(f.workspace.held(42), nullptr);  // the settings tables are closed after 21..36
  EXPECT_EQ(f.workspace.held(43), nullptr);
  f.h.type("<Right><Enter>");  // the button "2"
  f.menu().MENUSELECT(36, 2);
  f.menu().MENUSELECT(26, 3);
  f.h.type("S");
  f.menu().MENUSELECT(77);
  f.h.type("N");
  f.menu().MENUSELECT(35);
  EXPECT_TRUE(f.h.terminal.script_done());

  struct Stored {
    const char* table;
    const char* field;
    const char* value;
  };
  for (const Stored& s : {Stored{"CONFIG", "QUEIMP", "5"}, Stored{"CONFIG", "QUEMOD", "2"},
                          Stored{"CONFIG", "QUECON", "3"}, Stored{"CONFIG", "MOSIMP", "N"},
                          Stored{"CONFIG", "MOSTEL", "S"}, Stored{"CONFIG", "MOSCPF", "N"},
                          Stored{"CONFIG", "OPCIRPF", "N"}, Stored{"CONFIG", "OPCFIM", "2"},
                          Stored{"DEFINE", "TEMP_SAL", "99"}, Stored{"DEFINE", "COMO_SAL", "3"},
                          Stored{"DEFINE", "PROGCOMP", "S"}, Stored{"DEFINE", "VER_ATUAL", "N"}}) {
    EXPECT_EQ(f.stored(s.table, s.field), s.value) << s.table << "." << s.field;
  }
}

TEST(MenuSelect, AutomaticSaveTakesAtLeastOneMinuteAndShowsInTheBar) {
  MenuFixture f;
  f.globals.TEMP_SAL = 0;
  f.menu().MENUCOMMAND(0);
  f.h.type("0<Enter>20");  // 0 is refused; two digits end the field
  f.menu().MENUSELECT(26, 1);
  EXPECT_TRUE(f.h.terminal.script_done());
  EXPECT_EQ(f.globals.TEMP_SAL, 20);
  EXPECT_EQ(f.stored("DEFINE", "TEMP_SAL"), "20");
  EXPECT_EQ(f.stored("DEFINE", "COMO_SAL"), "1");
  EXPECT_TRUE(f.saw("Tempo para gravar em minutos"));

  f.h.type("<Esc>");  // leaving the field keeps what it proposed
  f.globals.TEMP_SAL = 99;
  f.menu().MENUSELECT(26, 1);
  EXPECT_EQ(f.globals.TEMP_SAL, 15);

  bool shown = false;
  for (int id = 1001; id <= f.h.frame.LWINDOWMAIN().oMenu->nCount; ++id) {
    ui::LMenuItem* item = f.h.frame.LWINDOWMAIN().oMenu->find(id);
    shown = shown || (item && cp850::to_utf8(item->cPrompt) == "&Automático a cada 15 minutos");
  }
  EXPECT_TRUE(shown);
}

TEST(MenuSelect, LastBackupDateMovesOnlyAfterABackupThatWasMade) {
  struct Case {
    bool made;
    int code, argument;
    const char* keys;
    bool moves;
  };
  const Case cases[] = {
      {true, 71, 1, "<Enter>", true},   {false, 71, 1, "<Enter>", false}, {true, 71, 2, "", false},
      {true, 73, 1, "", true},          {false, 73, 1, "", false},        {true, 74, 1, "S", true},
      {true, 74, 1, "N", false},        {true, 72, 1, "D", false}, {true, 76, 1, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.code) + "," + std::to_string(c.argument) + (c.made ? " made" : " failed"));
    MenuFixture f;
    const Date before = *Date::from_ymd(2015, 2, 1);
    f.globals.ULTBACK = before;
    f.globals.XDRIVE = "A";
    f.ops.backup = [&](int, int) { return c.made; };
    f.h.type(c.keys);
    f.menu().MENUSELECT(c.code, c.argument);
    EXPECT_TRUE(f.h.terminal.script_done());
    EXPECT_NE(f.workspace.held(9), nullptr);  // the registry is open again
    const Date want = c.moves ? f.h.clock.today() + 4 : before;
    EXPECT_EQ(f.globals.ULTBACK, want);
    if (c.moves) {
      EXPECT_EQ(f.stored("CONFIG", "ULTBACK"), want.dtos());
    }
  }
}

TEST(MenuSelect, DriveLetterOfTheBackupOfAllFolders) {
  MenuFixture f;
  int ran = 0;
  f.ops.backup = [&](int, int) { return ++ran, true; };
  f.globals.XDRIVE = "D";
  f.h.type("<Del><Enter>");  // an empty letter: "A", and nothing is compressed
  f.menu().MENUSELECT(72, 1);
  EXPECT_EQ(f.globals.XDRIVE, "A");
  EXPECT_EQ(ran, 0);
  f.h.type("e");
  f.menu().MENUSELECT(72, 1);
  EXPECT_EQ(f.globals.XDRIVE, "E");
  EXPECT_EQ(ran, 1);
}

TEST(MenuSelect, CompressorAndProcessor) {
  struct Case {
    const char* progcomp;
    const char* processa;
    int code;
    const char* keys;
    const char* want_progcomp;
    const char* want_processa;
    const char* message;
  };
  const Case cases[] = {
      {"N", "N", 77, "S", "S", "N", "o programa ICE. Troca para o 7zip ?"},
      {"S", "N", 77, "N", "S", "N", "o programa 7zip. Troca para o ICE ?"},
      {"N", "N", 78, "<Enter>", "N", "N", "O programa ICE não funciona em 64 bits. Troque para o 7Z"},
      {"S", "N", 78, "S", "S", "S", "usado em processador de 64 bits. Troca para 32 bits?"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    MenuFixture f;
    f.globals.PROGCOMP = c.progcomp;
    f.globals.PROCESSA = c.processa;
    f.h.type(c.keys);
    f.menu().MENUSELECT(c.code);
    EXPECT_TRUE(f.saw(c.message));
    EXPECT_EQ(f.stored("DEFINE", "PROGCOMP"), c.want_progcomp);
    EXPECT_EQ(f.stored("DEFINE", "PROCESSA"), c.want_processa);
  }
}

TEST(MenuSelect, ReprintNeedsTheLastPrintFile) {
  MenuFixture f;
  int reprinted = 0;
  f.ops.reprint = [&] { ++reprinted; };
  f.h.type("<Enter>");
  f.menu().MENUSELECT(52);
  EXPECT_TRUE(f.saw("Gere antes o arquivo NAO DOS usando no item acima"));
  EXPECT_EQ(reprinted, 0);
  std::ofstream(f.globals.LOCTRAB + "nao-dos.txt") << "page\n";
  f.menu().MENUSELECT(52);
  EXPECT_EQ(reprinted, 1);
  EXPECT_NE(f.workspace.held(9), nullptr);
}

TEST(MenuSelect, PrintSelectionBoxAndPrinterChoice) {
  MenuFixture f;
  f.ops.choose_printer = [](int) { return std::optional<std::string>("EPSON LX"); };
  f.menu().MENUCOMMAND(0);
  f.menu().MENUSELECT(45, 1);
  EXPECT_EQ(f.menu().NOMEIMP, "EPSON LX");
  bool shown = false;
  std::function<void(const std::vector<std::unique_ptr<ui::LMenuItem>>&)> walk = [&](const auto& items) {
    for (const auto& it : items) {
      shown = shown || it->cPrompt == "Porta de saida ";
      walk(it->items);
    }
  };
  walk(f.h.frame.LWINDOWMAIN().oMenu->aItem());
  EXPECT_TRUE(shown);  // the bar was rebuilt for a printer of its own

  f.menu().MENUSELECT(41, 12);
  f.h.type("<Enter>");
  f.menu().MENUSELECT(48, 1);
  for (const char* line : {"1-Cadastro           ", "2-Etiquetas     ", "3-Folha única", "4-Individual  ",
                           "Impressora EPSON LX", "7- Nro de Vias 1", "Selecao para impressao"}) {
    EXPECT_TRUE(f.saw(line)) << line;
  }
}

TEST(MenuSelect, AFailingCommandIsReportedAndTheSettingsTablesAreClosed) {
  MenuFixture f;
  f.ops.fees = [] { throw os::Error("write", "/x/DEFINE.DBF", ENOSPC); };
  f.h.type("<Enter>");
  f.menu().MENUSELECT(25);
  EXPECT_TRUE(f.saw("write /x/DEFINE.DBF"));
  EXPECT_EQ(f.workspace.held(42), nullptr);
  EXPECT_EQ(f.workspace.held(43), nullptr);
}

TEST(MenuSelect, TheRegistryIsOpenAgainAfterACommandThatFailed) {
  MenuFixture f;
  f.ops.import_previous_year = [&] {
    EXPECT_EQ(f.workspace.held(9), nullptr);  // closed while the import runs
    throw os::Error("read", "/x/IMP0914.DBF", EIO);
  };
  f.h.type("<Enter>");
  f.menu().MENUSELECT(17);
  EXPECT_TRUE(f.saw("read /x/IMP0914.DBF"));
  EXPECT_NE(f.workspace.held(9), nullptr);
}

TEST(MenuSelect, UpdateCheckFromTheMenu) {
  MenuFixture f;
  std::vector<int> modes;
  f.ops.update_check = [&](int mode) { modes.push_back(mode); };
  f.h.type("S");
  f.menu().MENUSELECT(35);
  EXPECT_EQ(f.globals.VER_ATUAL, "S");
  EXPECT_EQ(modes, std::vector<int>{1});
  EXPECT_EQ(f.stored("DEFINE", "VER_ATUAL"), "S");
}

// ---- Password items ---------------------------------------------------------------------------

struct Passwords {
  std::string stored = "abc";
  void give(MenuOperations& ops) {
    ops.password_verify = [this](std::string_view p) { return p == stored; };
    ops.password_set = [this](std::string_view p) { stored = std::string(p); };
  }
};

TEST(MenuPassword, ChangingThePassword) {
  struct Case {
    const char* what;
    const char* keys;
    const char* want;
    const char* message;
  };
  const Case cases[] = {
      {"changed", "abc<Enter>xyz<Enter>xyz<Enter>", "xyz", nullptr},
      {"current wrong twice", "no<Enter><Enter>ni<Enter><Enter>", "abc", "Senha inválida!"},
      {"current right at the second attempt", "no<Enter><Enter>abc<Enter>xyz<Enter>xyz<Enter>", "xyz", "Senha inválida!"},
      {"new equal to the current twice", "abc<Enter>abc<Enter><Enter>abc<Enter><Enter><Enter>", "abc",
       "A senha anterior não serve mais - Digite outra"},
      {"repeated wrong twice", "abc<Enter>xyz<Enter>xy1<Enter><Enter>xy2<Enter><Enter><Enter>", "abc",
       "ATENÇÃO! A senha anterior foi mantida"},
      {"repeated right at the second attempt", "abc<Enter>xyz<Enter>xy1<Enter><Enter>xyz<Enter>", "xyz",
       "Senha não consistente. Digite-a novamente"},
      {"left with Esc", "abc<Enter><Esc><Enter>", "abc", "ATENÇÃO! A senha anterior foi mantida"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MenuFixture f;
    Passwords p;
    p.give(f.ops);
    f.h.type(c.keys);
    f.menu().password_change();
    EXPECT_TRUE(f.h.terminal.script_done());
    EXPECT_EQ(p.stored, c.want);
    if (c.message) {
      EXPECT_TRUE(f.saw(c.message));
    }
  }
}

TEST(MenuPassword, TheTypedPasswordIsNotShown) {
  MenuFixture f;
  Passwords p;
  p.give(f.ops);
  std::vector<std::string> rows;
  f.h.terminal.on_key = [&](const ui::Event&) { rows.push_back(f.h.row_text(11)); };
  f.h.type("abc<Enter><Esc><Enter>");
  f.menu().password_change();
  ASSERT_GE(rows.size(), 4u);
  EXPECT_NE(rows[3].find("Digite a Senha Atual ***"), std::string::npos) << rows[3];
  for (const auto& r : rows) EXPECT_EQ(r.find("abc"), std::string::npos) << r;
}

TEST(MenuPassword, PuttingAndRemovingTheEntryPassword) {
  MenuFixture f;
  Passwords p;
  p.give(f.ops);
  f.menu().MENUCOMMAND(0);
  f.choose("<Alt-O><Down><Down><Enter><Enter><Enter>");  // Senha / Coloca a senha na entrada
  EXPECT_TRUE(f.globals.QUERSEN);
  EXPECT_TRUE(f.saw("Na próxima entrada será pedida a senha"));
  EXPECT_EQ(f.h.frame.LWINDOWMAIN().oMenu->aItem()[1]->items[2]->items[0]->cPrompt, "Retira a senha na entrada");

  f.h.type("xyz<Enter><Enter>");
  f.menu().password_toggle();
  EXPECT_TRUE(f.globals.QUERSEN);
  EXPECT_TRUE(f.saw("Senha inválida!"));
  f.h.type("abc<Enter>");
  f.menu().password_toggle();
  EXPECT_FALSE(f.globals.QUERSEN);
  EXPECT_EQ(f.stored("CONFIG", "QUERSEN"), "F");
  EXPECT_TRUE(f.h.terminal.script_done());
}

}  // namespace
}  // namespace kx::shell
