#include "base/date.h"

#include <cstdio>
#include <stdexcept>

#include "base/text.h"

namespace kx {
namespace {

// Days from 1970-01-01 to y-m-d in the proleptic Gregorian calendar.
constexpr int64_t days_from_civil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

struct Civil {
  int year, month, day;
};

constexpr Civil civil_from_days(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {static_cast<int>(yoe + era * 400 + (m <= 2)), m, d};
}

// Serial 1 is 0001-01-01.
constexpr int64_t kEpochOffset = days_from_civil(1, 1, 1) - 1;
constexpr int64_t kLastSerial = days_from_civil(9999, 12, 31) - kEpochOffset;

Civil civil(int64_t serial) { return civil_from_days(serial + kEpochOffset); }

// A run of 1..max_len digits as a number; -1 otherwise.
int read_number(std::string_view s, std::size_t max_len) {
  if (s.empty() || s.size() > max_len || !text::all_digits(s)) return -1;
  int v = 0;
  for (char c : s) v = v * 10 + (c - '0');
  return v;
}

}  // namespace

bool Date::is_leap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int Date::days_in_month(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && is_leap(year) ? 29 : kDays[month - 1];
}

std::optional<Date> Date::from_ymd(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > days_in_month(year, month))
    return std::nullopt;
  return Date(days_from_civil(year, month, day) - kEpochOffset);
}

std::optional<Date> Date::parse_dmy(std::string_view text) {
  std::string_view t = text::trim(text);
  if (t.empty()) return Date{};
  auto parts = text::split(t, '/');
  if (parts.size() != 3) return std::nullopt;
  if (text::is_blank(parts[0]) && text::is_blank(parts[1]) && text::is_blank(parts[2]))
    return Date{};
  // Fields may be padded with blanks, as a date typed into a mask (" 1/ 2/2014").
  int day = read_number(text::trim(parts[0]), 2);
  int month = read_number(text::trim(parts[1]), 2);
  std::string_view year_text = text::trim(parts[2]);
  if (year_text.size() != 2 && year_text.size() != 4) return std::nullopt;
  int year = read_number(year_text, 4);
  if (day < 0 || month < 0 || year < 0) return std::nullopt;
  if (year_text.size() == 2) year += 1900;
  return from_ymd(year, month, day);
}

std::optional<Date> Date::parse_dtos(std::string_view text) {
  if (text::is_blank(text)) return Date{};
  if (text.size() != 8 || !text::all_digits(text)) return std::nullopt;
  return from_ymd(read_number(text.substr(0, 4), 4), read_number(text.substr(4, 2), 2),
                  read_number(text.substr(6, 2), 2));
}

Date Date::from_serial(int64_t serial) {
  if (serial < 0 || serial > kLastSerial) throw std::out_of_range("date out of range");
  return Date(serial);
}

int Date::year() const { return empty() ? 0 : civil(serial_).year; }
int Date::month() const { return empty() ? 0 : civil(serial_).month; }
int Date::day() const { return empty() ? 0 : civil(serial_).day; }

// 0001-01-01 (serial 1) was a Monday.
int Date::weekday() const { return empty() ? 0 : static_cast<int>(serial_ % 7) + 1; }

std::string Date::dmy() const {
  if (empty()) return "  /  /    ";
  Civil c = civil(serial_);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", c.day, c.month, c.year);
  return buf;
}

std::string Date::dmy_short() const {
  if (empty()) return "  /  /  ";
  Civil c = civil(serial_);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%02d", c.day, c.month, c.year % 100);
  return buf;
}

std::string Date::dtos() const {
  if (empty()) return std::string(8, ' ');
  Civil c = civil(serial_);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d", c.year, c.month, c.day);
  return buf;
}

Date Date::operator+(int64_t days) const {
  if (empty()) return *this;
  if (days < 1 - serial_ || days > kLastSerial - serial_) throw std::out_of_range("date out of range");
  return Date(serial_ + days);
}

int64_t operator-(Date a, Date b) {
  if (a.empty() || b.empty()) return 0;
  return a.serial_ - b.serial_;
}

}  // namespace kx
