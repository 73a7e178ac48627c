// Two terminals: one has a declaration open, the other's prompt warns before opening it.
#include <gtest/gtest.h>

#include "../os/child.h"
#include "declaration/cpf_prompt.h"
#include "declaration/work_folder.h"
#include "taxpayer_fixture.h"

namespace kx::declaration {
namespace {

using os::testing::Channel;
using os::testing::Child;

class CpfPromptProcessTest : public testing::TaxpayerScreenTest {};

TEST_F(CpfPromptProcessTest, ADeclarationOpenOnAnotherTerminalIsWarnedOfButCanBeOpened) {
  add("52998224725", "ZELIA PRADO");
  const std::string folder = f.globals.ROTADEF;
  // Terminal 03 marks the declaration open, as opening it for editing does, and keeps running.
  Child terminal03([&](const Channel& ch) {
    VirtualClock clock{DateTime{*Date::from_ymd(2015, 3, 2), 10, 0, 0}};
    dbf::Table registry = open_declaration_table(folder, 9, dbf::OpenMode::shared, clock);
    if (!registry.seek("52998224725") || !registry.lock_record(registry.recno(), {2000, 50, {}}))
      return 1;
    registry.set_text("NUSUAT", "03");
    registry.commit();
    registry.unlock_all();
    ch.send('m');
    return ch.receive() == 'q' ? 0 : 2;
  });
  ASSERT_EQ(terminal03.channel().receive(), 'm');

  f.h.type("52998224725n");
  EXPECT_EQ(GET_CODIGO(f.session, 11, {}).outcome, PromptResult::Outcome::declined);
  EXPECT_TRUE(seen("A declaração desse contribuinte está ou ficou aberta no terminal 03"));
  EXPECT_TRUE(seen("Caso tenha outra pessoa utilizando os dados daquele que salvar por último"));
  EXPECT_TRUE(seen("prevalecera. Isso pode alterar o feito naquele terminal. Continua?"));

  f.h.type("52998224725<Enter>");
  const PromptResult r = GET_CODIGO(f.session, 11, {});
  EXPECT_TRUE(r.chosen());
  EXPECT_FALSE(r.restore);

  terminal03.channel().send('q');
  EXPECT_EQ(terminal03.wait(), 0);
}

}  // namespace
}  // namespace kx::declaration
