#include <gtest/gtest.h>

#include <deque>
#include <utility>
#include <vector>

#include "../support/session_fixture.h"
#include "declaration/editor.h"
#include "editor_fake.h"
#include "ui/keys.h"

namespace kx::declaration {
namespace {

namespace key = ui::key;
using testing::FakeServices;

// An editor over a session on the screen harness; the entry screens are a script of ending
// keys, each optionally letting time pass first.
class EditorScreen : public ::testing::Test {
 protected:
  EditorScreen() : fx(false) {
    fx.h.frame.QZBASELSETUP();
    editor.set_screen_runner([this](int screen, int sub) {
      shown.emplace_back(screen, sub);
      if (ends.empty()) ADD_FAILURE() << "no ending key left for screen " << screen;
      auto [minutes, k] = ends.empty() ? std::pair{0, int{key::kEsc}} : ends.front();
      if (!ends.empty()) ends.pop_front();
      fx.h.clock.advance_ms(int64_t{minutes} * 60000);
      return k;
    });
  }
  void edit(Origin origin = Origin::existing) {
    fx.globals.OPCAO_1 = 11;
    data.prompts.push_back({"12345678909", origin, false});
    editor.DECLARA();
  }

  kx::testing::SessionFixture fx;
  FakeServices data;
  DeclarationEditor editor{fx.session, data};
  std::deque<std::pair<int, int>> ends;  // minutes spent, ending key
  std::vector<std::pair<int, int>> shown;
};

TEST_F(EditorScreen, NewTaxpayerStartsOnIdentificationAndTabGoesToScreenOne) {
  ends = {{0, key::kTab}, {0, key::kTab}, {0, key::kEsc}};
  // The "&Iden." menu is open: Enter chooses Identificação; back in the bar Alt-T saves.
  fx.h.type("<Enter><Alt-T>");
  edit(Origin::new_taxpayer);
  EXPECT_EQ(shown, (std::vector<std::pair<int, int>>{{6, 61}, {1, 11}, {2, 21}}));
  EXPECT_EQ(data.saves, std::vector<int>{1});
  EXPECT_EQ(data.discards, 0);
}

TEST_F(EditorScreen, TheWindowIsTitledWithTheMaskedCpfAndName) {
  ends = {{0, key::kEsc}};
  fx.h.type("<Enter>");
  editor.set_screen_runner([this](int, int) {
    EXPECT_NE(fx.h.row_text(0).find("CPF:123.456.789-09 - ANA SILVA"), std::string::npos)
        << fx.h.dump();
    EXPECT_NE(fx.h.row_text(1).find("1=PJ 2=PF 3=Ise 4=Pgto 5=Bem 6=Iden 7=Cal 8=GCap 9=RVar "
                                    "10=Balan 11=notas 12=MVN"),
              std::string::npos);
    editor.SAI_DA_DEC(111);
    return 0;
  });
  edit();
  EXPECT_EQ(data.saves, std::vector<int>{1});
}

TEST(EditorScreens, UntilTheFormsLandEachScreenShowsItsFrameAndTitle) {
  kx::testing::SessionFixture fx(false);
  fx.h.frame.QZBASELSETUP();
  FakeServices data;
  DeclarationEditor editor{fx.session, data};
  std::vector<std::string> seen;
  fx.h.frame.keys().set(key::alt('Z'), [&] { seen.push_back(fx.h.row_text(2)); });
  fx.globals.OPCAO_1 = 11;
  data.prompts.push_back({"12345678909", Origin::existing, false});
  // F5 shows screen 5; Alt-Z looks at it; Tab goes on to 6; Esc back to the bar; Alt-T.
  fx.h.type("<Esc><F5><Alt-Z><Tab><Alt-Z><Esc><Alt-T>");
  editor.DECLARA();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_NE(seen[0].find("┌"), std::string::npos);
  EXPECT_NE(seen[0].find(" Declaração dos Bens e das dívidas "), std::string::npos) << seen[0];
  EXPECT_NE(seen[1].find(" Identificação "), std::string::npos) << seen[1];
  EXPECT_EQ(data.saves, std::vector<int>{1});
}

TEST_F(EditorScreen, FullScreenModeMakesTheMainMenuInertWhileEditing) {
  fx.globals.OPCIRPF = "N";
  bool inert = false;
  fx.h.type("<Enter>");
  editor.set_screen_runner([&](int, int) {
    inert = fx.globals.LESTOUNADECL;
    editor.SAI_DA_DEC(111);
    return 0;
  });
  edit();
  EXPECT_TRUE(inert);
  EXPECT_FALSE(fx.globals.LESTOUNADECL);
}

TEST_F(EditorScreen, AltWSavesOnlyWhenIntermediateSavesAreOn) {
  const std::pair<int, std::vector<int>> cases[] = {
      {0, {0, 1}}, {15, {0, 1}}, {98, {1}}, {99, {1}}};
  for (const auto& [every, saves] : cases) {
    FakeServices d;
    DeclarationEditor e{fx.session, d};
    fx.globals.TEMP_SAL = every;
    fx.globals.OPCAO_1 = 11;
    d.prompts.push_back({"12345678909", Origin::existing, false});
    fx.h.type("<Esc><Alt-W><Alt-T>");
    e.DECLARA();
    EXPECT_EQ(d.saves, saves) << "TEMP_SAL " << every;
  }
}

TEST_F(EditorScreen, ScreensSaveAutomaticallyAfterTempSalMinutes) {
  const struct {
    int every, minutes;
    std::vector<int> saves;
  } cases[] = {{15, 16, {0, 1}}, {15, 14, {1}}, {0, 16, {1}}, {99, 200, {1}}};
  for (const auto& c : cases) {
    data.saves.clear();
    fx.globals.TEMP_SAL = c.every;
    ends = {{c.minutes, key::kEsc}};
    fx.h.type("<Esc><F1><Alt-T>");
    edit();
    EXPECT_EQ(data.saves, c.saves) << c.every << " / " << c.minutes;
  }
}

TEST_F(EditorScreen, AProtectedStatusSavesNothingAndLeavingDiscards) {
  data.v.set("ESTATUS", Decimal(0));
  fx.globals.STATRAVA = 0;
  fx.h.type("<Esc><Alt-W><Enter><Alt-T><Enter>");
  edit();
  EXPECT_TRUE(data.saves.empty());
  EXPECT_EQ(data.discards, 1);
}

TEST_F(EditorScreen, TerminaADeclaracaoHasThreeAnswers) {
  const struct {
    const char* script;
    std::vector<int> saves;
    int discards;
  } cases[] = {
      {"<Esc><Alt-J>F<Enter>", {1}, 0},
      {"<Esc><Alt-J>F<Right><Right><Enter>", {}, 1},
      {"<Esc><Alt-J>F<Right><Enter><Alt-T>", {1}, 0},  // Não: back in the declaration
  };
  for (const auto& c : cases) {
    FakeServices d;
    DeclarationEditor e{fx.session, d};
    fx.globals.OPCAO_1 = 11;
    d.prompts.push_back({"12345678909", Origin::existing, false});
    fx.h.type(c.script);
    e.DECLARA();
    EXPECT_EQ(d.saves, c.saves) << c.script;
    EXPECT_EQ(d.discards, c.discards) << c.script;
  }
}

TEST_F(EditorScreen, AFailedSaveKeepsTheOperatorInTheDeclaration) {
  data.save_results = {false, true};
  ends = {{0, key::kEsc}};
  // Alt-T: the save fails, the message is shown; F2 shows a screen, so the declaration is
  // still open; Alt-T again saves.
  fx.h.type("<Esc><Alt-T><Enter><F2><Alt-T>");
  edit();
  EXPECT_EQ(data.saves, (std::vector<int>{1, 1}));
  EXPECT_EQ(data.loads.size(), 1u);
  EXPECT_EQ(shown, (std::vector<std::pair<int, int>>{{2, 21}}));
}

TEST_F(EditorScreen, AltHStopsAndRestartsTheEditingClock) {
  fx.h.type("<Esc><Alt-H><Alt-H><Alt-T>");
  edit();
  EXPECT_EQ(data.clock_stops, (std::vector<bool>{true, false}));
}

TEST_F(EditorScreen, OtherCommandsAreNotAvailableYet) {
  for (int command : {12, 13, 61}) {
    FakeServices d;
    DeclarationEditor e{fx.session, d};
    fx.globals.OPCAO_1 = command;
    d.prompts.push_back({"12345678909", Origin::existing, false});
    fx.h.type("<Enter>");
    e.DECLARA();
    EXPECT_EQ(fx.globals.ULT_CPF, "12345678909");
    EXPECT_EQ(d.prompts.size(), 0u);
    EXPECT_TRUE(d.saves.empty());
  }
}

TEST_F(EditorScreen, EscAtTheCpfPromptEnds) {
  fx.globals.OPCAO_1 = 11;
  editor.DECLARA();
  EXPECT_TRUE(data.loads.empty());
  EXPECT_FALSE(fx.globals.LESTOUNADECL);
}

}  // namespace
}  // namespace kx::declaration
