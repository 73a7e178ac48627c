#include "dbf/expr.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "base/cp850.h"
#include "base/text.h"

namespace kx::dbf {
namespace {

Schema declaration_schema() {
  std::vector<Field> fields;
  for (const char* field_text : {"CPF:C:11", "NOMECONTR:C:20", "I7_0:N:4", "VALOR:N:8:2", "DT_LC:D",
                           "ATV_BRASIL:C:1", "ESTATUS:N:2", "HORAG:C:5", "DATAG:D", "BEM_NRO:N:2",
                           "RVAR_NRO:N:2", "DAY_TRADE:C:1", "OK:L", "OBS:M"})
    fields.push_back(*parse_field_spec(field_text));
  return Schema(std::move(fields));
}

class ExprTest : public ::testing::Test {
 protected:
  Schema schema = declaration_schema();
  std::string blank = std::string(schema.record_length(), ' ');
  std::string record = filled();

  std::string filled() const {
    std::string r = blank;
    auto f = [&](const char* name) { return *schema.find(name); };
    put_text(r, f("CPF"), "12345678901");
    put_text(r, f("NOMECONTR"), "joão da silva"_cp);
    put_number(r, f("I7_0"), Decimal(7));
    put_number(r, f("VALOR"), "-3.5"_dec);
    put_date(r, f("DT_LC"), *Date::from_ymd(2014, 3, 5));
    put_text(r, f("ATV_BRASIL"), "S");
    put_number(r, f("ESTATUS"), Decimal(3));
    put_text(r, f("HORAG"), "09:30");
    put_date(r, f("DATAG"), *Date::from_ymd(2015, 4, 30));
    put_number(r, f("BEM_NRO"), Decimal(5));
    put_number(r, f("RVAR_NRO"), Decimal(12));
    put_text(r, f("DAY_TRADE"), "N");
    put_logical(r, f("OK"), true);
    return r;
  }
  std::string key(std::string_view expr, const std::string& rec) const {
    return KeyExpr::parse(expr, schema).eval(RecordView(schema, rec));
  }
};

TEST_F(ExprTest, CharacterKeysOfEveryFunction) {
  struct Case {
    const char* expr;
    std::string expected;  // CP850; its size is the key width
  } cases[] = {
      {"CPF+str(I7_0,4)", "12345678901   7"},
      {"cpf+dtos(dt_lc)", "1234567890120140305"},
      {"CPF+ATV_BRASIL+DTOS(DT_LC)", "12345678901S20140305"},
      {"UPPER(NOMECONTR)", std::string("JOÃO DA SILVA       "_cp)},
      {"upper(nomecontr)", std::string("JOÃO DA SILVA       "_cp)},
      {"LOWER(UPPER(NOMECONTR))", std::string("joão da silva       "_cp)},
      {"HORAG+DTOC(DATAG)", "09:3030/04/2015"},
      {"STRZERO(BEM_NRO,2)+STRZERO(RVAR_NRO,2)+DAY_TRADE", "0512N"},
      {"STR(I7_0)", "         7"},
      {"STR(VALOR,8,2)", "   -3.50"},
      {"STR(VALOR,3)", " -4"},  // half away from zero
      {"STR(VALOR,2,2)", "**"},
      {"STRZERO(VALOR,6,1)", "-003.5"},
      {"STRZERO(I7_0,1)", "7"},
      {"STRZERO(ESTATUS+BEM_NRO,3)", "008"},
      {"SUBSTR(CPF,4,3)", "456"},
      {"SUBSTR(CPF,10)", "01"},
      {"SUBS(CPF,1,2)", "12"},
      {"LEFT(CPF,3)", "123"},
      {"RIGHT(CPF,2)", "01"},
      {"RIGHT(TRIM(NOMECONTR),5)", "silva"},
      {"TRIM(NOMECONTR)+'|'", std::string("joão da silva|       "_cp)},
      {"RTRIM(NOMECONTR)+'|'", std::string("joão da silva|       "_cp)},
      {"ALLTRIM(\"  x \")+'|'", "x|   "},
      {"LTRIM(STR(I7_0,4))", "7   "},
      {" ( CPF ) + \"-\" + ( ATV_BRASIL ) ", "12345678901-S"},
  };
  for (const auto& c : cases) {
    KeyExpr e = KeyExpr::parse(c.expr, schema);
    EXPECT_EQ(e.type(), KeyType::character) << c.expr;
    EXPECT_EQ(e.width(), static_cast<int>(c.expected.size())) << c.expr;
    EXPECT_EQ(e.eval(RecordView(schema, record)), c.expected) << c.expr;
    EXPECT_EQ(e.text(), c.expr);
  }
}

TEST_F(ExprTest, BlankFieldsGiveBlankShapedKeys) {
  struct Case {
    const char* expr;
    const char* expected;
  } cases[] = {
      {"DTOS(DT_LC)", "        "},
      {"DTOC(DT_LC)", "  /  /    "},
      {"STR(I7_0,4)", "   0"},
      {"STRZERO(I7_0,4)", "0000"},
      {"TRIM(CPF)+'|'", "|           "},
      {"DT_LC", "        "},
      {"OK", "F"},
  };
  for (const auto& c : cases) EXPECT_EQ(key(c.expr, blank), c.expected) << c.expr;
}

TEST_F(ExprTest, NumericKeysSortInNumericOrderAsBytes) {
  KeyExpr e = KeyExpr::parse("VALOR", schema);
  EXPECT_EQ(e.type(), KeyType::numeric);
  EXPECT_EQ(e.width(), 8);
  const Field& valor = *schema.find("VALOR");
  std::vector<Decimal> values = {"-9999.99"_dec, "-12.5"_dec, "-0.01"_dec, Decimal(), "0.01"_dec,
                                 "3"_dec,         "12.5"_dec,  "99999.99"_dec};
  std::vector<std::string> keys;
  for (Decimal v : values) {
    std::string r = blank;
    put_number(r, valor, v);
    keys.push_back(e.eval(RecordView(schema, r)));
    EXPECT_EQ(keys.back().size(), 8u);
    EXPECT_EQ(e.key_from_text(v.str()), keys.back()) << v.str();
  }
  EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));  // std::string compares unsigned bytes
  for (std::size_t i = 1; i < keys.size(); ++i) EXPECT_LT(e.compare(keys[i - 1], keys[i]), 0);
  EXPECT_EQ(key("VALOR", blank), e.key_from_text("0"));

  KeyExpr sum = KeyExpr::parse("I7_0+VALOR", schema);
  EXPECT_EQ(sum.eval(RecordView(schema, record)), e.key_from_text("3.5"));

  EXPECT_THROW(e.key_from_text("1.005"), ExprError);  // finer than the key: would seek another
  EXPECT_THROW(e.key_from_text("abc"), ExprError);
}

TEST_F(ExprTest, DateAndLogicalKeys) {
  KeyExpr d = KeyExpr::parse("DT_LC", schema);
  EXPECT_EQ(d.type(), KeyType::date);
  EXPECT_EQ(d.eval(RecordView(schema, record)), "20140305");
  EXPECT_EQ(d.key_from_text("05/03/2014"), "20140305");
  EXPECT_EQ(d.key_from_text("20140305"), "20140305");
  EXPECT_LT(d.compare(key("DT_LC", blank), "20140305"), 0) << "the blank date sorts first";
  EXPECT_THROW(d.key_from_text("31/02/2014"), ExprError);
  EXPECT_THROW(d.key_from_text("tomorrow"), ExprError);

  KeyExpr l = KeyExpr::parse("OK", schema);
  EXPECT_EQ(l.type(), KeyType::logical);
  EXPECT_EQ(l.width(), 1);
  EXPECT_EQ(l.eval(RecordView(schema, record)), "T");
  for (const char* t : {"T", ".T.", "y"}) EXPECT_EQ(l.key_from_text(t), "T") << t;
  for (const char* f : {"F", ".f.", "N"}) EXPECT_EQ(l.key_from_text(f), "F") << f;
  EXPECT_THROW(l.key_from_text("X"), ExprError);
  EXPECT_LT(l.compare("F", "T"), 0);
}

TEST_F(ExprTest, ErrorsNameTheProblem) {
  struct Case {
    const char* expr;
    const char* mentions;
  } cases[] = {
      {"NOPE", "NOPE"},
      {"CPF+NOPE", "NOPE"},
      {"FOO(CPF)", "FOO"},
      {"CPF+", "expected"},
      {"CPF)", ")"},
      {"", "expected"},
      {"'abc", "unterminated"},
      {"CPF+I7_0", "+"},
      {"STR(CPF)", "STR"},
      {"UPPER(I7_0)", "UPPER"},
      {"DTOS(CPF)", "DTOS"},
      {"STR(I7_0,I7_0)", "STR"},
      {"STR(I7_0,2.5)", "STR"},
      {"STR(I7_0,4,2,1)", "STR"},
      {"SUBSTR(CPF,0)", "SUBSTR"},
      {"UPPER(CPF", "\")\""},
      {"OBS", "OBS"},
      {"SUBSTR(CPF,20)", "1 to"},  // an empty key
      {"UP(CPF)", "UP"},           // abbreviations need four letters
  };
  for (const auto& c : cases) {
    try {
      KeyExpr::parse(c.expr, schema);
      ADD_FAILURE() << c.expr << " parsed";
    } catch (const ExprError& e) {
      EXPECT_NE(std::string(e.what()).find(c.mentions), std::string::npos) << c.expr << ": " << e.what();
    }
  }
}

TEST_F(ExprTest, CharacterKeysCompareInPortugueseOrderAndPrefixesMatchTheirRun) {
  KeyExpr e = KeyExpr::parse("UPPER(NOMECONTR)", schema);
  auto k = [&](std::string_view utf8) { return text::pad_right(cp850::from_utf8(utf8), 20); };
  EXPECT_LT(e.compare(k("ALVARO"), k("ÁLVARO")), 0);
  EXPECT_LT(e.compare(k("ÁLVARO"), k("ALVES")), 0);
  EXPECT_LT(e.compare(k("ÇAPA"), k("CBA")), 0);
  EXPECT_EQ(e.key_from_text(cp850::from_utf8("JOSÉ")), cp850::from_utf8("JOSÉ"));
  EXPECT_EQ(e.compare(k("JOSÉ SILVA"), cp850::from_utf8("JOSÉ")), 0);
  EXPECT_LT(e.compare(k("JOSÉ SILVA"), "JOSF"), 0);
  EXPECT_GT(e.compare(k("JOSÉ SILVA"), "JOSA"), 0);

  // For any prefix, the keys sorted by compare() are: those before it, those it matches, those
  // after it, each in one run (what a prefix seek in an index relies on).
  const std::string letters = cp850::from_utf8("AÁCÇEÉ a");
  std::mt19937 rng(7);
  std::vector<std::string> keys;
  for (int i = 0; i < 400; ++i) {
    std::string s;
    for (int j = 0; j < 4; ++j) s += letters[rng() % letters.size()];
    keys.push_back(text::pad_right(s, 20));
  }
  std::sort(keys.begin(), keys.end(), [&](auto& a, auto& b) { return e.compare(a, b) < 0; });
  for (int t = 0; t < 200; ++t) {
    std::string prefix = keys[rng() % keys.size()].substr(0, 1 + rng() % 3);
    int phase = -1;
    for (const auto& key : keys) {
      int c = e.compare(key, prefix);
      int p = c < 0 ? -1 : c == 0 ? 0 : 1;
      ASSERT_GE(p, phase) << "prefix run broken";
      phase = p;
    }
  }
}

}  // namespace
}  // namespace kx::dbf
