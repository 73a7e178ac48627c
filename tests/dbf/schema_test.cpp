#include "dbf/schema.h"

#include <gtest/gtest.h>

#include "base/cp850.h"

namespace kx::dbf {
namespace {

Field fld(std::string name, FieldType type, int width, int decimals = 0) {
  Field f;
  f.name = std::move(name);
  f.type = type;
  f.width = width;
  f.decimals = decimals;
  return f;
}

TEST(Schema, OffsetsAndRecordLengthIncludeTheDeletedFlagAndWideCharacterFields) {
  Schema s({fld("cpf", FieldType::character, 11), fld("VALOR", FieldType::numeric, 12, 2),
            fld("DT", FieldType::date, 8), fld("OK", FieldType::logical, 1),
            fld("OBS", FieldType::memo, 10), fld("I7_2", FieldType::character, 512)});
  std::vector<int> offsets;
  for (const Field& f : s.fields()) offsets.push_back(f.offset);
  EXPECT_EQ(offsets, (std::vector<int>{1, 12, 24, 32, 33, 43}));
  EXPECT_EQ(s.record_length(), 1 + 11 + 12 + 8 + 1 + 10 + 512);
  EXPECT_EQ(s.fields()[0].name, "CPF");  // names are kept in upper case
  EXPECT_TRUE(s.has_memo());
  EXPECT_EQ(s.find("Valor"), &s.fields()[1]);
  EXPECT_EQ(s.index_of("i7_2"), 5);
  EXPECT_EQ(s.index_of("NOPE"), -1);
  EXPECT_EQ(s.find("NOPE"), nullptr);
}

TEST(Schema, RejectsFieldsThatNoTableCanHold) {
  struct Case {
    const char* what;
    std::vector<Field> fields;
  } cases[] = {
      {"no fields", {}},
      {"empty name", {fld("", FieldType::character, 1)}},
      {"name over 10", {fld("ABCDEFGHIJK", FieldType::character, 1)}},
      {"name with a blank", {fld("A B", FieldType::character, 1)}},
      {"name starting with a digit", {fld("1A", FieldType::character, 1)}},
      {"duplicate in another case", {fld("CPF", FieldType::character, 11), fld("cpf", FieldType::character, 3)}},
      {"C 0", {fld("A", FieldType::character, 0)}},
      {"C 513", {fld("A", FieldType::character, 513)}},
      {"N 21", {fld("A", FieldType::numeric, 21)}},
      {"N without room for the point", {fld("A", FieldType::numeric, 5, 4)}},
      {"decimals on a character field", {fld("A", FieldType::character, 5, 2)}},
      {"D of 10", {fld("A", FieldType::date, 10)}},
      {"L of 2", {fld("A", FieldType::logical, 2)}},
  };
  for (const auto& c : cases) EXPECT_THROW(Schema{c.fields}, std::invalid_argument) << c.what;

  std::vector<Field> many;
  for (int i = 0; i < 256; ++i) many.push_back(fld("F" + std::to_string(i), FieldType::logical, 1));
  EXPECT_THROW(Schema{many}, std::invalid_argument) << "256 fields";
  many.pop_back();
  EXPECT_NO_THROW(Schema{many}) << "255 fields";

  std::vector<Field> wide;
  for (int i = 0; i < 128; ++i) wide.push_back(fld("W" + std::to_string(i), FieldType::character, 512));
  EXPECT_THROW(Schema{wide}, std::invalid_argument) << "record over 65535 bytes";
}

TEST(Schema, ParsesFieldSpecs) {
  struct Case {
    const char* field_text;
    bool ok;
    FieldType type;
    int width, decimals;
  } cases[] = {
      {"CPF:C:11", true, FieldType::character, 11, 0},
      {"valor:n:12:2", true, FieldType::numeric, 12, 2},
      {"DT:D", true, FieldType::date, 8, 0},
      {"DT:D:8", true, FieldType::date, 8, 0},
      {"OK:L", true, FieldType::logical, 1, 0},
      {"OBS:M", true, FieldType::memo, 10, 0},
      {"DESCR:C:512", true, FieldType::character, 512, 0},
      {"DT:D:10", false, {}, 0, 0},
      {"X:C", false, {}, 0, 0},
      {"X:C:abc", false, {}, 0, 0},
      {"X:C:600", false, {}, 0, 0},
      {"X:N:5:4", false, {}, 0, 0},
      {"X:N:5:2:1", false, {}, 0, 0},
      {"X:Q:1", false, {}, 0, 0},
      {"X", false, {}, 0, 0},
      {":C:1", false, {}, 0, 0},
  };
  for (const auto& c : cases) {
    auto f = parse_field_spec(c.field_text);
    ASSERT_EQ(f.has_value(), c.ok) << c.field_text;
    if (!f) continue;
    EXPECT_EQ(f->type, c.type) << c.field_text;
    EXPECT_EQ(f->width, c.width) << c.field_text;
    EXPECT_EQ(f->decimals, c.decimals) << c.field_text;
  }
  EXPECT_EQ(parse_field_spec("valor:n:12:2")->name, "VALOR");
}

class RecordTest : public ::testing::Test {
 protected:
  Schema schema{{fld("NOME", FieldType::character, 10), fld("VALOR", FieldType::numeric, 8, 2),
                 fld("DT", FieldType::date, 8), fld("OK", FieldType::logical, 1),
                 fld("DESCR", FieldType::character, 512)}};
  std::string record = std::string(schema.record_length(), ' ');
  const Field& nome = schema.fields()[0];
  const Field& valor = schema.fields()[1];
  const Field& dt = schema.fields()[2];
  const Field& ok = schema.fields()[3];
  const Field& descr = schema.fields()[4];
  RecordView view() const { return RecordView(schema, record); }
  void store(const Field& f, std::string_view raw) { record.replace(f.offset, f.width, raw); }
};

TEST_F(RecordTest, BlankAndMalformedStoredValuesReadAsZeroOrEmpty) {
  EXPECT_EQ(view().number(valor), Decimal());
  EXPECT_EQ(view().number(valor).scale(), 2);
  EXPECT_TRUE(view().date(dt).empty());
  EXPECT_FALSE(view().logical(ok));
  EXPECT_FALSE(view().deleted());

  struct Case {
    const char* stored;
    Decimal expected;
  } numbers[] = {{"  -12.50", "-12.5"_dec}, {"     7  ", Decimal(7)}, {"********", Decimal()},
                 {"  12,50 ", Decimal()},    {"     .5 ", "0.5"_dec}};
  for (const auto& c : numbers) {
    store(valor, c.stored);
    EXPECT_EQ(view().number(valor), c.expected) << c.stored;
  }

  struct DateCase {
    const char* stored;
    std::optional<Date> expected;
  } dates[] = {{"20140229", Date()}, {"2014ab01", Date()}, {"00000000", Date()},
               {"20120229", Date::from_ymd(2012, 2, 29)}};
  for (const auto& c : dates) {
    store(dt, c.stored);
    EXPECT_EQ(view().date(dt), *c.expected) << c.stored;
  }

  for (char c : std::string("TtYy")) {
    store(ok, std::string(1, c));
    EXPECT_TRUE(view().logical(ok)) << c;
  }
  for (char c : std::string("FfNn ?")) {
    store(ok, std::string(1, c));
    EXPECT_FALSE(view().logical(ok)) << c;
  }
  record[0] = '*';
  EXPECT_TRUE(view().deleted());
}

TEST_F(RecordTest, NumbersAreRoundedRightAlignedAndNeverStoredAsAsterisks) {
  struct Case {
    int width, decimals;
    Decimal value;
    const char* expected;  // nullptr: FieldOverflow
  } cases[] = {
      {12, 2, "1234.5"_dec, "     1234.50"},
      {5, 2, "1.005"_dec, " 1.01"},  // half away from zero
      {5, 2, "-1.005"_dec, "-1.01"},
      {5, 2, "1.004"_dec, " 1.00"},
      {4, 2, "0.5"_dec, "0.50"},
      {3, 2, "0.5"_dec, ".50"},  // no room for the leading zero
      {3, 2, "-0.5"_dec, nullptr},
      {3, 0, Decimal(999), "999"},
      {3, 0, Decimal(1000), nullptr},
      {3, 0, Decimal(-99), "-99"},
      {3, 0, Decimal(-100), nullptr},
      {6, 2, "999.995"_dec, nullptr},  // rounds to 1000.00
      {2, 0, "-0.4"_dec, " 0"},
      {20, 0, Decimal(INT64_MAX), " 9223372036854775807"},
      {20, 4, Decimal(INT64_MAX), nullptr},  // cannot even be scaled
  };
  for (const auto& c : cases) {
    Field f = fld("N", FieldType::numeric, c.width, c.decimals);
    f.offset = 1;
    std::string rec(1 + c.width, '#');
    if (!c.expected) {
      EXPECT_THROW(put_number(rec, f, c.value), FieldOverflow) << c.value.str();
      EXPECT_EQ(rec, std::string(1 + c.width, '#')) << "record untouched on overflow";
      continue;
    }
    put_number(rec, f, c.value);
    EXPECT_EQ(rec.substr(1), c.expected) << c.value.str();
  }
}

TEST_F(RecordTest, TypedValuesRoundTrip) {
  const std::string accented("AÇÃO é ■"_cp);
  put_text(record, nome, accented);
  put_number(record, valor, "-1234.56"_dec);
  put_date(record, dt, *Date::from_ymd(2014, 12, 31));
  put_logical(record, ok, true);
  const std::string long_text(600, 'x');
  put_text(record, descr, long_text);

  EXPECT_EQ(view().text(nome), accented + std::string(10 - accented.size(), ' '));
  EXPECT_EQ(view().number(valor), "-1234.56"_dec);
  EXPECT_EQ(view().date(dt), *Date::from_ymd(2014, 12, 31));
  EXPECT_TRUE(view().logical(ok));
  EXPECT_EQ(view().text(descr), long_text.substr(0, 512));
  EXPECT_EQ(static_cast<int>(record.size()), schema.record_length());

  put_text(record, nome, "ABCDEFGHIJKLMN");
  EXPECT_EQ(view().text(nome), "ABCDEFGHIJ");
  put_date(record, dt, Date());
  EXPECT_EQ(view().raw(dt), "        ");
  put_logical(record, ok, false);
  EXPECT_EQ(view().raw(ok), "F");

  std::string short_record(5, ' ');
  EXPECT_THROW(put_text(short_record, descr, "x"), std::invalid_argument);
}

}  // namespace
}  // namespace kx::dbf
