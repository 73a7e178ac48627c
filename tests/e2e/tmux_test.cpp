// The real terminal back end inside tmux: keys, colours, box characters, the menu bar and the
// notice of a terminal that is too small.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "../os/temp_folder.h"
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
  // Waits up to `ms` (five seconds) for `text` to appear on the screen.
  bool wait_for(const std::string& text, int64_t ms = 5000) {
    kx::Clock& clock = kx::system_clock();
    int64_t deadline = clock.monotonic_ms() + ms;
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

// The program on an installed folder under terminal 07, started through a small script that
// sets its environment.
std::string kaprix_on(const kx::os::testing::TempFolder& tmp, const std::string& name) {
  const std::string script = tmp / name;
  std::FILE* f = std::fopen(script.c_str(), "w");
  std::fprintf(f, "#!/bin/sh\nexport DKAPRIX='%s'\nexec '%s' 07\n", (tmp / "Kaprix").c_str(),
               KX_KAPRIX);
  std::fclose(f);
  ::chmod(script.c_str(), 0755);
  return script;
}

TEST_F(TmuxTest, ASecondCopyUnderTheSameTerminalEndsWhileTheFirstGoesOn) {
  kx::os::testing::TempFolder tmp;
  int status = -1;
  run(std::string("'") + KX_KAPRIX + "' install '" + (tmp / "Kaprix") + "' >/dev/null", &status);
  ASSERT_EQ(status, 0);
  Tmux first(kaprix_on(tmp, "first.sh"), 80, 27);
  first.keys("Escape");  // the exit question shows that the first copy reached its main loop
  ASSERT_TRUE(first.wait_for("Confirma saída do programa?", 10000)) << first.screen();
  first.keys("n");

  Tmux second(kaprix_on(tmp, "second.sh"), 80, 27);
  // The folder list stays held by the first copy: after its wait the second tells it.
  ASSERT_TRUE(second.wait_for("DIRET07.DBF não está disponível", 15000)) << second.screen();
  second.keys("Enter");
  ASSERT_TRUE(second.wait_for("O programa KAPRIX no terminal 07 está em uso")) << second.screen();
  second.keys("Enter");

  first.keys("Escape");
  EXPECT_TRUE(first.wait_for("Confirma saída do programa?")) << first.screen();
  first.keys("s");
}

}  // namespace
