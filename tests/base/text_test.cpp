#include "base/text.h"

#include <gtest/gtest.h>

namespace kx {
namespace {

TEST(Text, TrimPadAndSplit) {
  EXPECT_EQ(text::trim(" \t ab c\r\n"), "ab c");
  EXPECT_EQ(text::ltrim("  ab "), "ab ");
  EXPECT_EQ(text::rtrim("  ab "), "  ab");
  EXPECT_EQ(text::trim("   "), "");
  EXPECT_EQ(text::pad_right("ab", 4), "ab  ");
  EXPECT_EQ(text::pad_right("abcdef", 4), "abcd");
  EXPECT_EQ(text::pad_left("7", 3, '0'), "007");
  EXPECT_EQ(text::pad_left("12345", 3), "123");
  EXPECT_EQ(text::pad_left("", 0), "");
  using V = std::vector<std::string_view>;
  EXPECT_EQ(text::split("a;;b;", ';'), (V{"a", "", "b", ""}));
  EXPECT_EQ(text::split("", ';'), (V{""}));
}

TEST(Text, Predicates) {
  EXPECT_TRUE(text::iequals("Imp0115.Dbf", "IMP0115.DBF"));
  EXPECT_FALSE(text::iequals("IMP0115.DBF", "IMP0115.DB"));
  EXPECT_FALSE(text::iequals("\x80", "\x87"));  // ASCII only
  EXPECT_TRUE(text::is_blank(""));
  EXPECT_TRUE(text::is_blank(" \t"));
  EXPECT_FALSE(text::is_blank(" x"));
  EXPECT_TRUE(text::all_digits("0123"));
  EXPECT_FALSE(text::all_digits(""));
  EXPECT_FALSE(text::all_digits("12 "));
}

}  // namespace
}  // namespace kx
