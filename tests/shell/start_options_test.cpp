#include "shell/start_options.h"

#include <gtest/gtest.h>

namespace kx::shell {
namespace {

TEST(TerminalNumber, ComesFromTheEnvironmentThenTheArgumentAndIgnoresAnythingButOneOrTwoDigits) {
  struct Case {
    std::optional<std::string> argument;
    const char* TERMINAL;
    const char* expected;
  } cases[] = {
      {std::nullopt, "", "00"}, {"7", "", "07"},        {"3", "12", "12"},
      {"42", "", "42"},         {"123", "", "00"},      {"../x", "", "00"},
      {"5", "ab", "05"},        {"5", "1/", "05"},      {std::nullopt, " 9 ", "09"},
      {"-1", "", "00"},         {"", "", "00"},
  };
  for (const Case& c : cases) {
    StartOptions o;
    o.argument = c.argument;
    o.TERMINAL = c.TERMINAL;
    EXPECT_EQ(terminal_number(o), c.expected)
        << "argument " << c.argument.value_or("<none>") << ", TERMINAL " << c.TERMINAL;
  }
}

TEST(LinuxPath, StoredWindowsFoldersMapThroughTheDriveTable) {
  DriveMap drives{"/home/ana", {{'D', "/mnt/dados"}}};
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\KAPRIX14", "/home/ana/KAPRIX14"},
      {"c:\\Arquivos de Programas RFB\\IRPF2015", "/home/ana/Arquivos de Programas RFB/IRPF2015"},
      {"D:\\Clientes\\2015\\", "/mnt/dados/Clientes/2015/"},
      {"d:", "/mnt/dados"},
      {"E:\\", "/home/ana"},
      {"/srv/kaprix/Dados", "/srv/kaprix/Dados"},  // a Linux folder is kept as typed
      {"", ""},
  };
  for (const auto& [stored, expected] : cases) EXPECT_EQ(linux_path(stored, drives), expected) << stored;
}

}  // namespace
}  // namespace kx::shell
