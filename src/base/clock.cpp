#include "base/clock.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <thread>

#include "base/text.h"

namespace kx {
namespace {

constexpr int64_t kMsPerDay = 86'400'000;

int64_t floor_div(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// "hh:mm:ss" with each field in range; -1 otherwise.
int64_t parse_time_of_day(std::string_view t) {
  if (t.size() != 8 || t[2] != ':' || t[5] != ':') return -1;
  auto field = [&](std::size_t at, int max) {
    std::string_view f = t.substr(at, 2);
    if (!text::all_digits(f)) return -1;
    int v = (f[0] - '0') * 10 + (f[1] - '0');
    return v <= max ? v : -1;
  };
  int h = field(0, 23), m = field(3, 59), s = field(6, 59);
  if (h < 0 || m < 0 || s < 0) return -1;
  return (h * 3600 + m * 60 + s) * 1000;
}

}  // namespace

std::string_view DateTime::time_text(char (&buf)[9]) const {
  auto two = [&](int at, int v) {
    buf[at] = static_cast<char>('0' + v / 10 % 10);
    buf[at + 1] = static_cast<char>('0' + v % 10);
  };
  two(0, hour);
  buf[2] = ':';
  two(3, minute);
  buf[5] = ':';
  two(6, second);
  buf[8] = '\0';
  return {buf, 8};
}

DateTime DateTime::after_ms(int64_t ms) const {
  int64_t of_day = (hour * 3600 + minute * 60 + second) * int64_t{1000} + ms;
  int64_t days = floor_div(of_day, kMsPerDay);
  of_day -= days * kMsPerDay;
  int64_t secs = of_day / 1000;
  DateTime t;
  t.date = date + days;
  t.hour = static_cast<int>(secs / 3600);
  t.minute = static_cast<int>(secs / 60 % 60);
  t.second = static_cast<int>(secs % 60);
  return t;
}

std::optional<DateTime> SystemClock::parse_today(std::string_view text) {
  std::string_view t = text::trim(text);
  std::string_view date_text = t.substr(0, t.find(' '));
  std::string_view time_text = text::trim(t.substr(date_text.size()));
  if (date_text.size() != 10) return std::nullopt;
  auto date = Date::parse_dmy(date_text);
  if (!date || date->empty()) return std::nullopt;
  DateTime start{*date};
  if (!time_text.empty()) {
    int64_t ms = parse_time_of_day(time_text);
    if (ms < 0) return std::nullopt;
    start = start.after_ms(ms);
  }
  return start;
}

SystemClock::SystemClock() : SystemClock([] {
  const char* env = std::getenv("KAPRIX_TODAY");
  return env ? parse_today(env) : std::nullopt;
}()) {}

SystemClock::SystemClock(std::optional<DateTime> start) : start_(start), start_ms_(monotonic_ms()) {}

DateTime SystemClock::now() const {
  if (start_) return start_->after_ms(monotonic_ms() - start_ms_);
  std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  DateTime d;
  d.date = Date::from_ymd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday).value_or(Date{});
  d.hour = local.tm_hour;
  d.minute = local.tm_min;
  d.second = std::min(local.tm_sec, 59);  // a leap second shows as :59
  return d;
}

int64_t SystemClock::monotonic_ms() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SystemClock::sleep_ms(int64_t ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

VirtualClock::VirtualClock(DateTime start) : start_(start) {}

DateTime VirtualClock::now() const { return start_.after_ms(ms_ - start_ms_); }

void VirtualClock::set(DateTime t) {
  start_ = t;
  start_ms_ = ms_;
}

Clock& system_clock() {
  static SystemClock clock;
  return clock;
}

}  // namespace kx
