#include "base/csv.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kx {
namespace {

using Records = std::vector<std::vector<std::string>>;

Records read_all(const std::string& text) {
  std::istringstream in(text);
  CsvReader reader(in);
  Records out;
  std::vector<std::string> fields;
  while (reader.next(fields)) out.push_back(fields);
  return out;
}

struct ReadCase {
  const char* name;
  std::string input;
  Records expected;
};

class CsvRead : public testing::TestWithParam<ReadCase> {};

TEST_P(CsvRead, Records) { EXPECT_EQ(read_all(GetParam().input), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Cases, CsvRead,
    testing::Values(
        ReadCase{"plain", "A,B\n1,2\n", {{"A", "B"}, {"1", "2"}}},
        ReadCase{"no_final_newline", "A,B\n1,2", {{"A", "B"}, {"1", "2"}}},
        ReadCase{"crlf", "A,B\r\n1,2\r\n", {{"A", "B"}, {"1", "2"}}},
        ReadCase{"empty_fields", ",x,\n", {{"", "x", ""}}},
        ReadCase{"quoted_comma_quote_newline", "\"a,b\",\"say \"\"hi\"\"\",\"l1\nl2\"\n",
                 {{"a,b", "say \"hi\"", "l1\nl2"}}},
        ReadCase{"quoted_crlf_kept", "\"l1\r\nl2\"\r\n", {{"l1\r\nl2"}}},
        ReadCase{"empty_quoted", "\"\",\"\"\n\"\"\n", {{"", ""}, {""}}},
        ReadCase{"quoted_last_then_empty", "\"a\",\n", {{"a", ""}}},
        ReadCase{"quote_inside_unquoted_is_text", "ab\"c,d\n", {{"ab\"c", "d"}}},
        ReadCase{"blank_lines_skipped", "\nA\n\r\n\nB\n", {{"A"}, {"B"}}},
        ReadCase{"bom_skipped", "\xEF\xBB\xBF" "A\n", {{"A"}}},
        ReadCase{"utf8_bytes_kept", "Jo\xC3\xA3o,\xE2\x96\xA0\n", {{"Jo\xC3\xA3o", "\xE2\x96\xA0"}}},
        ReadCase{"empty_input", "", {}}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST(CsvRead, LineNumbersCountLinesInsideQuotes) {
  std::istringstream in("A\n\"x\ny\"\n\nB\n");
  CsvReader reader(in);
  std::vector<std::string> f;
  ASSERT_TRUE(reader.next(f));
  EXPECT_EQ(reader.line(), 1);
  ASSERT_TRUE(reader.next(f));
  EXPECT_EQ(reader.line(), 2);
  ASSERT_TRUE(reader.next(f));
  EXPECT_EQ(reader.line(), 5);
  EXPECT_FALSE(reader.next(f));
}

TEST(CsvRead, MalformedInputIsAnErrorNamingTheLine) {
  struct Case {
    std::string input;
    std::string message;
  };
  for (const Case& c : {Case{"A\n\"open\nstill open", "line 2: quoted field not closed"},
                        Case{"A\n\"x\"y,z\n", "line 2: text after a closing quote"},
                        Case{"\xEF\xBB" "A\n", "line 1: broken byte order mark"}}) {
    try {
      read_all(c.input);
      ADD_FAILURE() << "no error for " << c.input;
    } catch (const CsvError& e) {
      EXPECT_EQ(e.what(), c.message);
    }
  }
}

TEST(CsvWrite, EveryAwkwardFieldReadsBackTheSame) {
  const Records records = {{"A", "B", "C"},
                           {"plain", "with,comma", "with \"quote\""},
                           {"two\nlines", "cr\r\nlf", ""},
                           {""},
                           {"", ""},
                           {"\"", ",", " lead and trail "}};
  std::ostringstream out;
  CsvWriter writer(out);
  for (const auto& r : records) writer.write(r);
  EXPECT_EQ(read_all(out.str()), records);
}

TEST(CsvWrite, QuotesOnlyWhenNeeded) {
  std::ostringstream out;
  CsvWriter(out).write({"a b", "12.50", "x,y", "q\"", ""});
  EXPECT_EQ(out.str(), "a b,12.50,\"x,y\",\"q\"\"\",\n");
}

}  // namespace
}  // namespace kx
