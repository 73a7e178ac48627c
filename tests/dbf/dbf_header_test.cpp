#include "dbf/dbf_header.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using namespace std::string_literals;

namespace kx::dbf {
namespace {

Schema wide_schema() {
  return Schema({{"NOME", FieldType::character, 512},
                 {"VALOR", FieldType::numeric, 12, 2},
                 {"DATA", FieldType::date, 8},
                 {"OK", FieldType::logical, 1},
                 {"OBS", FieldType::memo, 10}});
}

TEST(DbfHeader, EncodesTheBytesOtherToolsRead) {
  DbfHeader h;
  h.version = kVersionFpt;
  h.schema = wide_schema();
  h.record_count = 0x01020304;
  h.last_update = *Date::from_ymd(2015, 4, 30);
  std::string b = encode_header(h);
  ASSERT_EQ(b.size(), 32u + 5 * 32 + 1);
  EXPECT_EQ(static_cast<uint8_t>(b[0]), 0xF5);
  EXPECT_EQ(b[1], 115);  // years since 1900
  EXPECT_EQ(b[2], 4);
  EXPECT_EQ(b[3], 30);
  EXPECT_EQ(b.substr(4, 4), std::string("\x04\x03\x02\x01", 4));
  EXPECT_EQ(static_cast<uint8_t>(b[8]) | static_cast<uint8_t>(b[9]) << 8, 32 + 5 * 32 + 1);
  EXPECT_EQ(static_cast<uint8_t>(b[10]) | static_cast<uint8_t>(b[11]) << 8, 1 + 512 + 12 + 8 + 1 + 10);
  EXPECT_EQ(b[29], 0x02);
  // C 512: low byte in the length, high byte in the decimals.
  EXPECT_EQ(b.substr(32, 5), "NOME\0"s.substr(0, 5));
  EXPECT_EQ(b[32 + 11], 'C');
  EXPECT_EQ(static_cast<uint8_t>(b[32 + 16]), 0x00);
  EXPECT_EQ(static_cast<uint8_t>(b[32 + 17]), 0x02);
  EXPECT_EQ(b[64 + 17], 2);  // VALOR decimals
  EXPECT_EQ(b.back(), 0x0D);
}

TEST(DbfHeader, ParsesWhatItEncodes) {
  DbfHeader h;
  h.schema = wide_schema();
  h.record_count = 7;
  h.last_update = *Date::from_ymd(2014, 12, 31);
  DbfHeader back = parse_header(encode_header(h));
  EXPECT_EQ(back.record_count, 7u);
  EXPECT_EQ(back.last_update, h.last_update);
  EXPECT_EQ(back.record_length, h.schema.record_length());
  ASSERT_EQ(back.schema.fields().size(), 5u);
  EXPECT_EQ(back.schema.fields()[0].width, 512);
  EXPECT_EQ(back.schema.fields()[1].decimals, 2);
  EXPECT_EQ(back.schema.fields()[4].type, FieldType::memo);
}

TEST(DbfHeader, RefusesUnsoundHeaders) {
  DbfHeader h;
  h.schema = wide_schema();
  const std::string good = encode_header(h);
  auto with = [&](int at, char value) {
    std::string b = good;
    b[at] = value;
    return b;
  };
  const std::string cases[] = {
      good.substr(0, 20),               // shorter than the fixed part
      good.substr(0, good.size() - 1),  // shorter than its header length
      with(good.size() - 1, 'X'),       // no terminator
      with(10, 0x05),                   // record length differs from the widths
      with(32 + 11, 'Q'),               // unknown field type
      with(8, 0x10),                    // header length too small
  };
  for (const std::string& b : cases) EXPECT_THROW(parse_header(b), std::invalid_argument);
}

}  // namespace
}  // namespace kx::dbf
