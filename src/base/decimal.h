// Exact decimal numbers: a signed 64-bit mantissa and a scale (digits after the point).
// All money and quantities of the program are Decimals; binary floating point is never used.
//
// Results of + - * are exact (computed on 128 bits) whenever they fit the mantissa at the natural
// scale (the larger scale of the operands for + and -, the sum of the scales for *, at most
// kMaxScale). A result with more digits than the mantissa holds keeps as many decimals as fit,
// rounded half away from zero; DecimalOverflow is thrown only when the integer part alone does
// not fit. A Decimal is never wrapped and never silently loses integer digits.
#pragma once

#include <compare>
#include <concepts>
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
  // Binary fractions are never Decimals: Decimal(0.275) would silently be 0. Use "0.275"_dec.
  template <std::floating_point F>
  Decimal(F) = delete;
  // mantissa * 10^-scale, e.g. Decimal::raw(12345, 2) == 123.45. scale in 0..kMaxScale (else
  // std::invalid_argument).
  static Decimal raw(int64_t mantissa, int scale);

  // dBASE form: optional blanks, optional sign, digits, optional "." and digits ("-1234.50", " 7",
  // ".5", "5."). All blank (or empty) reads as 0. Anything else is nullopt. The scale is the number
  // of decimals written (at most kMaxScale; further decimals round). A well-formed number whose
  // integer part does not fit throws DecimalOverflow.
  static std::optional<Decimal> parse(std::string_view text);
  // Brazilian form: "." between thousands (optional), "," before decimals ("-1.234,50", "1234,5").
  // When points are present they must group thousands ("1.234.567"): "1.5" is nullopt, never 15.
  static std::optional<Decimal> parse_br(std::string_view text);

  int64_t mantissa() const { return mantissa_; }
  int scale() const { return scale_; }
  bool is_zero() const { return mantissa_ == 0; }
  bool negative() const { return mantissa_ < 0; }
  int sign() const { return (mantissa_ > 0) - (mantissa_ < 0); }

  // Half away from zero to `places` decimals (places may exceed the scale: the value is kept).
  // Negative places round to tens, hundreds, ... as xBase ROUND(x, -2).
  Decimal round(int places) const;
  // Toward zero to `places` decimals (negative places as for round).
  Decimal cut(int places) const;
  // The same value with exactly `places` decimals (0..kMaxScale, else std::invalid_argument),
  // rounding half away from zero when shortening; DecimalOverflow when lengthening does not fit.
  Decimal with_scale(int places) const;
  Decimal abs() const;
  // The integer part (toward zero), as xBase INT().
  int64_t to_int() const;

  // dBASE form with the value's own scale: "-1234.50", "0.05", "7".
  std::string str() const;
  // dBASE form rounded half away from zero to `decimals` places (0..kMaxScale, else
  // std::invalid_argument). Never overflows: the text holds any rounded value.
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

// Literals for tests and constants: "12.34"_dec (dBASE form; std::invalid_argument when it is not).
Decimal operator""_dec(const char* text, std::size_t size);

}  // namespace kx
