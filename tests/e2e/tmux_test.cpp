// The real terminal back end inside tmux: keys, colours, box characters, the menu bar and the
// notice of a terminal that is too small.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "base/clock.h"

namespace {

std::string run(const std::string& command, int* status = nullptr) {
  std::string out;
  std::FILE* p = ::popen(command.c_str(), "r");
  if (!p) return out;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  int rc = ::pclose(p);
  if (status) *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  return out;
}

bool have_tmux() {
  int status = -1;
  run("tmux -V >/dev/null 2>&1", &status);
  return status == 0;
}

// One tmux server of its own (a private socket), one session running `program`.
class Tmux {
 public:
  Tmux(const std::string& program, int cols, int rows)
      : socket_("kxe2e" + std::to_string(::getpid()) + "_" + std::to_string(++count_)) {
    run(tmux() + "-f /dev/null new-session -d -s s -x " + std::to_string(cols) + " -y " +
        std::to_string(rows) + " \"TERM=tmux-256color exec '" + program + "'\"");
  }
  ~Tmux() { run(tmux() + "kill-server >/dev/null 2>&1"); }

  std::string screen(bool escapes = false) {
    return run(tmux() + "capture-pane -p " + (escapes ? "-e " : "") + "-t s 2>/dev/null");
  }
  void keys(const std::string& keys) { run(tmux() + "send-keys -t s " + keys); }
  void resize(int cols, int rows) {
    run(tmux() + "resize-window -t s -x " + std::to_string(cols) + " -y " + std::to_string(rows));
  }
  // Waits up to five seconds for `text` to appear on the screen.
  bool wait_for(const std::string& text) {
    kx::Clock& clock = kx::system_clock();
    int64_t deadline = clock.monotonic_ms() + 5000;
    while (clock.monotonic_ms() < deadline) {
      if (screen().find(text) != std::string::npos) return true;
      clock.sleep_ms(50);
    }
    return false;
  }

 private:
  std::string tmux() const { return "tmux -L " + socket_ + " "; }
  std::string socket_;
  static inline int count_ = 0;
};

class TmuxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!have_tmux()) GTEST_SKIP() << "tmux is not installed (scripts/bootstrap installs it)";
  }
};

TEST_F(TmuxTest, KeysComeThroughWithTheirNumbers) {
  Tmux t(KX_PROBE, 80, 27);
  ASSERT_TRUE(t.wait_for("PRONTO")) << t.screen();
  const std::pair<const char*, const char*> cases[] = {
      {"F1", "Tecla: F1\n"},         {"F2", "Tecla: F2\n"},         {"F10", "Tecla: F10\n"},
      {"F12", "Tecla: F12\n"},       {"C-c", "Tecla: Ctrl-C\n"},    {"NPage", "Tecla: PgDn\n"},
      {"PPage", "Tecla: PgUp\n"},    {"C-s", "Tecla: Ctrl-S\n"},    {"C-q", "Tecla: Ctrl-Q\n"},
      {"C-j", "Tecla: Ctrl-Enter\n"}, {"BTab", "Tecla: Shift-Tab\n"}, {"M-w", "Tecla: Alt-W\n"},
      {"M-i", "Tecla: Alt-I\n"},     {"Up", "Tecla: Up\n"},         {"Enter", "Tecla: Enter\n"},
      {"-l ç", "Tecla: ç\n"},        {"BSpace", "Tecla: Backspace\n"}, {"C-Left", "Tecla: Ctrl-Left\n"},
  };
  // The name is written on row 10 (tmux drops the blanks after it).
  for (auto [keys, shown] : cases) {
    t.keys(keys);
    EXPECT_TRUE(t.wait_for(shown)) << keys << "\n" << t.screen();
  }
}

TEST_F(TmuxTest, BoxCharactersAccentsAndColours) {
  Tmux t(KX_PROBE, 80, 27);
  ASSERT_TRUE(t.wait_for("PRONTO")) << t.screen();
  std::string text = t.screen();
  EXPECT_NE(text.find("┌────"), std::string::npos) << text;
  EXPECT_NE(text.find("Olá ÇÃ ■ ░▒▓ Não"), std::string::npos) << text;
  EXPECT_NE(text.find(" Declaração"), std::string::npos) << text;
  // The window text is bright yellow on blue ("GR+/B"); the screen fill bright white on blue.
  std::string colours = t.screen(true);
  EXPECT_NE(colours.find("\x1b[97m\x1b[44m"), std::string::npos) << colours;
  EXPECT_NE(colours.find("\x1b[93mOlá"), std::string::npos) << colours;
  EXPECT_NE(colours.find("\x1b[30m\x1b[47mPRONTO"), std::string::npos) << colours;  // "N/W"
}

TEST_F(TmuxTest, MenuBarOpensFromTheKeyboard) {
  Tmux t(KX_PROBE, 80, 27);
  ASSERT_TRUE(t.wait_for("PRONTO")) << t.screen();
  t.keys("M-d");
  ASSERT_TRUE(t.wait_for("│ Abre")) << t.screen();
  t.keys("Enter");
  EXPECT_TRUE(t.wait_for("Menu: 1002")) << t.screen();
}

TEST_F(TmuxTest, ASmallTerminalShowsANoticeUntilItGrows) {
  Tmux t(KX_PROBE, 70, 20);
  ASSERT_TRUE(t.wait_for("KAPRIX precisa de um terminal de 27 linhas por 80 colunas.")) << t.screen();
  t.keys("F1");  // not taken while the screen cannot be seen
  t.resize(80, 27);
  ASSERT_TRUE(t.wait_for("PRONTO")) << t.screen();
  EXPECT_EQ(t.screen().find("Tecla: F1"), std::string::npos);
  EXPECT_NE(t.screen().find("┌"), std::string::npos);
}

}  // namespace
