// Colour strings ("W+/B,N/W,,,GR+/B") and attribute bytes (background x 16 + foreground).
//
// A colour string is a comma-separated list of pairs "foreground/background" of the letters N B G
// BG R BR GR W (any case, blanks and other characters ignored). "+" anywhere in a pair makes the
// foreground bright, "*" the background. The position of a pair gives its role.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kx::ui {

enum class ColourRole { kStandard = 0, kEnhanced, kBorder, kBackground, kUnselected };

// One pair as an attribute byte; nullopt for an empty pair (it keeps the current colour).
std::optional<unsigned char> parse_colour_pair(std::string_view pair);
// The five roles of a colour string (missing and empty pairs are nullopt).
std::array<std::optional<unsigned char>, 5> parse_colour(std::string_view colours);
// The attribute byte of `role` in `colours`, or `current` when that pair is missing or empty.
// A missing unselected pair (input fields not being edited) falls back to the enhanced one.
unsigned char colour_of(std::string_view colours, ColourRole role, unsigned char current);
inline unsigned char standard_colour(std::string_view c, unsigned char current = 0x07) {
  return colour_of(c, ColourRole::kStandard, current);
}

// The colour string of an attribute byte: 30 -> "GR+/B", 0xF0 -> "N/W+". A bright background
// comes out as "+" after the background letter, which reads back as a bright foreground: the
// stored colour settings depend on this form.
std::string ACHACOR(int attr);

// The operator's colour settings and the composites built from them (per terminal).
struct ColourSettings {
  int COR_TEL1 = 30, COR_TEL2 = 31, COR_TEL3 = 63, COR_ESCOL = 79, COR_PEGA = 15, COR_MENS = 112,
      COR_HELP = 112, COR_ENCHE = 31, COR_FERID = 28;
  std::string COR_1_CLI = "GR+/B", COR_2_CLI = "W+/B", COR_ESC_CL = "W/R+", COR_GET = "W/N",
              COR_SAY = "N/W+", COR_CLI_HE = "N/W", COR_ENCH_C = "W+/B", COR_INI = "W+/B";
  std::string CORNORM, CORLIMP, CORSELE;
  std::string INVISIVEL = "W/W,W/W,N/N,N/N,W/W";
  std::string CORATEN = "R/W*";

  ColourSettings() { rebuild_composites(); }
  // CORNORM, CORLIMP and CORSELE from the current string settings.
  void rebuild_composites();
};

// The palette entries replaced at start-up: red and bright red, white, blue and bright blue.
struct PaletteChange {
  int index, r, g, b;
};
inline constexpr PaletteChange kPaletteChanges[] = {
    {4, 255, 0, 0}, {12, 255, 0, 0}, {7, 239, 235, 222}, {1, 57, 109, 165}, {9, 57, 109, 165}};

}  // namespace kx::ui
