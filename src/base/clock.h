// The one source of "today", "now", timers and sleeping. Tests use VirtualClock.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "base/date.h"

namespace kx {

struct DateTime {
  Date date;
  int hour = 0, minute = 0, second = 0;
  // "hh:mm:ss"
  std::string_view time_text(char (&buf)[9]) const;
  // The moment `ms` milliseconds later (or earlier), across midnights and month ends. An empty
  // date stays empty; only the time of day moves.
  DateTime after_ms(int64_t ms) const;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Calendar date and time of day as the program sees it.
  virtual DateTime now() const = 0;
  Date today() const { return now().date; }
  // Milliseconds of a monotonic timer (timeouts, one-second ticks); arbitrary origin.
  virtual int64_t monotonic_ms() const = 0;
  virtual void sleep_ms(int64_t ms) = 0;
};

// Real time. When KAPRIX_TODAY is given ("dd/mm/yyyy" optionally followed by " hh:mm:ss"), the
// calendar starts at that moment when the clock is made and runs on from there.
class SystemClock : public Clock {
 public:
  SystemClock();  // reads KAPRIX_TODAY
  explicit SystemClock(std::optional<DateTime> start);
  DateTime now() const override;
  int64_t monotonic_ms() const override;
  void sleep_ms(int64_t ms) override;

  // Parses the KAPRIX_TODAY form; nullopt when invalid.
  static std::optional<DateTime> parse_today(std::string_view text);

 private:
  std::optional<DateTime> start_;
  int64_t start_ms_ = 0;
};

// Time that moves only when told to (or when something sleeps on it). Used from one thread.
class VirtualClock : public Clock {
 public:
  explicit VirtualClock(DateTime start);
  DateTime now() const override;
  int64_t monotonic_ms() const override { return ms_; }
  void sleep_ms(int64_t ms) override { advance_ms(ms); }
  void advance_ms(int64_t ms) { ms_ += ms > 0 ? ms : 0; }
  // Moves the calendar to `t`; the monotonic timer goes on from where it is.
  void set(DateTime t);

 private:
  DateTime start_;
  int64_t start_ms_ = 0;  // monotonic time at which the calendar was start_
  int64_t ms_ = 0;
};

// The process-wide real clock of the program (a SystemClock).
Clock& system_clock();

}  // namespace kx
