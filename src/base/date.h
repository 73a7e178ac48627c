// Calendar dates with the xBase empty date. Stored "YYYYMMDD", shown dd/mm/yyyy.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kx {

class Date {
 public:
  constexpr Date() = default;  // the empty (blank) date

  // nullopt unless y/m/d is a valid Gregorian date (29/02 only in leap years), year 1..9999.
  static std::optional<Date> from_ymd(int year, int month, int day);
  // "dd/mm/yyyy" or "dd/mm/yy" (two-digit years are 19yy); blanks around the text and around
  // the day and month are allowed (" 1/ 2/2014"). All blanks or "  /  /    " is the empty date.
  // Invalid text is nullopt.
  static std::optional<Date> parse_dmy(std::string_view text);
  // "YYYYMMDD"; eight blanks (or empty) is the empty date. Invalid text is nullopt.
  static std::optional<Date> parse_dtos(std::string_view text);
  // Day number as counted by from_serial/serial (days since 0001-01-01 = 1); 0 is the empty
  // date. std::out_of_range beyond 31/12/9999 or below 0.
  static Date from_serial(int64_t serial);

  bool empty() const { return serial_ == 0; }
  int year() const;
  int month() const;
  int day() const;
  // xBase DOW: 1 = Sunday .. 7 = Saturday; 0 for the empty date.
  int weekday() const;
  int64_t serial() const { return serial_; }

  // "dd/mm/yyyy"; the empty date gives "  /  /    ".
  std::string dmy() const;
  // "dd/mm/yy" (the last two digits of the year); the empty date gives "  /  /  ".
  std::string dmy_short() const;
  // "YYYYMMDD"; the empty date gives eight blanks.
  std::string dtos() const;

  // Arithmetic in days; on the empty date it stays empty. std::out_of_range when the result
  // leaves the years 1..9999.
  Date operator+(int64_t days) const;
  Date operator-(int64_t days) const { return *this + (-days); }
  // Days between two dates (0 when either is empty).
  friend int64_t operator-(Date a, Date b);

  // The empty date sorts before every date.
  friend bool operator==(Date a, Date b) = default;
  friend std::strong_ordering operator<=>(Date a, Date b) = default;

  static bool is_leap(int year);
  static int days_in_month(int year, int month);

 private:
  explicit constexpr Date(int64_t serial) : serial_(serial) {}
  int64_t serial_ = 0;
};

}  // namespace kx
