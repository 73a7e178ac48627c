#include "declaration/declaration_values.h"

#include <gtest/gtest.h>

#include "base/decimal.h"

namespace kx::declaration {
namespace {

dbf::Schema layout() {
  return dbf::Schema({{"NOMECONTR", dbf::FieldType::character, 10},
                      {"I13_08", dbf::FieldType::numeric, 8, 2},
                      {"DT_NASC", dbf::FieldType::date, 8},
                      {"QUERSEN", dbf::FieldType::logical, 1}});
}

TEST(DeclarationValues, FieldsStartBlankAndRoundTripThroughARecord) {
  dbf::Schema schema = layout();
  DeclarationValues v;
  v.add_fields(schema);
  EXPECT_EQ(v.text("nomecontr"), std::string(10, ' '));
  EXPECT_EQ(v.number("I13_08"), Decimal(0));
  EXPECT_TRUE(v.date("DT_NASC").empty());

  v.set("NOMECONTR", std::string("ANA"));
  v.set("I13_08", "1234.56"_dec);
  v.set("DT_NASC", *Date::from_ymd(1950, 12, 31));
  v.set("QUERSEN", true);
  EXPECT_EQ(v.text("NOMECONTR"), "ANA       ");  // padded to the field

  std::string record = v.write(schema, std::string(schema.record_length(), ' '));
  DeclarationValues back;
  back.add_fields(schema);
  back.read(dbf::RecordView(schema, record));
  EXPECT_EQ(back.text("NOMECONTR"), "ANA       ");
  EXPECT_EQ(back.number("I13_08"), "1234.56"_dec);
  EXPECT_EQ(back.date("DT_NASC"), *Date::from_ymd(1950, 12, 31));
  EXPECT_TRUE(back.logical("QUERSEN"));

  back.clear();
  EXPECT_FALSE(back.logical("QUERSEN"));
}

TEST(DeclarationValues, RefusesUnknownNamesOtherTypesAndNumbersThatDoNotFit) {
  dbf::Schema schema = layout();
  DeclarationValues v;
  v.add_fields(schema);
  EXPECT_EQ(v.find("CPF"), nullptr);
  EXPECT_THROW(v.set("CPF", std::string("1")), std::out_of_range);
  EXPECT_THROW(v.set("I13_08", std::string("1")), std::invalid_argument);
  v.set("I13_08", "123456789.00"_dec);
  EXPECT_THROW(v.write(schema, std::string(schema.record_length(), ' ')), dbf::FieldOverflow);
}

}  // namespace
}  // namespace kx::declaration
