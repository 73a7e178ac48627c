#include "base/decimal.h"

#include <gtest/gtest.h>

#include <limits>
#include <type_traits>

namespace kx {
namespace {

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

// Integers convert; binary fractions do not compile.
static_assert(std::is_convertible_v<int, Decimal> && std::is_convertible_v<int64_t, Decimal>);
static_assert(!std::is_convertible_v<double, Decimal> && !std::is_constructible_v<Decimal, float>);

struct ParseCase {
  const char* text;
  bool valid;
  int64_t mantissa;
  int scale;
};

TEST(DecimalParse, DbaseForm) {
  const ParseCase cases[] = {
      {"-1234.50", true, -123450, 2},
      {"   -12.50", true, -1250, 2},
      {" 7 ", true, 7, 0},
      {".5", true, 5, 1},
      {"-.5", true, -5, 1},
      {"+3.25", true, 325, 2},
      {"5.", true, 5, 0},
      {"0000012.3400", true, 123400, 4},
      {"", true, 0, 0},
      {"        ", true, 0, 0},
      {"9223372036854775807", true, kMax, 0},
      {"-9223372036854775808", true, kMin, 0},
      // More decimals than fit are rounded half away from zero at the last place that fits.
      {"0.1234567890123456785", true, 123456789012345679, 18},
      {"-0.1234567890123456785999", true, -123456789012345679, 18},
      {"12345678901.123456789", true, 1234567890112345679, 8},
      {"-", false, 0, 0},
      {".", false, 0, 0},
      {"1.2.3", false, 0, 0},
      {"1,5", false, 0, 0},
      {"- 5", false, 0, 0},
      {"1 000", false, 0, 0},
      {"*****", false, 0, 0},
      {"12a", false, 0, 0},
      {"1e3", false, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    auto d = Decimal::parse(c.text);
    ASSERT_EQ(d.has_value(), c.valid);
    if (!c.valid) continue;
    EXPECT_EQ(d->mantissa(), c.mantissa);
    EXPECT_EQ(d->scale(), c.scale);
  }
}

TEST(DecimalParse, BrazilianForm) {
  const ParseCase cases[] = {
      {"-1.234,50", true, -123450, 2},
      {"1234,5", true, 12345, 1},
      {"1.234.567", true, 1234567, 0},
      {" 0,05 ", true, 5, 2},
      {",5", true, 5, 1},
      {"", true, 0, 0},
      {"1.5", false, 0, 0},        // a point that does not group thousands
      {"12.34,5", false, 0, 0},
      {"1234.567,00", false, 0, 0},
      {".234,5", false, 0, 0},
      {"1,234.50", false, 0, 0},
      {"1,2,3", false, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    auto d = Decimal::parse_br(c.text);
    ASSERT_EQ(d.has_value(), c.valid);
    if (!c.valid) continue;
    EXPECT_EQ(d->mantissa(), c.mantissa);
    EXPECT_EQ(d->scale(), c.scale);
  }
}

TEST(DecimalParse, NumberTooLargeIsOverflowNotGarbage) {
  EXPECT_THROW(Decimal::parse("9223372036854775808"), DecimalOverflow);
  EXPECT_THROW(Decimal::parse("-99999999999999999999.5"), DecimalOverflow);
  EXPECT_THROW(Decimal::parse_br("99.999.999.999.999.999.999"), DecimalOverflow);
  EXPECT_THROW("x"_dec, std::invalid_argument);
  EXPECT_FALSE(Decimal::parse("99999999999999999999x").has_value());  // bad text before size
}

TEST(DecimalFormat, DbaseAndBrazilian) {
  struct Case {
    Decimal value;
    int decimals;
    const char* dbase;
    const char* br;
  };
  const Case cases[] = {
      {"-1234.5"_dec, 2, "-1234.50", "-1.234,50"},
      {"0.05"_dec, 2, "0.05", "0,05"},
      {"-0.05"_dec, 1, "-0.1", "-0,1"},
      {"-0.004"_dec, 2, "0.00", "0,00"},
      {"999.995"_dec, 2, "1000.00", "1.000,00"},
      {"1234567.891"_dec, 0, "1234568", "1.234.568"},
      {Decimal(123), 0, "123", "123"},
      {Decimal(kMin), 2, "-9223372036854775808.00", "-9.223.372.036.854.775.808,00"},
      {Decimal::raw(kMax, 18), 18, "9.223372036854775807", "9,223372036854775807"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dbase);
    EXPECT_EQ(c.value.str(c.decimals), c.dbase);
    EXPECT_EQ(c.value.br(c.decimals), c.br);
  }
  EXPECT_EQ("-1234.50"_dec.str(), "-1234.50");
  EXPECT_EQ(".5"_dec.str(), "0.5");
  EXPECT_EQ(Decimal::raw(-5, 3).str(), "-0.005");
  EXPECT_THROW(Decimal(1).str(19), std::invalid_argument);
  EXPECT_THROW(Decimal(1).br(-1), std::invalid_argument);
}

TEST(DecimalCompare, ByValueAcrossScales) {
  EXPECT_EQ("1.50"_dec, "1.5"_dec);
  EXPECT_EQ("0.000"_dec, Decimal(0));
  EXPECT_EQ("-0.00"_dec, "0"_dec);
  EXPECT_LT("1.499999999999999999"_dec, "1.5"_dec);
  EXPECT_GT("-1.4"_dec, "-1.41"_dec);
  EXPECT_LT(Decimal(kMin), Decimal::raw(kMin, 18));
  EXPECT_GT(Decimal(kMax), Decimal::raw(kMax, 1));
  EXPECT_EQ(Decimal::max("2.5"_dec, "2.50"_dec), "2.5"_dec);
  EXPECT_EQ(Decimal::min("-3"_dec, "2"_dec), "-3"_dec);
}

TEST(DecimalRound, HalfAwayFromZeroAndCutTowardZero) {
  struct Case {
    const char* value;
    int places;
    const char* rounded;
    const char* cut;
  };
  const Case cases[] = {
      {"2.345", 2, "2.35", "2.34"},
      {"-2.345", 2, "-2.35", "-2.34"},
      {"2.3449", 2, "2.34", "2.34"},
      {"0.5", 0, "1", "0"},
      {"-0.5", 0, "-1", "0"},
      {"1.45", 1, "1.5", "1.4"},  // not banker's rounding
      {"1.25", 1, "1.3", "1.2"},
      {"9.999", 2, "10.00", "9.99"},
      {"1.5", 4, "1.5", "1.5"},  // more places than the value has: kept as it is
      {"1250", -2, "1300", "1200"},
      {"-1249.99", -2, "-1200", "-1200"},
      {"49.9", -2, "0", "0"},
      {"-9223372036854775808", -2147483647 - 1, "0", "0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    Decimal v = Decimal::parse(c.value).value();
    Decimal r = v.round(c.places), t = v.cut(c.places);
    EXPECT_EQ(r.str(), c.rounded);
    EXPECT_EQ(t.str(), c.cut);
  }
  EXPECT_THROW(Decimal(kMax).round(-1), DecimalOverflow);
}

TEST(DecimalScale, WithScaleAndIntegerPart) {
  EXPECT_EQ("1.5"_dec.with_scale(3).str(), "1.500");
  EXPECT_EQ("1.555"_dec.with_scale(2).str(), "1.56");
  EXPECT_EQ("-1.555"_dec.with_scale(0).str(), "-2");
  EXPECT_THROW(Decimal(kMax).with_scale(1), DecimalOverflow);
  EXPECT_THROW(Decimal(1).with_scale(19), std::invalid_argument);
  EXPECT_THROW(Decimal::raw(1, -1), std::invalid_argument);
  EXPECT_EQ("-7.99"_dec.to_int(), -7);
  EXPECT_EQ("7.99"_dec.to_int(), 7);
  EXPECT_EQ(Decimal::raw(kMin, 18).to_int(), -9);
  EXPECT_EQ("-7.5"_dec.abs(), "7.5"_dec);
  EXPECT_THROW(Decimal(kMin).abs(), DecimalOverflow);
  EXPECT_THROW(-Decimal(kMin), DecimalOverflow);
}

TEST(DecimalArithmetic, ExactResults) {
  struct Case {
    const char* a;
    char op;
    const char* b;
    const char* result;  // str() of the result: value and scale
  };
  const Case cases[] = {
      {"0.1", '+', "0.2", "0.3"},
      {"1234.56", '+', "-1234.56", "0.00"},
      {"999999999.99", '+', "0.01", "1000000000.00"},
      {"0.10", '-', "0.3", "-0.20"},
      {"12345.67", '*', "0.275", "3395.05925"},
      {"-2.5", '*', "-2.5", "6.25"},
      {"100", '/', "8", "12.500000000000"},
      {"1", '/', "3", "0.333333333333"},
      {"2", '/', "3", "0.666666666667"},
      {"-2", '/', "3", "-0.666666666667"},
      {"55000.00", '/', "12", "4583.333333333333"},
      {"1", '/', "8192", "0.000122070313"},  // 0.0001220703125: the tie goes away from zero
      {"-1", '/', "8192", "-0.000122070313"},
      {"0.0000000000005", '/', "1", "0.000000000001"},
      {"-0.0000000000015", '/', "-1", "0.000000000002"},
      {"1", '/', "0.0004", "2500.000000000000"},
      {"0.000000000001", '/', "1000", "0.000000000000"},
      {"5", '/', "0", "0"},
      {"0", '/', "7", "0.000000000000"},
      {"-0.5", '/', "0.00", "0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.a) + c.op + c.b);
    Decimal a = Decimal::parse(c.a).value(), b = Decimal::parse(c.b).value();
    Decimal r = c.op == '+' ? a + b : c.op == '-' ? a - b : c.op == '*' ? a * b : a / b;
    EXPECT_EQ(r.str(), c.result);
  }
}

TEST(DecimalArithmetic, TaxStyleChainsStayExact) {
  // A monthly base: annual amount / 12, times a rate, minus a deduction, cut to centavos.
  Decimal annual = "123456.78"_dec;
  Decimal monthly = annual / 12;  // 10288.065
  EXPECT_EQ(monthly, "10288.065"_dec);
  Decimal tax = (monthly * "0.275"_dec - "826.15"_dec).cut(2);
  EXPECT_EQ(tax.str(), "2003.06");
  // Repeated += of centavos never drifts.
  Decimal sum;
  for (int i = 0; i < 1000; ++i) sum += "0.01"_dec;
  EXPECT_EQ(sum.str(), "10.00");
}

TEST(DecimalArithmetic, ScaleBeyondEighteenIsRoundedAway) {
  Decimal a = Decimal::raw(123456789, 12);  // 0.000123456789
  Decimal b = Decimal::raw(5, 12);          // 0.000000000005
  Decimal p = a * b;                        // 6.17283945e-16 exactly, at 24 places
  EXPECT_EQ(p.scale(), 18);
  EXPECT_EQ(p.mantissa(), 617);
  EXPECT_EQ((Decimal::raw(-15, 10) * Decimal::raw(1, 9)).str(), "-0.000000000000000002");
  // A quotient whose integer part needs room keeps fewer decimals instead of overflowing.
  Decimal big = Decimal(1'000'000'000'000'000'000) / 3;
  EXPECT_EQ(big.str(), "333333333333333333.3");
  // A product with a large integer part keeps as many decimals as fit.
  Decimal q = Decimal::raw(1'000'000'000'123, 3) * Decimal::raw(1'000'000, 0);
  EXPECT_EQ(q.str(), "1000000000123000.000");
}

TEST(DecimalArithmetic, OverflowIsThrownNeverWrapped) {
  EXPECT_THROW(Decimal(kMax) + Decimal(1), DecimalOverflow);
  EXPECT_THROW(Decimal(kMin) - Decimal(1), DecimalOverflow);
  EXPECT_THROW(Decimal(kMax) * Decimal(2), DecimalOverflow);
  EXPECT_THROW(Decimal(kMin) * Decimal(-1), DecimalOverflow);
  EXPECT_THROW(Decimal(kMin) / Decimal(-1), DecimalOverflow);
  EXPECT_THROW(Decimal(kMax) / "0.5"_dec, DecimalOverflow);
  EXPECT_THROW(Decimal(kMax) / Decimal::raw(1, 18), DecimalOverflow);
  Decimal d(kMax);
  EXPECT_THROW(d += Decimal(1), DecimalOverflow);
  EXPECT_EQ(d, Decimal(kMax));  // unchanged after the failed operation
  // Limits themselves are fine.
  EXPECT_EQ(Decimal(kMin) / Decimal(1), Decimal(kMin));
  EXPECT_EQ(Decimal(kMax - 1) + Decimal(1), Decimal(kMax));
}

}  // namespace
}  // namespace kx
