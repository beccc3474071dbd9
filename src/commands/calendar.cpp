// Day numbers, date texts and times of day.
#include "commands/calendar.h"

#include <algorithm>

#include "commands/field_scanner.h"
#include "interpreter/format.h"
#include "platform/ascii_case.h"

namespace velcrum {
namespace {

constexpr int64_t kDaysPer400Years = 146097;
constexpr int kMonthNameLimit = 16;

constexpr const char* kReadingNames[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                         "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
constexpr const char* kWritingNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

int MonthLength(int month, int64_t year) {
  static constexpr int kLengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kLengths[month - 1];
}

// Leap years from year 1 to `year` (for year 0 or later).
int64_t LeapYearsThrough(int64_t year) {
  return year / 4 - year / 100 + year / 400;
}

std::string Replaced(std::string_view text, char from, char to) {
  std::string copy(text);
  std::replace(copy.begin(), copy.end(), from, to);
  return copy;
}

}  // namespace

bool IsLeapYear(int64_t year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int MonthFromName(std::string_view name) {
  const std::string upper = UpperAsciiText(name.substr(0, kMonthNameLimit));
  for (int month = 1; month <= 12; ++month) {
    if (upper.find(kReadingNames[month - 1]) != std::string::npos) return month;
  }
  return 0;
}

const char* MonthAbbreviation(int month) {
  return month >= 1 && month <= 12 ? kWritingNames[month - 1] : "---";
}

int64_t DayNumber(int64_t day, int month, int64_t year) {
  int64_t days = day;
  if (year > 1900) {
    days += 365 * (year - 1900) + LeapYearsThrough(year - 1) - LeapYearsThrough(1899);
  }
  for (int m = 1; m < month && m <= 12; ++m) days += MonthLength(m, year);
  return days;
}

CalendarDate DateFromDayNumber(int64_t dayNumber) {
  if (dayNumber < 1) return {0, 0, 1900};
  int64_t rest = dayNumber;
  int64_t year = 1900;
  // Whole 400-year cycles first, as long as the year-by-year walk would have gone on
  // through all of them.
  if (rest > kDaysPer400Years + 365) {
    const int64_t cycles = (rest - 366) / kDaysPer400Years;
    rest -= cycles * kDaysPer400Years;
    year += cycles * 400;
  }
  while (rest > 365) {
    rest -= IsLeapYear(year) ? 366 : 365;
    ++year;
  }
  if (rest == 0) return {31, 12, year - 1};  // the last day of a leap year
  int month = 1;
  while (month < 12 && rest > MonthLength(month, year)) {
    rest -= MonthLength(month, year);
    ++month;
  }
  return {rest, month, year};
}

std::string DateText(const CalendarDate& date) {
  return Format("%02lld-%s-%04lld", static_cast<long long>(date.day), MonthAbbreviation(date.month),
                static_cast<long long>(date.year));
}

DateFields ReadDateText(std::string_view text) {
  const std::string blanked = Replaced(text, '-', ' ');
  FieldScanner scan(blanked);
  DateFields fields;
  const auto day = scan.Integer();
  if (!day) return fields;
  fields.day = *day;
  const auto month = scan.Word();
  if (!month) return fields;
  fields.monthName = UpperAsciiText(*month);
  fields.year = scan.Integer().value_or(0);
  return fields;
}

int64_t SecondsOfTimeText(std::string_view text) {
  const std::string blanked = Replaced(text, ':', ' ');
  FieldScanner scan(blanked);
  int64_t fields[3] = {0, 0, 0};
  for (int64_t& field : fields) {
    const auto value = scan.Integer();
    if (!value) break;
    field = *value;
  }
  return fields[0] * 3600 + fields[1] * 60 + fields[2];
}

std::string TimeDifferenceText(int64_t dayNumber1, int64_t seconds1, int64_t dayNumber2,
                               int64_t seconds2) {
  int64_t days = dayNumber1 - dayNumber2;
  int64_t seconds = seconds1 - seconds2;
  const bool negative = days < 0 || (seconds < 0 && days == 0);
  if (negative) seconds = seconds2 - seconds1;
  if (seconds < 0) {
    seconds += kSecondsPerDay;
    days += days < 1 ? 1 : -1;  // one day towards zero
  }
  const int64_t hours = seconds / 3600 + 24 * (days < 0 ? -days : days);
  return Format("%s%02lld:%02lld:%02lld", negative ? "-" : "", static_cast<long long>(hours),
                static_cast<long long>(seconds % 3600 / 60), static_cast<long long>(seconds % 60));
}

}  // namespace velcrum
