// Day numbers, date texts and time differences, swept against std::chrono as the
// independent reference.
#include "commands/calendar.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

namespace velcrum {
namespace {

using namespace std::chrono;

constexpr sys_days kDayZero = sys_days{1899y / December / 31};

int64_t ReferenceDayNumber(const year_month_day& date) {
  return (sys_days{date} - kDayZero).count();
}

TEST(CalendarTest, EveryDayFrom1900To2100RoundTrips) {
  const char* names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (sys_days day = sys_days{1900y / January / 1}; day <= sys_days{2100y / December / 31};
       day += days{1}) {
    const year_month_day ymd{day};
    const int64_t d = static_cast<unsigned>(ymd.day());
    const int m = static_cast<int>(static_cast<unsigned>(ymd.month()));
    const int64_t y = static_cast<int>(ymd.year());
    const int64_t number = ReferenceDayNumber(ymd);
    ASSERT_EQ(DayNumber(d, m, y), number) << y << "-" << m << "-" << d;
    const CalendarDate date = DateFromDayNumber(number);
    ASSERT_EQ(date.day, d) << number;
    ASSERT_EQ(date.month, m) << number;
    ASSERT_EQ(date.year, y) << number;
    char expected[16];
    std::snprintf(expected, sizeof expected, "%02d-%s-%04d", static_cast<int>(d), names[m - 1],
                  static_cast<int>(y));
    ASSERT_EQ(DateText(date), expected);
  }
}

TEST(CalendarTest, FarDayNumbersAgreeWithTheReference) {
  // Far enough for the year walk to skip whole 400-year cycles, up to the last year the
  // reference knows (32767).
  const int64_t lastNumber = (sys_days{year::max() / December / 31} - kDayZero).count();
  for (int64_t number = 1; number <= lastNumber; number += 997) {
    const year_month_day ymd{kDayZero + days{number}};
    const CalendarDate date = DateFromDayNumber(number);
    ASSERT_EQ(date.year, static_cast<int>(ymd.year())) << number;
    ASSERT_EQ(date.month, static_cast<int>(static_cast<unsigned>(ymd.month()))) << number;
    ASSERT_EQ(date.day, static_cast<int>(static_cast<unsigned>(ymd.day()))) << number;
    ASSERT_EQ(DayNumber(date.day, date.month, date.year), number);
  }
  // Beyond it, up to the largest day number a script can reach, the two still invert.
  for (int64_t number = lastNumber; number < int64_t{3} * INT32_MAX; number = number * 5 / 4 + 1) {
    const CalendarDate date = DateFromDayNumber(number);
    ASSERT_EQ(DayNumber(date.day, date.month, date.year), number);
  }
}

TEST(CalendarTest, DayNumbersBelowOneAndLooseDates) {
  for (const int64_t number : {0, -1, -100000}) {
    const CalendarDate date = DateFromDayNumber(number);
    EXPECT_EQ(DateText(date), "00-----1900");
    EXPECT_EQ(date.month, 0);
  }
  EXPECT_EQ(DayNumber(1, 1, 1900), 1);
  EXPECT_EQ(DayNumber(5, 0, 1900), 5);            // month 0 counts no months
  EXPECT_EQ(DayNumber(40, 1, 1900), 40);          // a day beyond the month still counts
  EXPECT_EQ(DayNumber(1, 3, 1850), 31 + 28 + 1);  // years before 1900 count nothing
}

TEST(CalendarTest, MonthNamesAreFoundAnywhereInTheFirst16Characters) {
  struct Case {
    const char* name;
    int month;
  };
  const Case cases[] = {{"Jan", 1},
                        {"JANUARY", 1},
                        {"xjanx", 1},
                        {"dec", 12},
                        {"June", 6},
                        {"MAYJAN", 1},
                        {"Xyz", 0},
                        {"", 0},
                        {"0123456789abcdJAN", 0},
                        {"0123456789abcJAN", 1}};
  for (const Case& c : cases) EXPECT_EQ(MonthFromName(c.name), c.month) << c.name;
  EXPECT_STREQ(MonthAbbreviation(0), "---");
  EXPECT_STREQ(MonthAbbreviation(13), "---");
  EXPECT_STREQ(MonthAbbreviation(9), "Sep");
}

TEST(CalendarTest, DateAndTimeTextsAreReadFieldByField) {
  const DateFields full = ReadDateText("05-jan-2004");
  EXPECT_EQ(full.day, 5);
  EXPECT_EQ(full.monthName, "JAN");
  EXPECT_EQ(full.year, 2004);
  const DateFields spaced = ReadDateText("  7 March 1999");
  EXPECT_EQ(spaced.monthName, "MARCH");
  EXPECT_EQ(spaced.year, 1999);
  const DateFields broken = ReadDateText("x-Jan-2004");  // the first field fails: nothing read
  EXPECT_EQ(broken.day, 0);
  EXPECT_EQ(broken.monthName, "");
  EXPECT_EQ(broken.year, 0);

  EXPECT_EQ(SecondsOfTimeText("10:30:15"), 37815);
  EXPECT_EQ(SecondsOfTimeText("1:2"), 3720);
  EXPECT_EQ(SecondsOfTimeText("1;2;3"), 3600);  // only ":" separates
  EXPECT_EQ(SecondsOfTimeText(""), 0);
}

TEST(CalendarTest, TimeDifferencesAgreeWithTheReference) {
  for (int64_t day1 = 100; day1 <= 104; ++day1) {
    for (int64_t seconds1 = 0; seconds1 < kSecondsPerDay; seconds1 += 4799) {
      for (int64_t seconds2 = 0; seconds2 < kSecondsPerDay; seconds2 += 3607) {
        const int64_t total = (day1 - 102) * kSecondsPerDay + seconds1 - seconds2;
        const int64_t magnitude = std::llabs(total);
        char expected[40];
        std::snprintf(expected, sizeof expected, "%s%02lld:%02lld:%02lld", total < 0 ? "-" : "",
                      static_cast<long long>(magnitude / 3600),
                      static_cast<long long>(magnitude % 3600 / 60),
                      static_cast<long long>(magnitude % 60));
        ASSERT_EQ(TimeDifferenceText(day1, seconds1, 102, seconds2), expected)
            << day1 << " " << seconds1 << " " << seconds2;
      }
    }
  }
  EXPECT_EQ(TimeDifferenceText(10, 3600, 11, 3600), "-24:00:00");
}

}  // namespace
}  // namespace velcrum
