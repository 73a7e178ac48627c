#include "base/decimal.h"

#include <algorithm>
#include <array>
#include <limits>

#include "base/text.h"

namespace kx {
namespace {

__extension__ typedef __int128 i128;
__extension__ typedef unsigned __int128 u128;

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

constexpr std::array<i128, 39> kPow10 = [] {
  std::array<i128, 39> p{};
  p[0] = 1;
  for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
  return p;
}();

bool fits(i128 v) { return v >= kMin && v <= kMax; }

i128 magnitude(i128 v) { return v < 0 ? -v : v; }

// n / d rounded half away from zero; d > 0.
i128 div_round(i128 n, i128 d) {
  i128 q = n / d;
  i128 r = magnitude(n % d);
  if (r >= d - r) q += n < 0 ? -1 : 1;
  return q;
}

// n / 10^digits, rounded half away from zero; 0 when the divisor is beyond 10^38.
i128 drop_digits_round(i128 n, int digits) {
  if (digits <= 0) return n;
  if (digits >= static_cast<int>(kPow10.size())) return 0;
  return div_round(n, kPow10[digits]);
}

i128 drop_digits_cut(i128 n, int digits) {
  if (digits <= 0) return n;
  if (digits >= static_cast<int>(kPow10.size())) return 0;
  return n / kPow10[digits];
}

// The exact value m * 10^-scale when it fits; otherwise the nearest value (half away from zero)
// at the largest scale that fits. DecimalOverflow when not even the integer part fits.
Decimal fit(i128 m, int scale) {
  for (int s = std::min(scale, Decimal::kMaxScale); s >= 0; --s) {
    i128 r = drop_digits_round(m, scale - s);
    if (fits(r)) return Decimal::raw(static_cast<int64_t>(r), s);
  }
  throw DecimalOverflow("decimal overflow");
}

// Digits of |m| at `scale` decimals, with `point` before the decimals and `group` (when not 0)
// between thousands.
std::string format(i128 m, int scale, char point, char group) {
  u128 v = static_cast<u128>(magnitude(m));
  std::string digits;
  do {
    digits.push_back(static_cast<char>('0' + static_cast<int>(v % 10)));
    v /= 10;
  } while (v != 0);
  while (static_cast<int>(digits.size()) < scale + 1) digits.push_back('0');
  std::reverse(digits.begin(), digits.end());
  const std::size_t int_digits = digits.size() - static_cast<std::size_t>(scale);
  std::string out;
  if (m < 0) out.push_back('-');
  for (std::size_t i = 0; i < int_digits; ++i) {
    if (group && i > 0 && (int_digits - i) % 3 == 0) out.push_back(group);
    out.push_back(digits[i]);
  }
  if (scale > 0) out.append(1, point).append(digits, int_digits);
  return out;
}

// The mantissa of the value at `decimals` places (rounded half away from zero), unbounded.
i128 mantissa_at(Decimal d, int decimals) {
  if (decimals >= d.scale()) return static_cast<i128>(d.mantissa()) * kPow10[decimals - d.scale()];
  return drop_digits_round(d.mantissa(), d.scale() - decimals);
}

void check_places(int places) {
  if (places < 0 || places > Decimal::kMaxScale)
    throw std::invalid_argument("decimal places out of range");
}

// round(A * 10^e / B) half away from zero, or nullopt when it exceeds `limit`. A, B > 0.
std::optional<u128> scaled_quotient(u128 a, u128 b, int e, u128 limit) {
  u128 q, r, d = b;
  if (e >= 0) {
    q = a / b;
    r = a % b;
    if (q > limit) return std::nullopt;
    for (int i = 0; i < e; ++i) {
      r *= 10;
      q = q * 10 + r / b;
      r %= b;
      if (q > limit) return std::nullopt;
    }
  } else {
    d = b * static_cast<u128>(kPow10[-e]);
    q = a / d;
    r = a % d;
  }
  if (r >= d - r) ++q;
  if (q > limit) return std::nullopt;
  return q;
}

// Digits of a number: sign, integer digits (with `group` allowed between thousands when not 0),
// optional `point` and decimals.
std::optional<Decimal> parse_number(std::string_view text, char point, char group) {
  text = text::trim(text);
  if (text.empty()) return Decimal{};
  bool neg = false;
  if (text.front() == '-' || text.front() == '+') {
    neg = text.front() == '-';
    text.remove_prefix(1);
  }
  std::size_t end_int = text.find(point);
  std::string_view int_part = text.substr(0, end_int);
  std::string_view frac_part =
      end_int == std::string_view::npos ? std::string_view{} : text.substr(end_int + 1);
  if (int_part.empty() && frac_part.empty()) return std::nullopt;

  i128 m = 0;
  int significant = 0;
  if (group && int_part.find(group) != std::string_view::npos) {
    auto groups = text::split(int_part, group);
    for (std::size_t i = 0; i < groups.size(); ++i) {
      std::size_t n = groups[i].size();
      if (i == 0 ? (n < 1 || n > 3) : n != 3) return std::nullopt;
    }
  }
  for (char c : int_part) {
    if (c == group && group) continue;
    if (c < '0' || c > '9') return std::nullopt;
    if (m == 0 && c == '0') continue;
    if (++significant <= 19) m = m * 10 + (c - '0');
  }
  // One digit beyond the largest scale decides the rounding; later ones cannot change it.
  int scale = 0;
  for (char c : frac_part) {
    if (c < '0' || c > '9') return std::nullopt;
    if (scale > Decimal::kMaxScale) continue;
    m = m * 10 + (c - '0');
    ++scale;
  }
  if (significant > 19) throw DecimalOverflow("decimal overflow");
  return fit(neg ? -m : m, scale);
}

}  // namespace

Decimal Decimal::raw(int64_t mantissa, int scale) {
  check_places(scale);
  Decimal d;
  d.mantissa_ = mantissa;
  d.scale_ = scale;
  return d;
}

std::optional<Decimal> Decimal::parse(std::string_view text) { return parse_number(text, '.', 0); }

std::optional<Decimal> Decimal::parse_br(std::string_view text) {
  return parse_number(text, ',', '.');
}

Decimal Decimal::round(int places) const {
  if (places >= scale_) return *this;
  places = std::max(places, -38);  // every value rounds to 0 there
  if (places >= 0) return raw(static_cast<int64_t>(drop_digits_round(mantissa_, scale_ - places)), places);
  // To tens, hundreds, ...: the result is an integer.
  i128 q = drop_digits_round(mantissa_, scale_ - places) * kPow10[std::min(-places, 38)];
  if (!fits(q)) throw DecimalOverflow("decimal overflow");
  return raw(static_cast<int64_t>(q), 0);
}

Decimal Decimal::cut(int places) const {
  if (places >= scale_) return *this;
  places = std::max(places, -38);
  if (places >= 0) return raw(static_cast<int64_t>(drop_digits_cut(mantissa_, scale_ - places)), places);
  i128 q = drop_digits_cut(mantissa_, scale_ - places) * kPow10[std::min(-places, 38)];
  return raw(static_cast<int64_t>(q), 0);
}

Decimal Decimal::with_scale(int places) const {
  check_places(places);
  i128 m = mantissa_at(*this, places);
  if (!fits(m)) throw DecimalOverflow("decimal overflow");
  return raw(static_cast<int64_t>(m), places);
}

Decimal Decimal::abs() const { return negative() ? -*this : *this; }

int64_t Decimal::to_int() const { return static_cast<int64_t>(drop_digits_cut(mantissa_, scale_)); }

std::string Decimal::str() const { return format(mantissa_, scale_, '.', 0); }

std::string Decimal::str(int decimals) const {
  check_places(decimals);
  return format(mantissa_at(*this, decimals), decimals, '.', 0);
}

std::string Decimal::br(int decimals) const {
  check_places(decimals);
  return format(mantissa_at(*this, decimals), decimals, ',', '.');
}

Decimal operator+(Decimal a, Decimal b) {
  int s = std::max(a.scale_, b.scale_);
  return fit(mantissa_at(a, s) + mantissa_at(b, s), s);
}

Decimal operator-(Decimal a, Decimal b) {
  int s = std::max(a.scale_, b.scale_);
  return fit(mantissa_at(a, s) - mantissa_at(b, s), s);
}

Decimal operator*(Decimal a, Decimal b) {
  return fit(static_cast<i128>(a.mantissa_) * b.mantissa_, a.scale_ + b.scale_);
}

Decimal operator/(Decimal a, Decimal b) {
  if (b.mantissa_ == 0) return Decimal{};
  bool neg = (a.mantissa_ < 0) != (b.mantissa_ < 0);
  u128 limit = neg ? static_cast<u128>(kMax) + 1 : static_cast<u128>(kMax);
  auto ua = static_cast<u128>(magnitude(a.mantissa_));
  auto ub = static_cast<u128>(magnitude(b.mantissa_));
  for (int s = Decimal::kDivisionScale; s >= 0; --s) {
    if (auto q = scaled_quotient(ua, ub, s + b.scale_ - a.scale_, limit)) {
      i128 m = static_cast<i128>(*q);
      return fit(neg ? -m : m, s);
    }
  }
  throw DecimalOverflow("decimal overflow");
}

Decimal Decimal::operator-() const { return fit(-static_cast<i128>(mantissa_), scale_); }

bool operator==(Decimal a, Decimal b) { return (a <=> b) == 0; }

std::strong_ordering operator<=>(Decimal a, Decimal b) {
  int s = std::max(a.scale_, b.scale_);
  return mantissa_at(a, s) <=> mantissa_at(b, s);
}

Decimal operator""_dec(const char* text, std::size_t size) {
  auto d = Decimal::parse(std::string_view(text, size));
  if (!d) throw std::invalid_argument("not a decimal number: " + std::string(text, size));
  return *d;
}

}  // namespace kx
