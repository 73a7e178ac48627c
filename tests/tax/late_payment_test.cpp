#include <gtest/gtest.h>

#include "fixture.h"

#include "tax/late_payment.h"

namespace kx::tax {
namespace {

using test::day;

TEST(DueDate, LastWorkingDayOfTheFollowingMonth) {
  struct Case {
    int month;
    Date expected;
  } cases[] = {
      {1, day(28, 2, 2014)},    // Friday
      {4, day(30, 5, 2014)},    // 31/05 is a Saturday
      {10, day(28, 11, 2014)},  // 30/11 is a Sunday
      {11, day(30, 12, 2014)},  // December: one day before the 31st (a Wednesday)
      {12, day(30, 1, 2015)},   // into the next year; 31/01/2015 is a Saturday
  };
  for (const auto& c : cases) EXPECT_EQ(due_date(c.month, 2014, 2), c.expected) << c.month;
  // Offset 1: the last working day of the month itself.
  EXPECT_EQ(due_date(3, 2015, 1), day(31, 3, 2015));
}

TEST(NextWorkingDay, SkipsTheWeekend) {
  EXPECT_EQ(next_working_day(day(28, 2, 2014)), day(3, 3, 2014));  // Friday -> Monday
  EXPECT_EQ(next_working_day(day(1, 3, 2014)), day(3, 3, 2014));   // Saturday -> Monday
  EXPECT_EQ(next_working_day(day(2, 3, 2014)), day(3, 3, 2014));   // Sunday -> Monday
  EXPECT_EQ(next_working_day(day(3, 3, 2014)), day(4, 3, 2014));
}

TEST(LateCharge, DaysCountFromTheFirstWorkingDayAfterTheDueDateInclusive) {
  const std::vector<SelicMonth> selic = {
      {2014, 3, "0.80"_dec}, {2014, 4, "0.82"_dec}, {2014, 5, "0.87"_dec}};
  const Date due = day(28, 2, 2014);  // first day late: Monday 03/03/2014
  struct Case {
    Date payment;
    int64_t days;
    const char* fine_rate;
    const char* interest_rate;
    const char* total;  // of a principal of 100.00
  } cases[] = {
      {day(28, 2, 2014), 0, "0", "0", "100.00"},    // on the due date
      {day(1, 3, 2014), 0, "0", "0", "100.00"},     // the weekend after it
      {day(3, 3, 2014), 1, "0.33", "1", "101.33"},  // first day late: one day, 1 % of March
      {day(1, 4, 2014), 30, "9.9", "1.80", "111.70"},   // 1 % + March's 0.80
      {day(1, 5, 2014), 60, "19.8", "2.62", "122.42"},  // 1 % + 0.80 + 0.82
      {day(2, 5, 2014), 61, "20", "2.62", "122.62"},    // 20.13 % capped at 20 %
  };
  for (const auto& c : cases) {
    const LateCharge charge = late_charge("100.00"_dec, due, c.payment, selic);
    SCOPED_TRACE(c.payment.dmy());
    EXPECT_EQ(charge.days_late, c.days);
    EXPECT_EQ(charge.fine_rate, Decimal::parse(c.fine_rate).value());
    EXPECT_EQ(charge.interest_rate, Decimal::parse(c.interest_rate).value());
    EXPECT_EQ(charge.total, Decimal::parse(c.total).value());
    EXPECT_FALSE(charge.register_incomplete);
  }
}

TEST(LateCharge, NoInterestWithinTheDueMonth) {
  // Due Tuesday 30/12/2014, paid Wednesday 31/12: one day of fine, no interest.
  const LateCharge charge = late_charge("1000.00"_dec, day(30, 12, 2014), day(31, 12, 2014), {});
  EXPECT_EQ(charge.days_late, 1);
  EXPECT_EQ(charge.fine, "3.30"_dec);
  EXPECT_EQ(charge.interest, "0"_dec);
  EXPECT_EQ(charge.total, "1003.30"_dec);
}

TEST(LateCharge, AmountsAreCutAndMissingMonthsAreReported) {
  const std::vector<SelicMonth> selic = {{2014, 3, "0.77"_dec}};
  // 33.33 * 0.33 % = 0.109989 -> 0.10; 33.33 * 1.77 % = 0.589941 -> 0.58 (cut). April is missing.
  const LateCharge charge = late_charge("33.33"_dec, day(28, 2, 2014), day(5, 5, 2014), selic);
  EXPECT_TRUE(charge.register_incomplete);
  EXPECT_EQ(charge.interest_rate, "1.77"_dec);
  EXPECT_EQ(charge.fine_rate, "20"_dec);  // 64 days
  EXPECT_EQ(charge.fine, "6.66"_dec);     // 6.666
  EXPECT_EQ(charge.interest, "0.58"_dec);
  EXPECT_EQ(charge.total, "40.57"_dec);
}

}  // namespace
}  // namespace kx::tax
