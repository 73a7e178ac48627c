#include "ui/keys.h"

#include <cctype>
#include <utility>

#include "base/text.h"

namespace kx::ui::key {
namespace {

constexpr std::string_view kAltOrder[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
constexpr int kAltStart[] = {272, 286, 300};

struct Named {
  std::string_view name;
  int code;
};
constexpr Named kNamed[] = {
    {"Home", kHome},         {"Ctrl-Right", kCtrlRight}, {"PgDn", kPgDn},
    {"Right", kRight},       {"Up", kUp},                {"End", kEnd},
    {"Del", kDel},           {"Backspace", kBackspace},  {"BS", kBackspace},
    {"Tab", kTab},           {"Ctrl-Enter", kCtrlEnter}, {"Enter", kEnter},
    {"PgUp", kPgUp},         {"Left", kLeft},            {"Ins", kIns},
    {"Ctrl-End", kCtrlEnd},  {"Down", kDown},            {"Ctrl-Left", kCtrlLeft},
    {"Esc", kEsc},           {"Ctrl-Home", kCtrlHome},   {"Ctrl-PgDn", kCtrlPgDn},
    {"Ctrl-PgUp", kCtrlPgUp}, {"Ctrl-Backspace", kCtrlBackspace},
    {"Shift-Tab", kShiftTab}, {"Space", ' '},
};

}  // namespace

int alt(char c) {
  c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (c >= '1' && c <= '9') return 376 + (c - '1');
  if (c == '0') return 385;
  for (int row = 0; row < 3; ++row) {
    auto pos = kAltOrder[row].find(c);
    if (pos != std::string_view::npos) return kAltStart[row] + static_cast<int>(pos);
  }
  return 0;
}

char alt_letter(int code) {
  if (code >= 376 && code <= 384) return static_cast<char>('1' + (code - 376));
  if (code == 385) return '0';
  for (int row = 0; row < 3; ++row) {
    int i = code - kAltStart[row];
    if (i >= 0 && i < static_cast<int>(kAltOrder[row].size())) return kAltOrder[row][i];
  }
  return 0;
}

unsigned char character(int code) {
  if ((code >= 32 && code <= 126) || (code >= 128 && code <= 255)) {
    return static_cast<unsigned char>(code);
  }
  return 0;
}

std::string name(int code) {
  for (const auto& n : kNamed) {
    if (n.code == code && n.name != "BS" && n.name != "Space") return std::string(n.name);
  }
  if (char c = alt_letter(code)) return std::string("Alt-") + c;
  for (int i = 1; i <= 12; ++i) {
    if (code == f(i)) return "F" + std::to_string(i);
    if (code == shift_f(i)) return "Shift-F" + std::to_string(i);
    if (code == ctrl_f(i)) return "Ctrl-F" + std::to_string(i);
    if (code == alt_f(i)) return "Alt-F" + std::to_string(i);
  }
  for (char c = 'A'; c <= 'Z'; ++c) {
    if (ctrl(c) == code) return std::string("Ctrl-") + c;
  }
  if (unsigned char c = character(code)) return std::string(1, static_cast<char>(c));
  return "#" + std::to_string(code);
}

std::optional<int> from_name(std::string_view n) {
  for (const auto& k : kNamed) {
    if (text::iequals(k.name, n)) return k.code;
  }
  auto has_prefix = [&](std::string_view p) {
    return n.size() > p.size() && text::iequals(n.substr(0, p.size()), p);
  };
  auto function_number = [](std::string_view rest) -> int {
    if (rest.size() < 2 || (rest[0] != 'F' && rest[0] != 'f')) return 0;
    int v = 0;
    for (char c : rest.substr(1)) {
      if (c < '0' || c > '9') return 0;
      v = v * 10 + (c - '0');
    }
    return v >= 1 && v <= 12 ? v : 0;
  };
  if (int fn = function_number(n)) return f(fn);
  std::pair<std::string_view, int (*)(int)> fprefixes[] = {
      {"Shift-", shift_f}, {"Ctrl-", ctrl_f}, {"Alt-", alt_f}};
  for (auto [prefix, fun] : fprefixes) {
    if (has_prefix(prefix)) {
      if (int fn = function_number(n.substr(prefix.size()))) return fun(fn);
    }
  }
  if (has_prefix("Alt-") && n.size() == 5) {
    if (int code = alt(n[4])) return code;
  }
  if (has_prefix("Ctrl-") && n.size() == 6) {
    char c = static_cast<char>(std::toupper(static_cast<unsigned char>(n[5])));
    if (c >= 'A' && c <= 'Z') return ctrl(c);
  }
  if (n.size() > 1 && n[0] == '#') {
    int v = 0, sign = 1;
    std::size_t i = 1;
    if (n[1] == '-') sign = -1, i = 2;
    if (i == n.size()) return std::nullopt;
    for (; i < n.size(); ++i) {
      if (n[i] < '0' || n[i] > '9') return std::nullopt;
      v = v * 10 + (n[i] - '0');
    }
    return sign * v;
  }
  return std::nullopt;
}

}  // namespace kx::ui::key
