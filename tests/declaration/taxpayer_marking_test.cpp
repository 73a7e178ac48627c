#include <gtest/gtest.h>

#include "base/text.h"
#include "declaration/taxpayer_screens.h"
#include "store/access.h"
#include "taxpayer_fixture.h"
#include "ui/keys.h"

namespace kx::declaration {
namespace {

class TaxpayerMarkingTest : public testing::TaxpayerScreenTest {
 protected:
  TaxpayerMarkingTest() {
    add("52998224725", "ZELIA PRADO", {{"NRQUOTA", "3"}});
    add("11144477735", "ANA SOUZA", {{"IMPRE", "S"}, {"NRCLEAO", "1"}});
    add("39053344705", "BRUNO LIMA", {{"NRRVARIV", "2"}});
  }

  // The marks of the registry in CPF order.
  std::string marks() {
    dbf::Table& t = f.workspace.table(9);
    t.set_order(1);
    std::string out;
    for (t.go_top(); !t.eof(); t.skip())
      out += text::is_blank(t.get_text("IMPRE")) ? "." : t.get_text("IMPRE");
    return out;
  }

  // `keys`, then `script`.
  void run(int list, const std::vector<ui::Event>& keys, const std::string& script = "") {
    for (const ui::Event& e : keys) f.h.terminal.feed(e);
    f.h.type(script);
    marking_list(f.session, list);
    EXPECT_TRUE(f.h.terminal.script_done());
  }
};

ui::Event press(int code) { return ui::Event::key(code); }

TEST_F(TaxpayerMarkingTest, MarksTypedOnTheMarkColumnStayInTheTable) {
  // ANA, BRUNO, ZELIA by CPF: BRUNO and ZELIA marked, ANA unmarked.
  run(53, {press(ui::key::kEnd), press('n'), press('s'), press('S'), press(ui::key::kEsc)});
  EXPECT_EQ(marks(), "NSS");
  EXPECT_TRUE(seen("Impressao de varios contribuintes"));
  EXPECT_TRUE(seen("[Marque com S nos nomes]"));
  // Typed elsewhere a letter changes nothing; by name the first row is ANA again.
  run(53, {press('N'), press(ui::key::f(1)), press(ui::key::kEsc)});
  EXPECT_EQ(marks(), "NSS");
}

TEST_F(TaxpayerMarkingTest, ARowLockedElsewhereKeepsItsMark) {
  // Another terminal holds ANA's row (the first by CPF).
  dbf::Table other =
      dbf::Table::open(f.workspace.table(9).path(), {dbf::OpenMode::shared, false}, f.h.clock);
  other.go_to(2);
  ASSERT_TRUE(other.try_lock_record(2));
  run(53, {press(ui::key::kEnd), press('N')}, "<Wait 6000><Enter><Esc>");
  EXPECT_EQ(marks(), "S..");
  EXPECT_TRUE(seen("Registro não ficou disponível"));
}

TEST_F(TaxpayerMarkingTest, MarkAndUnmarkEveryRow) {
  const struct {
    int list, key;
    const char* marks;
  } cases[] = {
      {53, kAltEquals, "SSS"},   {53, kAltMinus, "NNN"},  {55, kAltPadPlus, "SSS"},
      {55, kAltPadMinus, "NNN"}, {54, kAltEquals, "NSS"},  // only rows with more than one quota or
                                                           // month
  };
  for (const auto& c : cases) {
    run(c.list, {press(c.key), press(ui::key::kEsc)});
    EXPECT_EQ(marks(), c.marks) << c.list << " " << c.key;
  }
}

TEST_F(TaxpayerMarkingTest, ImportedTaxpayersCountedAndMarked) {
  store::Access a = f.session.access();
  ASSERT_TRUE(store::ABERTURA(a, 70));
  dbf::Table& imported = f.workspace.table(70);
  add_row(imported, {{"CPF", "71428793860"}, {"NOMECONTR", "OTAVIO NUNES"}, {"ORIGEM", "DEC"}});
  add_row(imported, {{"CPF", "52998224725"}, {"NOMECONTR", "ZELIA PRADO"}});
  add_row(imported, {{"NOMECONTR", "SEM CPF"}});
  run(56, {press(kAltEquals), press(ui::key::kEsc)});
  EXPECT_TRUE(seen("Nro. de Declarações.    2"));
  EXPECT_TRUE(seen("Selecao para a importacao"));
  std::string marks;
  for (imported.go_top(); !imported.eof(); imported.skip()) marks += imported.get_text("IMPRE");
  EXPECT_EQ(marks, "SSS");
  EXPECT_EQ(this->marks(), "S..");  // the registry is untouched
}

}  // namespace
}  // namespace kx::declaration
