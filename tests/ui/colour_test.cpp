#include "ui/colour.h"

#include <gtest/gtest.h>

namespace kx::ui {
namespace {

TEST(Colour, AttributeBytesBecomeColourStrings) {
  const std::pair<int, const char*> cases[] = {
      {30, "GR+/B"}, {31, "W+/B"}, {63, "W+/BG"}, {79, "W+/R"}, {112, "N/W"},
      {48, "N/BG"},  {7, "W/N"},   {0x4F, "W+/R"}, {0xF0, "N/W+"}, {0x5D, "BR+/BR"},
  };
  for (auto [attr, text] : cases) EXPECT_EQ(ACHACOR(attr), text) << attr;
}

TEST(Colour, PairsBecomeAttributeBytes) {
  const std::pair<const char*, int> cases[] = {
      {"N/W+", 0x78},   // "+" anywhere brightens the foreground: dark grey on white
      {"W/R+", 0x4F},   {"N/W*", 0xF0}, {"W*/B", 0x97}, {"W+/B", 0x1F},  {"R/W*", 0xF4},
      {"gr+/b", 0x1E},  {" w / b ", 0x17}, {"\"N/N\"", 0x00}, {"BG/N", 0x03}, {"b", 0x01},
  };
  for (auto [text, attr] : cases) EXPECT_EQ(parse_colour_pair(text), attr) << text;
  EXPECT_FALSE(parse_colour_pair(""));
  EXPECT_FALSE(parse_colour_pair(" \" "));
  // A bright background read back through its string loses the brightness.
  EXPECT_EQ(parse_colour_pair(ACHACOR(0xF0)), 0x78);
  for (int attr = 0; attr < 128; ++attr) EXPECT_EQ(parse_colour_pair(ACHACOR(attr)), attr) << attr;
}

TEST(Colour, RolesOfAColourString) {
  ColourSettings s;
  EXPECT_EQ(s.CORNORM, "N/W+,W/N,\"N/N\",\"N/N\",N/W+");
  EXPECT_EQ(colour_of(s.CORNORM, ColourRole::kStandard, 0), 0x78);
  EXPECT_EQ(colour_of(s.CORNORM, ColourRole::kEnhanced, 0), 0x07);   // COR_GET: the field edited
  EXPECT_EQ(colour_of(s.CORNORM, ColourRole::kUnselected, 0), 0x78); // COR_SAY: fields not edited
  EXPECT_EQ(colour_of("W/B,,N/N", ColourRole::kEnhanced, 0x42), 0x42);  // empty pair keeps
  EXPECT_EQ(colour_of("W/B,N/W", ColourRole::kUnselected, 0), 0x70);   // falls back to enhanced
  s.COR_1_CLI = "W/R";
  s.COR_CLI_HE = "N/BG";
  s.rebuild_composites();
  EXPECT_EQ(s.CORLIMP.substr(0, 4), "W/R,");
  EXPECT_EQ(s.CORSELE.substr(0, 5), "N/BG,");
}

}  // namespace
}  // namespace kx::ui
