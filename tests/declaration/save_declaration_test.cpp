// Loading, saving, restoring and discarding one declaration through its working copies.
#include <algorithm>
#include <filesystem>
#include <map>

#include "save_fixture.h"

namespace kx::declaration::testing {
namespace {

TEST_F(SaveTest, LoadCopiesOnlyTheTaxpayersRowsAndMarksTheDeclarationOpen) {
  auto d = opened();
  EXPECT_EQ(d->copy(4).record_count(), 3u);
  EXPECT_EQ(d->copy(2).record_count(), 2u);
  EXPECT_EQ(d->copy(9).record_count(), 1u);
  EXPECT_EQ(std::string(text::rtrim(d->values().text("NOMECONTR"))), "ANA SOUSA");
  EXPECT_EQ(registry("NUSUAT"), "07");
  EXPECT_EQ(registry("NUSUAT", kOther), "");
  EXPECT_EQ(marker_state(), MarkerState::editing);
}

TEST_F(SaveTest, LoadAsksWhileAnotherTerminalHoldsATable) {
  dbf::Table held = open(4);
  op.answers = {true, false};  // wait once more, then give up
  OpenDeclaration d(access(), "OPERADOR");
  EXPECT_FALSE(d.load(kCpf, Origin::existing, true));
  EXPECT_FALSE(d.is_open());
  ASSERT_FALSE(op.events.empty());
  EXPECT_NE(op.events.back().find("Outro terminal esta usando o arquivo IMP0415.DBF"),
            std::string::npos);
  EXPECT_EQ(registry("NUSUAT"), "") << "a load given up marks nothing";
  held.close();
  ASSERT_TRUE(d.load(kCpf, Origin::existing, true)) << d.reason();
}

TEST_F(SaveTest, NewTaxpayerStartsFromTheDefaults) {
  OpenDeclaration d(access(), "OPERADOR");
  settings.NOMECONTR = "CARLA NOVA";
  ASSERT_TRUE(d.load("39053344705", Origin::new_taxpayer, true)) << d.reason();
  EXPECT_EQ(d.values().number("ESTATUS"), Decimal(2));
  EXPECT_EQ(d.values().number("INDALERTA"), Decimal(10));
  EXPECT_EQ(d.values().text("I9_6"), "S");
  ASSERT_TRUE(d.save(SaveMode::final)) << d.reason();
  EXPECT_EQ(registry("NOMECONTR", "39053344705"), "CARLA NOVA");
  EXPECT_EQ(column(1, "CPF", "39053344705").size(), 1u);
}

TEST_F(SaveTest, FinalSaveAppliesTheTableRulesAndClearsTheMarkLast) {
  auto d = opened();
  append_to_copy(*d, 7, {{"CPF", kCpf}, {"TIPO_BEM", "1"}, {"VAL_ALI", "100"}, {"CUS_ATUAL", "200"}});
  append_to_copy(*d, 7, {{"CPF", kCpf}, {"TIPO_BEM", "4"}, {"RVAR_NRO", "25"}});
  append_to_copy(*d, 12, {{"CPF", kCpf}, {"I2_701", "100"}, {"I2_702", "50.5"}});
  std::vector<std::string> marks;  // NUSUAT at every step of the save
  d->set_step_hook([&] { marks.push_back(registry("NUSUAT")); });
  ASSERT_TRUE(d->save(SaveMode::final)) << d->reason();
  ASSERT_GT(marks.size(), 10u);
  EXPECT_EQ(marks.back(), "") << "cleared at the last step";
  marks.pop_back();
  EXPECT_EQ(std::count(marks.begin(), marks.end(), "07"), std::ssize(marks))
      << "cleared before every table was written";
  EXPECT_EQ(column(4, "I7_0"), (std::vector<std::string>{"10", "20", "30"}));
  EXPECT_EQ(column(4, "I7_2"), (std::vector<std::string>{"bem 1", "bem 2", "bem 3"}));
  EXPECT_EQ(column(4, "I7_0", kOther), (std::vector<std::string>{"7"}));
  EXPECT_EQ(column(2, "I1_2"), (std::vector<std::string>{"janeiro", "maio"}));
  EXPECT_EQ(column(7, "CPFALIEN"), (std::vector<std::string>{kCpf, ""}));
  // DARF counts: two carnê-leão months; one untaxed sale (-1).
  EXPECT_EQ(registry("NRCLEAO"), "2");
  EXPECT_EQ(registry("DFCLEAO"), "150.50");
  EXPECT_EQ(registry("NRGCAPIT"), "-1");
  EXPECT_EQ(registry("NOMEAG"), "OPERADOR");
  EXPECT_EQ(registry("NUSUAT"), "");
  EXPECT_FALSE(d->is_open());
  EXPECT_FALSE(copy_exists(4));
  EXPECT_FALSE(marker_state());
  // The editing session is in the usage log.
  workspace.close_all();
  dbf::Table log = dbf::Table::open(settings.ARQDEF + "USOLOG.DBF", {dbf::OpenMode::read_only}, clock);
  std::vector<std::string> sessions;
  log.scan([&](uint32_t, const dbf::RecordView& r) {
    sessions.push_back(std::string(r.text(*r.schema().find("CPF"))) + " " +
                       std::string(text::rtrim(r.text(*r.schema().find("NOMEAG")))));
    return true;
  });
  EXPECT_EQ(sessions, std::vector<std::string>{kCpf + " OPERADOR"});
}

TEST_F(SaveTest, IntermediateSaveRefreshesTheRegistryCopyAndKeepsTheDeclarationOpen) {
  auto d = opened();
  d->values().set("NOMECONTR", std::string("ANA SOUSA LIMA"));
  ASSERT_TRUE(d->save(SaveMode::intermediate)) << d->reason();
  EXPECT_EQ(registry("NOMECONTR"), "ANA SOUSA LIMA");
  EXPECT_EQ(registry("NUSUAT"), "07");
  EXPECT_EQ(marker_state(), MarkerState::editing);
  EXPECT_EQ(std::string(text::rtrim(d->copy(9).get_text("NOMECONTR"))), "ANA SOUSA LIMA");
  // A second save does not double any row.
  ASSERT_TRUE(d->save(SaveMode::intermediate)) << d->reason();
  EXPECT_EQ(column(4, "I7_0").size(), 3u);
  EXPECT_EQ(column(1, "CPF").size(), 1u);
}

TEST_F(SaveTest, FailedSaveKeepsCopiesAndMarkerAndTheNextSaveFinishesIt) {
  auto d = opened();
  append_to_copy(*d, 5, {{"CPF", kCpf}, {"I8_0", "1"}, {"I8_2", "divida"}});
  {
    dbf::Table held = open(6);  // another terminal holds table 6 exclusively
    op.escape = [] { return true; };
    EXPECT_FALSE(d->save(SaveMode::final));
    EXPECT_NE(d->reason().find("IMP0615.DBF"), std::string::npos) << d->reason();
  }
  op.escape = nullptr;
  EXPECT_TRUE(d->is_open());
  EXPECT_TRUE(copy_exists(5));
  EXPECT_EQ(marker_state(), MarkerState::saving);
  EXPECT_EQ(registry("NUSUAT"), "07");
  ASSERT_TRUE(d->save(SaveMode::final)) << d->reason();
  EXPECT_EQ(column(5, "I8_0"), (std::vector<std::string>{"10"}));
  EXPECT_EQ(registry("NUSUAT"), "");
}

TEST_F(SaveTest, DiscardLeavesTheFolderAsSavedAndClearsTheMark) {
  auto d = opened();
  append_to_copy(*d, 4, {{"CPF", kCpf}, {"I7_0", "9"}});
  ASSERT_TRUE(d->discard()) << d->reason();
  EXPECT_EQ(column(4, "I7_0").size(), 3u);
  EXPECT_EQ(registry("NUSUAT"), "");
  EXPECT_FALSE(copy_exists(4));
  EXPECT_FALSE(marker_state());
}

TEST_F(SaveTest, RestoreReopensTheCopiesOfAnInterruptedDeclaration) {
  {
    auto d = opened();
    append_to_copy(*d, 4, {{"CPF", kCpf}, {"I7_0", "9"}, {"I7_2", "novo"}});
    d->values().set("NOMECONTR", std::string("ANA EDITADA"));
    ASSERT_TRUE(d->save(SaveMode::intermediate));
    append_to_copy(*d, 4, {{"CPF", kCpf}, {"I7_0", "99"}, {"I7_2", "depois"}});
  }  // the program ends here without leaving the declaration
  const auto m = unfinished_declaration(settings);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->cpf, kCpf);
  OpenDeclaration d(access(), "OPERADOR");
  ASSERT_TRUE(d.restore(kCpf, true)) << d.reason();
  EXPECT_EQ(d.copy(4).record_count(), 5u);
  EXPECT_EQ(std::string(text::rtrim(d.values().text("NOMECONTR"))), "ANA EDITADA");
}

TEST_F(SaveTest, RestoreRefusesMixedCopiesAndAnotherFolder) {
  struct Case {
    const char* what;
    std::function<void()> damage;
  };
  const Case cases[] = {
      {"row of another taxpayer",
       [this] {
         dbf::Table c = open_copy(copy_stem(aux(), 4, "07"), 4, clock);
         c.append_blank();
         c.set_text("CPF", kOther);
         c.close();
       }},
      {"copy missing",
       [this] { std::filesystem::remove(copy_stem(aux(), 12, "07") + ".DBF"); }},
      {"another folder", [this] { settings.LOCARQ = tmp.path() + "/Outra"; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    settings.LOCARQ = folder();
    opened().reset();
    c.damage();
    OpenDeclaration d(access(), "OPERADOR");
    EXPECT_FALSE(d.restore(kCpf, true));
    EXPECT_FALSE(d.reason().empty());
    EXPECT_FALSE(d.is_open());
    settings.LOCARQ = folder();
    store::Access a = access();
    ASSERT_TRUE(drop_unfinished(a));
  }
}

TEST_F(SaveTest, LoadAsksBeforeDroppingAnotherUnfinishedDeclaration) {
  opened().reset();
  op.answers = {false};
  OpenDeclaration d(access(), "OPERADOR");
  EXPECT_FALSE(d.load(kOther, Origin::existing, true));
  EXPECT_TRUE(copy_exists(4));
  EXPECT_EQ(read_marker(aux(), "07")->cpf, kCpf);
  op.answers = {true};
  ASSERT_TRUE(d.load(kOther, Origin::existing, true)) << d.reason();
  EXPECT_EQ(registry("NUSUAT"), "") << "the dropped declaration is no longer marked open";
  EXPECT_EQ(read_marker(aux(), "07")->cpf, kOther);
}

TEST_F(SaveTest, EditingClockCountsAcrossMidnightAndNotWhileStopped) {
  clock.set({*Date::from_ymd(2015, 3, 15), 23, 59, 50});
  auto d = opened();
  clock.set({*Date::from_ymd(2015, 3, 16), 0, 0, 10});
  EXPECT_EQ(d->elapsed_seconds(), 19);
  d->stop_clock(true);
  clock.set({*Date::from_ymd(2015, 3, 16), 0, 5, 10});
  EXPECT_EQ(d->elapsed_seconds(), 19);
  d->stop_clock(false);
  clock.set({*Date::from_ymd(2015, 3, 16), 0, 5, 20});
  EXPECT_EQ(d->elapsed_seconds(), 29);
  EXPECT_GT(d->data_size(), 0);
}

}  // namespace
}  // namespace kx::declaration::testing
