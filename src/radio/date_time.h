#pragma once

#include <optional>
#include <string_view>

namespace quorvel {

// Dates and times as logs write them, read by one grammar: a date is a
// year, a month and a day, in any order people write them, with "-", "/",
// "." or a blank between them or nothing; a time is hours and minutes,
// seconds or not, on a 24-hour or a 12-hour clock, with a separator or
// none, and a zone after it or none; a field may hold a date and a time
// together. Every value is checked: a month has 12, a day the days its
// month has, an hour 24, a minute 60. Pure: no state, no locale; letters
// in any case.

// A day of the calendar.
struct CalendarDate {
  int year = 0, month = 0, day = 0;
  bool operator==(const CalendarDate&) const = default;
};

// Which of a date's two numbers before its year is the day, in a
// notation that writes both as numbers (21/06/2024, 6/21/2024); or, where
// all three are numbers of two digits, that the year stands first, then
// the month and the day (25/06/14), as Japanese logs write dates.
enum class DateOrder : unsigned char { Unknown, DayFirst, MonthFirst, YearFirst };

// How a date is written.
struct DateNotation {
  char separator = 0;       // '-', '/', '.' or ' ' between its parts; 0 for none (20240309)
  bool monthNamed = false;  // JUN, June
  // The order of day and month, where both are numbers before the year:
  // shown by one above 12, else guessed (below).
  DateOrder order = DateOrder::Unknown;
  // The text leaves day and month either way round (03/09/2024), and the
  // writing convention chose: a slash puts the month first, as in the
  // United States, other separators the day.
  bool orderGuessed = false;
  // All three parts are numbers of two digits or fewer (25/06/14): read
  // with the year last, though it may stand first.
  bool yearPlaceGuessed = false;
};

struct DateRead {
  CalendarDate date;
  DateNotation notation;
};

// A date: YYYYMMDD (19xx and 20xx) and YYMMDD; three parts split by one
// kind of separator, the year first (2024-03-09, 2024/3/9) or last
// (09.03.2024, 3/9/2024, 9-MAR-24, MAR 9 2024), the month as a number or
// an English name of three letters or more; a day, a month's name and a
// year run together (09MAR2024). Of day and month as numbers, one past 12
// is the day. A year of four digits lies in 1900-2099; one of two is 20YY
// below 50 and 19YY from 50.
std::optional<DateRead> readDate(std::string_view text);

// readDate(text), but a date whose order of day and month it would guess
// is read in `order`, where that is known: the order a log's column shows
// in the dates that leave no doubt. With YearFirst, a date of three
// numbers of two digits is read year, month, day.
std::optional<DateRead> readDate(std::string_view text, DateOrder order);

// A time of day.
struct ClockTime {
  int hours = 0, minutes = 0, seconds = 0;
  bool operator==(const ClockTime&) const = default;
};

// How a time is written.
struct TimeNotation {
  char separator = 0;       // ':', '.' or 'H' after the hours; 0 for digits alone (1815, 181502)
  bool twelveHour = false;  // AM or PM after it
  bool zoned = false;       // a zone after it: Z, UTC, GMT or an offset
};

struct TimeRead {
  ClockTime time;  // as written, on the 24-hour clock
  TimeNotation notation;
  int offsetMinutes = 0;  // of the zone from UTC: +02:00 is 120, J 540; 0 for Z, UTC and none
};

// A time: HHMM and HHMMSS; H:MM, HH:MM and HH:MM:SS, with ":", "." or "H"
// between the parts and a fraction of a second after them or not; on a
// 12-hour clock with AM or PM after it (1:05 PM, 12:00:00AM); then, or
// alone after digits, a zone: Z, UTC, GMT, U (UTC), J (Japan, UTC+9), or
// an offset +HH:MM, +HHMM or +HH (1815Z, 18:15 UTC, 18:15:00+02:00,
// 19:30J).
std::optional<TimeRead> readTime(std::string_view text);

// What a field holds: a date, a time, both, or neither.
struct DateTimeRead {
  std::optional<DateRead> date;
  std::string_view dateText;  // the part of the field that is the date
  std::optional<TimeRead> time;
  std::string_view timeText;

  bool any() const { return date.has_value() || time.has_value(); }
  bool both() const { return date.has_value() && time.has_value(); }
};

// Reads `text` as a date, a time, or a date and a time parted by "T" or a
// blank (2025-06-27T18:05:00Z, 3/9/2024 6:15 PM). A text that reads both
// as a date and as a time (120530) is a date.
DateTimeRead readDateTime(std::string_view text);

// A date and time in UTC: `read` moved by its zone's offset, the date a
// day on or back when the offset takes the time past midnight. Nothing
// when `read` is not both.
struct UtcDateTime {
  CalendarDate date;
  ClockTime time;
  bool dateMoved = false;  // the offset moved the date
};
std::optional<UtcDateTime> inUtc(const DateTimeRead& read);

// HHMM of `time`, written to `out`.
std::string_view hoursAndMinutes(const ClockTime& time, char (&out)[4]);

// YYYY-MM-DD of `date`, written to `out`.
std::string_view isoDate(const CalendarDate& date, char (&out)[10]);

}  // namespace quorvel
