// Random operands checked against exact integer arithmetic.
#include <gtest/gtest.h>

#include <random>

#include "base/decimal.h"

namespace kx {
namespace {

__extension__ typedef __int128 i128;

i128 pow10(int n) {
  i128 p = 1;
  while (n-- > 0) p *= 10;
  return p;
}

i128 abs128(i128 v) { return v < 0 ? -v : v; }

class DecimalProperty : public testing::Test {
 protected:
  // Mantissas up to a million, scales up to 4: every check below fits 128 bits.
  Decimal random_decimal() {
    std::uniform_int_distribution<int64_t> m(-1'000'000, 1'000'000);
    std::uniform_int_distribution<int> s(0, 4);
    return Decimal::raw(m(rng_), s(rng_));
  }
  std::mt19937_64 rng_{20150430};
};

TEST_F(DecimalProperty, SumsAndProductsAreExact) {
  for (int i = 0; i < 20000; ++i) {
    Decimal a = random_decimal(), b = random_decimal();
    SCOPED_TRACE(a.str() + " " + b.str());
    Decimal sum = a + b, product = a * b;
    ASSERT_EQ(sum - b, a);
    ASSERT_EQ(sum.scale(), std::max(a.scale(), b.scale()));
    ASSERT_EQ(product.scale(), a.scale() + b.scale());
    ASSERT_EQ(static_cast<i128>(product.mantissa()), static_cast<i128>(a.mantissa()) * b.mantissa());
    i128 wa = static_cast<i128>(a.mantissa()) * pow10(4 - a.scale());
    i128 wb = static_cast<i128>(b.mantissa()) * pow10(4 - b.scale());
    ASSERT_EQ(a < b, wa < wb);
    ASSERT_EQ(a == b, wa == wb);
  }
}

TEST_F(DecimalProperty, QuotientIsTheNearestAtItsScaleTiesAwayFromZero) {
  for (int i = 0; i < 20000; ++i) {
    Decimal a = random_decimal(), b = random_decimal();
    if (b.is_zero()) continue;
    SCOPED_TRACE(a.str() + " / " + b.str());
    Decimal q = a / b;
    // q = Q/10^s, a/b = A*10^sb / (B*10^sa): compare Q*B*10^sa with A*10^(s+sb).
    int s = q.scale();
    i128 lhs = static_cast<i128>(q.mantissa()) * b.mantissa() * pow10(a.scale());
    i128 rhs = static_cast<i128>(a.mantissa()) * pow10(s + b.scale());
    // |q - a/b| <= half a unit of the last place, times |B|*10^(s+sa).
    i128 unit = abs128(static_cast<i128>(b.mantissa()) * pow10(a.scale()));
    i128 twice_error = 2 * abs128(lhs - rhs);
    ASSERT_LE(twice_error, unit);
    if (twice_error == unit) {
      ASSERT_GT(abs128(lhs), abs128(rhs)) << "tie not rounded away from zero";
    }
    // Twelve decimals whenever the integer part leaves room for them.
    if (q.abs() < Decimal(1'000'000)) {
      ASSERT_EQ(s, Decimal::kDivisionScale);
    }
  }
}

}  // namespace
}  // namespace kx
