#include "base/date.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kx {
namespace {

Date ymd(int y, int m, int d) { return Date::from_ymd(y, m, d).value(); }

TEST(Date, ValidityOfCalendarDates) {
  struct Case {
    int y, m, d;
    bool valid;
  };
  const Case cases[] = {
      {2012, 2, 29, true},  {2014, 2, 29, false}, {2000, 2, 29, true}, {1900, 2, 29, false},
      {2100, 2, 29, false}, {2400, 2, 29, true},  {2014, 4, 31, false}, {2014, 12, 31, true},
      {2014, 13, 1, false}, {2014, 0, 1, false},  {2014, 1, 0, false},  {1, 1, 1, true},
      {9999, 12, 31, true}, {0, 12, 31, false},   {10000, 1, 1, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.y << "-" << c.m << "-" << c.d);
    auto d = Date::from_ymd(c.y, c.m, c.d);
    ASSERT_EQ(d.has_value(), c.valid);
    if (!c.valid) continue;
    EXPECT_EQ(d->year(), c.y);
    EXPECT_EQ(d->month(), c.m);
    EXPECT_EQ(d->day(), c.d);
  }
  EXPECT_EQ(Date::days_in_month(2016, 2), 29);
  EXPECT_EQ(Date::days_in_month(2015, 2), 28);
  EXPECT_EQ(Date::days_in_month(2015, 11), 30);
  EXPECT_EQ(Date::days_in_month(2015, 13), 0);
}

TEST(Date, ParseDayMonthYear) {
  struct Case {
    const char* text;
    bool valid;
    const char* dtos;  // of the parsed date
  };
  const Case cases[] = {
      {"30/04/2015", true, "20150430"},
      {"01/02/14", true, "19140201"},  // two-digit years are 19yy
      {"31/12/99", true, "19991231"},
      {"29/02/00", false, nullptr},    // 1900 was no leap year
      {" 1/ 2/2014", true, "20140201"},
      {"29/02/2016", true, "20160229"},
      {"", true, "        "},
      {"  /  /    ", true, "        "},
      {"  /  /  ", true, "        "},
      {"31/04/2015", false, nullptr},
      {"01/  /2015", false, nullptr},
      {"1/2/201", false, nullptr},
      {"01-02-2015", false, nullptr},
      {"01/02/2015/1", false, nullptr},
      {"ab/cd/efgh", false, nullptr},
      {"00/01/2015", false, nullptr},
      {"01/01/0000", false, nullptr},
      {"001/01/2015", false, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    auto d = Date::parse_dmy(c.text);
    ASSERT_EQ(d.has_value(), c.valid);
    if (c.valid) {
      EXPECT_EQ(d->dtos(), c.dtos);
    }
  }
}

TEST(Date, StoredFormRoundTrip) {
  EXPECT_EQ(Date::parse_dtos("20150430").value(), ymd(2015, 4, 30));
  EXPECT_TRUE(Date::parse_dtos("        ").value().empty());
  EXPECT_TRUE(Date::parse_dtos("").value().empty());
  for (const char* bad : {"20150230", "2015043", "2015-4-3", "00000000", "2015043a", "201504300"})
    EXPECT_FALSE(Date::parse_dtos(bad).has_value()) << bad;
  Date d = ymd(1987, 7, 9);
  EXPECT_EQ(d.dtos(), "19870709");
  EXPECT_EQ(d.dmy(), "09/07/1987");
  EXPECT_EQ(Date::parse_dtos(d.dtos()).value(), d);
  EXPECT_EQ(Date::parse_dmy(d.dmy()).value(), d);
  EXPECT_EQ(d.dmy_short(), "09/07/87");
  EXPECT_EQ(ymd(2005, 1, 31).dmy_short(), "31/01/05");
  EXPECT_EQ(Date::parse_dmy(ymd(1905, 1, 31).dmy_short()).value(), ymd(1905, 1, 31));
  EXPECT_EQ(Date().dmy(), "  /  /    ");
  EXPECT_EQ(Date().dmy_short(), "  /  /  ");
  EXPECT_EQ(Date().dtos(), "        ");
}

TEST(Date, ArithmeticAcrossMonthsAndYears) {
  EXPECT_EQ(ymd(2014, 12, 31) + 1, ymd(2015, 1, 1));
  EXPECT_EQ(ymd(2016, 2, 28) + 1, ymd(2016, 2, 29));
  EXPECT_EQ(ymd(2015, 2, 28) + 1, ymd(2015, 3, 1));
  EXPECT_EQ(ymd(2015, 3, 1) - 1, ymd(2015, 2, 28));
  EXPECT_EQ(ymd(2015, 4, 30) - ymd(2014, 4, 30), 365);
  EXPECT_EQ(ymd(2016, 4, 30) - ymd(2015, 4, 30), 366);
  EXPECT_EQ(ymd(2000, 1, 1) - ymd(1900, 1, 1), 36524);
  EXPECT_EQ(ymd(1900, 1, 1) - ymd(2000, 1, 1), -36524);
  EXPECT_EQ(ymd(2014, 1, 1) + 1000, ymd(2016, 9, 27));
  Date d = ymd(2015, 5, 29);
  EXPECT_EQ(Date::from_serial(d.serial()), d);
  EXPECT_EQ(Date::from_serial(1), ymd(1, 1, 1));
  EXPECT_TRUE(Date::from_serial(0).empty());
  // The empty date stays empty and sorts first.
  EXPECT_TRUE((Date() + 10).empty());
  EXPECT_EQ(Date() - ymd(2015, 1, 1), 0);
  EXPECT_LT(Date(), ymd(1, 1, 1));
  EXPECT_LT(ymd(2014, 12, 31), ymd(2015, 1, 1));
  // Beyond the calendar is an error, never a wrapped date.
  EXPECT_THROW(ymd(9999, 12, 31) + 1, std::out_of_range);
  EXPECT_THROW(ymd(1, 1, 1) - 1, std::out_of_range);
  EXPECT_THROW(ymd(2015, 1, 1) + INT64_MAX, std::out_of_range);
  EXPECT_THROW(ymd(2015, 1, 1) - INT64_MAX, std::out_of_range);
  EXPECT_THROW(Date::from_serial(-1), std::out_of_range);
}

TEST(Date, WeekdayOfKnownDates) {
  struct Case {
    Date date;
    int weekday;  // 1 = Sunday
  };
  const Case cases[] = {
      {ymd(2015, 4, 30), 5},  // Thursday
      {ymd(2015, 1, 1), 5},   // Thursday
      {ymd(2014, 12, 28), 1}, // Sunday
      {ymd(2000, 2, 29), 3},  // Tuesday
      {ymd(1900, 1, 1), 2},   // Monday
      {ymd(2016, 1, 2), 7},   // Saturday
  };
  for (const auto& c : cases) EXPECT_EQ(c.date.weekday(), c.weekday) << c.date.dmy();
  EXPECT_EQ(Date().weekday(), 0);
  EXPECT_EQ(Date().year(), 0);
}

}  // namespace
}  // namespace kx
