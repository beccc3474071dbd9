// Day numbers, date texts and times of day, as the string commands read and write them.
//
// A day number counts days from 1 = 1 January 1900 in the Gregorian calendar. Date texts
// are day-month-year with an English month name ("05-Jan-2004"); times of day are
// hh:mm:ss. Day numbers are 64-bit so that no year a script can write overflows them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velcrum {

inline constexpr int64_t kSecondsPerDay = 86400;

bool IsLeapYear(int64_t year);

// The month a name stands for: the first of JAN, FEB, ... DEC found anywhere in the
// first 16 characters of the upper-cased name; 0 when none is.
int MonthFromName(std::string_view name);

// "Jan" to "Dec"; "---" for a month outside 1 to 12.
const char* MonthAbbreviation(int month);

// The day number of a date: the days of the years from 1900 to the year before, the
// days of the months before the month, and the day. The day and the month need not be
// valid (month 0 counts no months, day 40 counts 40 days); a year before 1900 counts
// no years.
int64_t DayNumber(int64_t day, int month, int64_t year);

struct CalendarDate {
  int64_t day = 0;
  int month = 0;
  int64_t year = 1900;
};

// The date of a day number; a day number below 1 gives day 0, month 0, year 1900.
CalendarDate DateFromDayNumber(int64_t dayNumber);

// "%02d-%s-%04d" of day, month abbreviation and year: "05-Jan-2004".
std::string DateText(const CalendarDate& date);

// A date text as read: every "-" is a blank, then day, month name and year as sscanf's
// "%d %s %d" reads them. Fields after the first that cannot be read stay 0 (the month
// name empty). The month name is upper-cased.
struct DateFields {
  int32_t day = 0;
  std::string monthName;
  int32_t year = 0;
};
DateFields ReadDateText(std::string_view text);

// The seconds of a time text: every ":" is a blank, then hours, minutes and seconds as
// "%ld %ld %ld" reads them (fields that cannot be read count 0).
int64_t SecondsOfTimeText(std::string_view text);

// The signed difference (date 1, time 1) minus (date 2, time 2) as "[-]hh:mm:ss", the
// hours not limited to 24: one day earlier at the same time is "-24:00:00".
std::string TimeDifferenceText(int64_t dayNumber1, int64_t seconds1, int64_t dayNumber2,
                               int64_t seconds2);

}  // namespace velcrum
