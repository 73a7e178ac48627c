#include "ui/colour.h"

#include <cctype>

#include "base/text.h"

namespace kx::ui {
namespace {

constexpr const char* kNames[] = {"N", "B", "G", "BG", "R", "BR", "GR", "W"};

// The colour number of a run of letters: B, G and R add up (BG = 3, GR = 6), W is 7, N 0.
int colour_number(std::string_view letters) {
  int n = 0;
  for (char c : letters) {
    switch (std::toupper(static_cast<unsigned char>(c))) {
      case 'B': n |= 1; break;
      case 'G': n |= 2; break;
      case 'R': n |= 4; break;
      case 'W': n |= 7; break;
      default: break;
    }
  }
  return n;
}

}  // namespace

std::optional<unsigned char> parse_colour_pair(std::string_view pair) {
  bool bright_fg = false, bright_bg = false, any = false;
  std::string fg, bg;
  bool in_bg = false;
  for (char c : pair) {
    char u = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (u == '+') {
      bright_fg = any = true;
    } else if (u == '*') {
      bright_bg = any = true;
    } else if (u == '/') {
      in_bg = any = true;
    } else if (u == 'N' || u == 'B' || u == 'G' || u == 'R' || u == 'W') {
      (in_bg ? bg : fg) += u;
      any = true;
    }
  }
  if (!any) return std::nullopt;
  int f = colour_number(fg) + (bright_fg ? 8 : 0);
  int b = colour_number(bg) + (bright_bg ? 8 : 0);
  return static_cast<unsigned char>(b * 16 + f);
}

std::array<std::optional<unsigned char>, 5> parse_colour(std::string_view colours) {
  std::array<std::optional<unsigned char>, 5> out{};
  auto pairs = text::split(colours, ',');
  for (std::size_t i = 0; i < pairs.size() && i < out.size(); ++i) {
    out[i] = parse_colour_pair(pairs[i]);
  }
  return out;
}

unsigned char colour_of(std::string_view colours, ColourRole role, unsigned char current) {
  auto roles = parse_colour(colours);
  auto v = roles[static_cast<std::size_t>(role)];
  if (!v && role == ColourRole::kUnselected) v = roles[static_cast<std::size_t>(ColourRole::kEnhanced)];
  return v ? *v : current;
}

std::string ACHACOR(int attr) {
  attr &= 0xFF;
  int bg = attr / 16, fg = attr % 16;
  std::string out = kNames[fg % 8];
  if (fg >= 8) out += '+';
  out += '/';
  out += kNames[bg % 8];
  if (bg >= 8) out += '+';
  return out;
}

void ColourSettings::rebuild_composites() {
  const std::string tail = "," + COR_GET + ",\"N/N\",\"N/N\"," + COR_SAY;
  CORNORM = COR_SAY + tail;
  CORLIMP = COR_1_CLI + tail;
  CORSELE = COR_CLI_HE + tail;
}

}  // namespace kx::ui
