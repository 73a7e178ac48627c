#include "shell/start_options.h"

#include <unistd.h>

#include <cctype>
#include <cstdlib>

#include "base/text.h"

namespace kx::shell {
namespace {

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

std::string zero_filled(std::string_view digits) {
  return digits.size() == 1 ? "0" + std::string(digits) : std::string(digits);
}

}  // namespace

std::string DriveMap::root(char letter) const {
  auto it = drives.find(static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
  return it != drives.end() ? it->second : home;
}

std::string linux_path(std::string_view stored, const DriveMap& drives) {
  if (stored.size() < 2 || stored[1] != ':' || !std::isalpha(static_cast<unsigned char>(stored[0])))
    return std::string(stored);
  std::string out = drives.root(stored[0]);
  std::string rest(stored.substr(2));
  for (char& c : rest)
    if (c == '\\') c = '/';
  while (!rest.empty() && rest.front() == '/') rest.erase(0, 1);
  if (text::is_blank(rest)) return out;
  if (out.empty() || out.back() != '/') out += '/';
  return out + rest;
}

StartOptions StartOptions::from_environment(std::optional<std::string> argument) {
  StartOptions o;
  o.argument = std::move(argument);
  o.TERMINAL = env("TERMINAL");
  o.DKAPRIX = env("DKAPRIX");
  if (char* cwd = getcwd(nullptr, 0)) {
    o.current_folder = cwd;
    std::free(cwd);
  }
  o.drives.home = env("HOME");
  for (std::string_view entry : text::split(env("KAPRIX_DRIVES"), ';')) {
    entry = text::trim(entry);
    if (entry.size() > 2 && entry[1] == '=' && std::isalpha(static_cast<unsigned char>(entry[0])))
      o.drives.drives[static_cast<char>(std::toupper(static_cast<unsigned char>(entry[0])))] =
          std::string(entry.substr(2));
  }
  return o;
}

bool valid_terminal(std::string_view s) {
  return (s.size() == 1 || s.size() == 2) && text::all_digits(s);
}

std::string terminal_number(const StartOptions& o) {
  const std::string_view from_env = text::trim(o.TERMINAL);
  if (valid_terminal(from_env)) return zero_filled(from_env);
  if (o.argument && valid_terminal(text::trim(*o.argument)))
    return zero_filled(text::trim(*o.argument));
  return "00";
}

}  // namespace kx::shell
