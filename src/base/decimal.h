// Exact decimal numbers: a signed 64-bit mantissa and a scale (digits after the point).
// All money and quantities of the program are Decimals; binary floating point is never used.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kx {

// A result that does not fit the 64-bit mantissa (or a field's width) is reported, never wrapped.
class DecimalOverflow : public std::overflow_error {
 public:
  using std::overflow_error::overflow_error;
};

class Decimal {
 public:
  static constexpr int kMaxScale = 18;
  // Scale used for the quotient of operator/ when it fits (rounded half away from zero).
  static constexpr int kDivisionScale = 12;

  constexpr Decimal() = default;
  constexpr Decimal(int64_t integer) : mantissa_(integer) {}  // NOLINT: implicit on purpose
  // mantissa * 10^-scale, e.g. Decimal::raw(12345, 2) == 123.45. scale in 0..kMaxScale.
  static Decimal raw(int64_t mantissa, int scale);

  // dBASE form: optional blanks, optional sign, digits, optional "." and digits ("-1234.50", " 7",
  // ".5"). All blank (or empty) reads as 0. Anything else is nullopt.
  static std::optional<Decimal> parse(std::string_view text);
  // Brazilian form: "." between thousands (optional), "," before decimals ("-1.234,50", "1234,5").
  static std::optional<Decimal> parse_br(std::string_view text);

  int64_t mantissa() const { return mantissa_; }
  int scale() const { return scale_; }
  bool is_zero() const { return mantissa_ == 0; }
  bool negative() const { return mantissa_ < 0; }
  int sign() const { return (mantissa_ > 0) - (mantissa_ < 0); }

  // Half away from zero to `places` decimals (places may exceed the scale: the value is kept).
  Decimal round(int places) const;
  // Toward zero to `places` decimals.
  Decimal cut(int places) const;
  // The same value with exactly `places` decimals, rounding half away from zero when shortening.
  Decimal with_scale(int places) const;
  Decimal abs() const;
  // The integer part (toward zero), as xBase INT().
  int64_t to_int() const;

  // dBASE form with the value's own scale: "-1234.50", "0.05", "7".
  std::string str() const;
  // dBASE form rounded half away from zero to `decimals` places.
  std::string str(int decimals) const;
  // Brazilian form with thousands separators rounded to `decimals` places: "-1.234,50".
  std::string br(int decimals) const;

  friend Decimal operator+(Decimal a, Decimal b);
  friend Decimal operator-(Decimal a, Decimal b);
  friend Decimal operator*(Decimal a, Decimal b);
  // Division by zero yields 0 (the program's rule). Otherwise the quotient at kDivisionScale
  // decimals, or fewer when the integer part needs the room, rounded half away from zero.
  friend Decimal operator/(Decimal a, Decimal b);
  Decimal operator-() const;
  Decimal& operator+=(Decimal b) { return *this = *this + b; }
  Decimal& operator-=(Decimal b) { return *this = *this - b; }
  Decimal& operator*=(Decimal b) { return *this = *this * b; }
  Decimal& operator/=(Decimal b) { return *this = *this / b; }

  // Compare by value: 1.50 == 1.5.
  friend bool operator==(Decimal a, Decimal b);
  friend std::strong_ordering operator<=>(Decimal a, Decimal b);

  static Decimal min(Decimal a, Decimal b) { return a < b ? a : b; }
  static Decimal max(Decimal a, Decimal b) { return a < b ? b : a; }

 private:
  int64_t mantissa_ = 0;
  int scale_ = 0;
};

// 12.34_d style literals for tests and constants: "12.34"_dec.
Decimal operator""_dec(const char* text, std::size_t size);

}  // namespace kx
