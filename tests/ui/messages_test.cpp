#include "ui/messages.h"

#include <gtest/gtest.h>

#include "base/cp850.h"
#include "ui/harness.h"
#include "ui/keys.h"

namespace kx::ui {
namespace {

std::string S(const Value& v) { return std::get<std::string>(v); }

class MessagesTest : public ::testing::Test {
 protected:
  ScreenHarness h;
  Messages& m = h.messages;
  std::string screen_has(std::string_view needle) {
    for (int r = -1; r <= kRows; ++r) {
      if (h.row_text(r).find(needle) != std::string::npos) return h.row_text(r);
    }
    return {};
  }
};

TEST_F(MessagesTest, MessageLineGoesToTheFirstStatusBarPartOrToRow24) {
  m.MENS(0, "Gravando");
  EXPECT_EQ(h.text(24, 37, 8), "Gravando");  // centred in 80 columns from column 1
  EXPECT_EQ(h.attr(24, 37), 0x78);           // COR_SAY "N/W+"
  m.MENS();
  EXPECT_EQ(h.text(24, 1, 79), std::string(79, ' '));
  h.frame.LSBDRAW({"primeira parte", "F1 Ajuda"});
  m.MENS(0, "Aguarde");
  EXPECT_EQ(h.text(kStatusRow, 0, 14), "Aguarde       ");
  EXPECT_EQ(h.text(kStatusRow, 15, 8), "F1 Ajuda");
  m.MENS();
  EXPECT_EQ(h.text(kStatusRow, 0, 14), std::string(14, ' '));
  EXPECT_FALSE(h.cursor_visible());
}

TEST_F(MessagesTest, KeyChoiceTakesOnlyItsLetters) {
  h.type("xq1t");
  MensArgs a;
  a.row = 20;
  a.col = 'C';
  a.opts = "TA";
  EXPECT_EQ(S(m.MENS(12, "Tudo ou Apenas?", a)), "T");
  EXPECT_TRUE(h.terminal.script_done());
  EXPECT_EQ(h.frame.window_count(), 1);  // the dialog is closed
  EXPECT_EQ(h.text(20, 30, 10), std::string(10, ' '));
}

TEST_F(MessagesTest, ErrorBeepsWaitsAndRestores) {
  h.type("<F5>");
  MensArgs a;
  a.row = 10;
  a.col = 5;
  bool seen = false;
  h.frame.keys().set(key::f(5), [&] { seen = true; });  // bound keys do not run inside
  m.MENS(11, "Erro grave", a);
  EXPECT_FALSE(seen);
  std::vector<Tone> expected = {{300, 55}, {499, 55}, {300, 55}, {499, 55}};
  EXPECT_EQ(h.terminal.tones(), expected);
  EXPECT_EQ(h.text(10, 5, 10), std::string(10, ' '));
  EXPECT_TRUE(h.cursor_visible());
}

TEST_F(MessagesTest, WindowLeftOpenIsFramedAndClosedByTheCaller) {
  MensArgs a;
  a.row = 12;
  a.col = 10;
  m.MENS(13, "Processando", a);
  EXPECT_EQ(h.text(11, 9, 1), "┌");
  EXPECT_EQ(h.text(12, 10, 11), "Processando");
  h.windows.FECHAJAN(10);
  EXPECT_EQ(h.text(11, 9, 1), " ");
}

TEST_F(MessagesTest, OneFieldInputSitsAfterThePromptAndEscEmptiesIt) {
  const std::string prompt = "Informe o nro vias (vezes) a imprimir";
  MensArgs a;
  a.row = 17;
  a.col = 20;
  a.width = 1;
  a.picture = "@ 9";
  Value vias = Decimal(1);
  a.var = &vias;
  h.type("3");  // typing past the last position ends the input
  EXPECT_EQ(std::get<Decimal>(m.MENS(14, prompt, a)), Decimal(3));
  EXPECT_TRUE(h.terminal.script_done());
  EXPECT_EQ(std::get<Decimal>(vias), Decimal(3));

  h.type("<Esc>");
  // Before Esc the field shows one blank after the prompt.
  h.terminal.on_key = [&](const Event&) {
    EXPECT_EQ(h.text(17, 20, static_cast<int>(prompt.size())), prompt);
    EXPECT_EQ(h.cursor_row(), 17);
    EXPECT_EQ(h.cursor_col(), 20 + static_cast<int>(prompt.size()) + 1);
  };
  EXPECT_EQ(std::get<Decimal>(m.MENS(14, prompt, a)), Decimal(0));
  EXPECT_EQ(std::get<Decimal>(vias), Decimal(0));
  h.terminal.on_key = {};

  Value when = *Date::from_ymd(2015, 1, 1);
  a.var = &when;
  a.picture = "@D";
  h.type("<Esc>");
  m.MENS(14, "Data", a);
  EXPECT_EQ(std::get<Date>(when), h.clock.today());
}

TEST_F(MessagesTest, InputIsReadAgainUntilValid) {
  MensArgs a;
  a.row = 10;
  a.col = 5;
  Value v = std::string(3, ' ');
  a.var = &v;
  a.valid = [](const Value& x) { return std::get<std::string>(x) != "   "; };
  h.type("<Enter>ab<Enter>");
  EXPECT_EQ(S(m.MENS(14, "Sigla", a)), "ab ");
}

TEST_F(MessagesTest, QuestionsReturnWhatTheirTypeSays) {
  h.type("<Enter>");
  EXPECT_EQ(S(m.AVISOSN({"Gravado;com sucesso"}, 0)), "");
  h.type("<Enter>");
  EXPECT_EQ(std::get<bool>(m.AVISOSN({"Confirma?"}, 1)), true);
  h.type("<Right><Enter>");
  EXPECT_EQ(std::get<bool>(m.AVISOSN({"Confirma?"}, 1)), false);
  h.type("<Esc>n");  // a system yes/no box ignores Esc
  EXPECT_EQ(S(m.AVISOSN({"Confirma?"}, 2)), "N");
  h.type("<Esc><Right><Right><Enter>");  // types 3-7 ignore Esc too
  EXPECT_EQ(S(m.AVISOSN({"Continua?"}, 3)), "I");
  h.type("<Right><Right><Enter>");
  EXPECT_EQ(S(m.AVISOSN({"Continua?"}, 4)), "F");
  h.type("<Right><Enter>");
  EXPECT_EQ(S(m.AVISOSN({"Qual?"}, 5)), "2");
  h.type("<Right><Right><Right><Enter>");
  EXPECT_EQ(std::get<Decimal>(m.AVISOSN({"Qual?"}, 7)), Decimal(4));
  h.type("<Enter>");
  EXPECT_EQ(std::get<Decimal>(m.AVISOSN({"Qual?"}, 6, {"Um", "Dois"})), Decimal(1));
  EXPECT_EQ(h.frame.window_count(), 1);
}

TEST_F(MessagesTest, AlertLayoutAndButtons) {
  h.type("<Click 0,0><Right>");
  // Check the drawing while it waits, then press the second button with the mouse.
  h.terminal.on_key = [&](const Event& e) {
    if (e.code != key::kRight) return;
    EXPECT_NE(screen_has("Linha um"), "");
    EXPECT_NE(screen_has("[   Sim    ]"), "");
    EXPECT_NE(screen_has("Título"), "");
  };
  // 2 lines, B = 24, M = 9: h = 5, v = 27; top 8, left 25; buttons from ROUND(40 - 12) = 28 on row 12.
  h.type("<Click 12,41>");
  int n = m.MSGALERT({"Linha um;Linha dois"}, {"Sim", cp850::from_utf8("Não")}, "W+/B", cp850::from_utf8("Título"), false);
  EXPECT_EQ(n, 2);
  h.terminal.on_key = {};
  h.type("<Esc>");
  EXPECT_EQ(m.MSGALERT({"x"}), 0);  // Esc closes when allowed and presses nothing
}

TEST_F(MessagesTest, AlertButtonsWrapToNewRows) {
  std::vector<std::string> many(8, "Botao");
  h.type("<Enter>");
  EXPECT_EQ(m.MSGALERT({"x"}, many, "", "", false), 1);
}

TEST_F(MessagesTest, HighlightBarChoice) {
  h.windows.REDEFJAN(5, 30, 31, 63, 5, 10, 9, 30, 0);
  h.windows.ABREJAN(5);
  h.windows.ESCRJAN(5, std::string("Incluir") + std::string(14, ' ') + "Alterar" + std::string(14, ' ') + "Excluir");
  MenuChoice c{1, "IAE", {}};
  h.type("<Down><Down><Down><Down><Enter>");
  EXPECT_EQ(m.ESC_OPCAO(5, 3, 1, 7, 0, 0, c), 3);  // Down on the last item stays
  EXPECT_EQ(h.attr(7, 10), 0x4F);                  // COR_ESCOL
  EXPECT_EQ(h.attr(5, 10), 0x1E);                  // COR_TEL1 again
  h.type("a");
  EXPECT_EQ(m.ESC_OPCAO(5, 3, 1, 7, 0, 0, c), 2);  // a hot key chooses at once
  h.type("<Up><Esc>");
  EXPECT_EQ(m.ESC_OPCAO(5, 3, 1, 7, 0, 1, c), 0);
  EXPECT_EQ(c.POSVER, 0);
  EXPECT_EQ(h.text(5, 10, 7), "       ");  // closed with close = 1
  int calls = 0;
  m.calculator = [&] { ++calls; };
  c.POSVER = 1;
  c.MENSMENU = {"Inclui um item", "Altera", "Exclui"};
  h.windows.ABREJAN(5);
  h.windows.ESCRJAN(5, std::string("Incluir") + std::string(14, ' ') + "Alterar" + std::string(14, ' ') + "Excluir");
  h.type("<Alt-A><Enter>");
  EXPECT_EQ(m.ESC_OPCAO(5, 3, 1, 7, 0, 0, c, 1), 1);
  EXPECT_EQ(calls, 1);
}

TEST(Messages, CentreAndRight) {
  EXPECT_DOUBLE_EQ(CENTER("abc"), 38.5);
  EXPECT_DOUBLE_EQ(CENTER("abcd", 10), 3);
  EXPECT_DOUBLE_EQ(CENTER(std::string(81, 'x')), 0);
  EXPECT_EQ(DIREITA("abc"), 77);
  EXPECT_EQ(DIREITA(std::string(81, 'x')), 1);
}

}  // namespace
}  // namespace kx::ui

namespace kx::ui {
namespace {

TEST(MessagesItem, ItemNoticeNamesTheItemInItsTitle) {
  ScreenHarness h;
  std::string title;
  h.terminal.on_key = [&](const Event&) { title = h.row_text(9); };
  h.type("x");
  MensArgs a;
  a.row = 10;
  a.col = 20;
  a.item = 3;
  h.messages.MENS(19, "Bem com valor zero", a);
  EXPECT_NE(title.find("Item 3 dos Bens e Direitos"), std::string::npos) << title;
  EXPECT_EQ(h.frame.window_count(), 1);
  EXPECT_TRUE(h.terminal.tones().empty());
}

}  // namespace
}  // namespace kx::ui
