#include "radio/date_time.h"

#include <array>
#include <utility>

#include "base/ascii.h"

namespace quorvel {

namespace {

constexpr std::array<std::string_view, 12> kMonthNames = {"JANUARY",   "FEBRUARY", "MARCH",    "APRIL",
                                                          "MAY",       "JUNE",     "JULY",     "AUGUST",
                                                          "SEPTEMBER", "OCTOBER",  "NOVEMBER", "DECEMBER"};
constexpr int kFirstYear = 1900, kLastYear = 2099;
constexpr int kCenturyPivot = 50;  // two-digit years below it are 20YY, the others 19YY
constexpr int kMinutesPerDay = 24 * 60;

bool allLetters(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!isAsciiAlpha(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

// The value of a run of at most four digits; -1 for anything else.
int numberOf(std::string_view digits) {
  if (digits.empty() || digits.size() > 4) return -1;
  int value = 0;
  for (char c : digits) {
    if (!isAsciiDigit(static_cast<unsigned char>(c))) return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

bool equalsCaseless(std::string_view text, std::string_view upper) {
  return text.size() == upper.size() && startsWithCaseless(text, upper);
}

// 1 to 12 for a month's English name or the first three letters of it or
// more (MAR, March, SEPT); 0 for any other word.
int monthNamed(std::string_view word) {
  if (word.size() < 3 || !allLetters(word)) return 0;
  for (std::size_t i = 0; i < kMonthNames.size(); ++i) {
    if (word.size() <= kMonthNames[i].size() && equalsCaseless(word, kMonthNames[i].substr(0, word.size()))) {
      return static_cast<int>(i) + 1;
    }
  }
  return 0;
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysIn(int year, int month) {
  constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

// The year a part of two or four digits stands for; -1 for any other.
int yearOf(std::string_view digits) {
  const int value = numberOf(digits);
  if (digits.size() == 2 && value >= 0) return value < kCenturyPivot ? 2000 + value : 1900 + value;
  if (digits.size() == 4 && value >= kFirstYear && value <= kLastYear) return value;
  return -1;
}

std::optional<DateRead> dated(int year, int month, int day, DateNotation notation) {
  if (year < 0 || month < 1 || month > 12 || day < 1 || day > daysIn(year, month)) return std::nullopt;
  return DateRead{{year, month, day}, notation};
}

// A month as a number of one or two digits, or named.
int monthOf(std::string_view part, DateNotation& notation) {
  if (const int named = monthNamed(part); named > 0) {
    notation.monthNamed = true;
    return named;
  }
  return part.size() <= 2 ? numberOf(part) : -1;
}

int dayOf(std::string_view part) { return part.size() <= 2 ? numberOf(part) : -1; }

// Digits alone: YYYYMMDD, of the 20th or 21st century, or YYMMDD.
std::optional<DateRead> digitsDate(std::string_view text) {
  if (text.size() == 8) {
    return dated(yearOf(text.substr(0, 4)), numberOf(text.substr(4, 2)), numberOf(text.substr(6, 2)), {});
  }
  if (text.size() == 6) {
    return dated(yearOf(text.substr(0, 2)), numberOf(text.substr(2, 2)), numberOf(text.substr(4, 2)), {});
  }
  return std::nullopt;
}

// A day, a month's name and a year run together: 09MAR2024, 9MAR24.
std::optional<DateRead> runTogetherDate(std::string_view text) {
  std::size_t letters = 0;
  while (letters < text.size() && isAsciiDigit(static_cast<unsigned char>(text[letters]))) ++letters;
  std::size_t digits = letters;
  while (digits < text.size() && isAsciiAlpha(static_cast<unsigned char>(text[digits]))) ++digits;
  if (letters == 0 || digits == letters || digits == text.size()) return std::nullopt;
  DateNotation notation;
  const int month = monthNamed(text.substr(letters, digits - letters));
  if (month == 0) return std::nullopt;
  notation.monthNamed = true;
  return dated(yearOf(text.substr(digits)), month, dayOf(text.substr(0, letters)), notation);
}

// Three parts split by one kind of separator.
std::optional<DateRead> partsDate(std::string_view text) {
  DateNotation notation;
  std::array<std::string_view, 3> parts;
  std::size_t count = 0, begin = 0;
  for (std::size_t at = 0; at <= text.size(); ++at) {
    const char c = at < text.size() ? text[at] : 0;
    if (at < text.size() && c != '-' && c != '/' && c != '.' && c != ' ') continue;
    if (at < text.size()) {
      if (notation.separator != 0 && notation.separator != c) return std::nullopt;
      notation.separator = c;
    }
    if (count == parts.size()) return std::nullopt;
    parts[count++] = text.substr(begin, at - begin);
    begin = at + 1;
  }
  if (count != parts.size()) return std::nullopt;
  // "MAR 9, 2024": a comma after the day, with blanks between the parts.
  if (notation.separator == ' ' && parts[1].ends_with(',')) parts[1].remove_suffix(1);
  if (parts[0].size() == 4 && allDigits(parts[0])) {
    const int month = monthOf(parts[1], notation);
    return dated(yearOf(parts[0]), month, dayOf(parts[2]), notation);
  }
  const int year = yearOf(parts[2]);
  if (const int month = monthNamed(parts[1]); month > 0) {
    notation.monthNamed = true;
    return dated(year, month, dayOf(parts[0]), notation);
  }
  if (const int month = monthNamed(parts[0]); month > 0) {
    notation.monthNamed = true;
    return dated(year, month, dayOf(parts[1]), notation);
  }
  const int first = dayOf(parts[0]), second = dayOf(parts[1]);
  notation.yearPlaceGuessed = parts[2].size() <= 2;
  if (first > 12 || second > 12) {
    notation.order = first > 12 ? DateOrder::DayFirst : DateOrder::MonthFirst;
    return first > 12 ? dated(year, second, first, notation) : dated(year, first, second, notation);
  }
  notation.orderGuessed = true;
  notation.order = notation.separator == '/' ? DateOrder::MonthFirst : DateOrder::DayFirst;
  return notation.order == DateOrder::MonthFirst ? dated(year, first, second, notation)
                                                 : dated(year, second, first, notation);
}

// The text of `text` from `at` past blanks.
std::size_t pastBlanks(std::string_view text, std::size_t at) {
  while (at < text.size() && text[at] == ' ') ++at;
  return at;
}

// Reads the two digits at `at` as a number and moves `at` past them; -1
// when they are not there.
int twoDigitsAt(std::string_view text, std::size_t& at) {
  if (text.size() - at < 2 || !isAsciiDigit(static_cast<unsigned char>(text[at])) ||
      !isAsciiDigit(static_cast<unsigned char>(text[at + 1]))) {
    return -1;
  }
  at += 2;
  return (text[at - 2] - '0') * 10 + (text[at - 1] - '0');
}

// AM or PM (or A.M., P.M.) at `at`: 'A', 'P', or 0 for none.
char meridiemAt(std::string_view text, std::size_t& at) {
  if (at == text.size() || (toAsciiUpper(text[at]) != 'A' && toAsciiUpper(text[at]) != 'P')) return 0;
  for (std::string_view form : {"AM", "PM", "A.M.", "P.M."}) {
    if (text.size() - at >= form.size() && equalsCaseless(text.substr(at, form.size()), form)) {
      at += form.size();
      return form[0];
    }
  }
  return 0;
}

// The zones written by a name, and their offsets from UTC in minutes: J
// and U are Japan's time (UTC+9) and UTC as Japanese logs mark them
// (19:30J, 10:30U).
struct NamedZone {
  std::string_view name;
  int offsetMinutes;
};
constexpr NamedZone kNamedZones[] = {{"UTC", 0}, {"GMT", 0}, {"Z", 0}, {"U", 0}, {"J", 9 * 60}};

// A zone at `at`: a named one, or an offset +HH:MM, +HHMM or +HH. False
// when what stands there is none of them; `zoned` tells whether one was.
bool zoneAt(std::string_view text, std::size_t& at, TimeRead& read) {
  if (at == text.size()) return true;
  read.notation.zoned = true;
  for (const NamedZone& zone : kNamedZones) {
    if (text.size() - at == zone.name.size() && equalsCaseless(text.substr(at), zone.name)) {
      at = text.size();
      read.offsetMinutes = zone.offsetMinutes;
      return true;
    }
  }
  if (text[at] != '+' && text[at] != '-') return false;
  const int sign = text[at++] == '-' ? -1 : 1;
  const int hours = twoDigitsAt(text, at);
  int minutes = 0;
  if (at < text.size()) {
    if (text[at] == ':') ++at;
    minutes = twoDigitsAt(text, at);
  }
  if (hours < 0 || hours > 14 || minutes < 0 || minutes > 59 || at != text.size()) return false;
  read.offsetMinutes = sign * (hours * 60 + minutes);
  return true;
}

// Hours, minutes and seconds with a separator: H:MM, HH:MM:SS.fff, 18.05,
// 18H05. Sets `at` past them.
bool separatedClock(std::string_view text, std::size_t& at, TimeRead& read) {
  std::size_t hours = 0;
  int value = 0;
  for (; hours < text.size() && hours < 2 && isAsciiDigit(static_cast<unsigned char>(text[hours])); ++hours) {
    value = value * 10 + (text[hours] - '0');
  }
  if (hours == 0 || hours == text.size()) return false;
  const char separator = toAsciiUpper(text[hours]);
  if (separator != ':' && separator != '.' && separator != 'H') return false;
  read.notation.separator = separator;
  read.time.hours = value;
  at = hours + 1;
  read.time.minutes = twoDigitsAt(text, at);
  if (read.time.minutes < 0) return false;
  if (separator != 'H' && at < text.size() && text[at] == separator) {
    ++at;
    read.time.seconds = twoDigitsAt(text, at);
    if (read.time.seconds < 0) return false;
    // A fraction of a second.
    if (at + 1 < text.size() && (text[at] == '.' || text[at] == ',') &&
        isAsciiDigit(static_cast<unsigned char>(text[at + 1]))) {
      for (++at; at < text.size() && isAsciiDigit(static_cast<unsigned char>(text[at]));) ++at;
    }
  }
  return true;
}

// Digits alone: HHMM or HHMMSS.
bool digitsClock(std::string_view text, std::size_t& at, TimeRead& read) {
  std::size_t digits = 0;
  while (digits < text.size() && isAsciiDigit(static_cast<unsigned char>(text[digits]))) ++digits;
  if (digits != 4 && digits != 6) return false;
  read.time.hours = numberOf(text.substr(0, 2));
  read.time.minutes = numberOf(text.substr(2, 2));
  read.time.seconds = digits == 6 ? numberOf(text.substr(4, 2)) : 0;
  at = digits;
  return true;
}

bool validClock(const ClockTime& time, bool twelveHour) {
  const bool hours = twelveHour ? time.hours >= 1 && time.hours <= 12 : time.hours >= 0 && time.hours <= 23;
  return hours && time.minutes >= 0 && time.minutes <= 59 && time.seconds >= 0 && time.seconds <= 59;
}

CalendarDate dayAfter(CalendarDate date, int days) {
  for (; days > 0; --days) {
    if (++date.day > daysIn(date.year, date.month)) date.day = 1, date.month = date.month % 12 + 1;
    if (date.day == 1 && date.month == 1) ++date.year;
  }
  for (; days < 0; ++days) {
    if (--date.day == 0) {
      if (--date.month == 0) date.month = 12, --date.year;
      date.day = daysIn(date.year, date.month);
    }
  }
  return date;
}

void writeDigits(char* out, int value, int count) {
  for (int i = count - 1; i >= 0; --i, value /= 10) out[i] = static_cast<char>('0' + value % 10);
}

void writeTwoDigits(char* out, int value) {
  out[0] = static_cast<char>('0' + value / 10);
  out[1] = static_cast<char>('0' + value % 10);
}

}  // namespace

std::optional<DateRead> readDate(std::string_view text) {
  if (text.empty()) return std::nullopt;
  if (allDigits(text)) return digitsDate(text);
  if (std::optional<DateRead> together = runTogetherDate(text)) return together;
  return partsDate(text);
}

std::optional<DateRead> readDate(std::string_view text, DateOrder order) {
  std::optional<DateRead> read = readDate(text);
  if (order == DateOrder::YearFirst) {
    if (!read || !read->notation.yearPlaceGuessed) return read;
    // Its parts as they stand: year, month, day.
    const std::size_t one = text.find(read->notation.separator), two = text.find(read->notation.separator, one + 1);
    DateNotation notation = read->notation;
    notation.order = DateOrder::YearFirst;
    return dated(yearOf(text.substr(0, one)), dayOf(text.substr(one + 1, two - one - 1)), dayOf(text.substr(two + 1)),
                 notation);
  }
  if (read && read->notation.orderGuessed && order != DateOrder::Unknown && order != read->notation.order) {
    std::swap(read->date.month, read->date.day);  // both 12 or below: a date either way
    read->notation.order = order;
  }
  return read;
}

std::optional<TimeRead> readTime(std::string_view text) {
  TimeRead read;
  std::size_t at = 0;
  const bool separated = separatedClock(text, at, read);
  if (!separated && !digitsClock(text, at, read)) return std::nullopt;
  // AM or PM after a time written with a separator, blanks between or none.
  std::size_t after = pastBlanks(text, at);
  if (const char meridiem = separated ? meridiemAt(text, after) : 0; meridiem != 0) {
    read.notation.twelveHour = true;
    if (!validClock(read.time, true)) return std::nullopt;
    read.time.hours = read.time.hours % 12 + (meridiem == 'P' ? 12 : 0);
    at = after;
  }
  if (!read.notation.twelveHour && !validClock(read.time, false)) return std::nullopt;
  // A zone after the time, blanks between or none.
  at = pastBlanks(text, at);
  if (!zoneAt(text, at, read)) return std::nullopt;
  return read;
}

DateTimeRead readDateTime(std::string_view text) {
  DateTimeRead read;
  if ((read.date = readDate(text))) {
    read.dateText = text;
    return read;
  }
  if ((read.time = readTime(text))) {
    read.timeText = text;
    return read;
  }
  // A date, then "T" or blanks, then a time.
  for (std::size_t at = 1; at + 1 < text.size(); ++at) {
    if (text[at] != 'T' && text[at] != 't' && text[at] != ' ') continue;
    const std::string_view date = text.substr(0, at);
    const std::string_view time = text.substr(text[at] == ' ' ? pastBlanks(text, at) : at + 1);
    std::optional<DateRead> dateRead = readDate(date);
    if (!dateRead) continue;
    if (std::optional<TimeRead> timeRead = readTime(time)) {
      return {dateRead, date, timeRead, time};
    }
  }
  return {};
}

std::optional<UtcDateTime> inUtc(const DateTimeRead& read) {
  if (!read.both()) return std::nullopt;
  const ClockTime& local = read.time->time;
  int minutes = local.hours * 60 + local.minutes - read.time->offsetMinutes;
  const int days = minutes < 0 ? -1 : minutes >= kMinutesPerDay ? 1 : 0;
  minutes -= days * kMinutesPerDay;
  UtcDateTime utc{dayAfter(read.date->date, days), {minutes / 60, minutes % 60, local.seconds}, days != 0};
  return utc;
}

std::string_view hoursAndMinutes(const ClockTime& time, char (&out)[4]) {
  writeTwoDigits(out, time.hours);
  writeTwoDigits(out + 2, time.minutes);
  return std::string_view(out, 4);
}

std::string_view isoDate(const CalendarDate& date, char (&out)[10]) {
  writeDigits(out, date.year, 4);
  out[4] = '-';
  writeTwoDigits(out + 5, date.month);
  out[7] = '-';
  writeTwoDigits(out + 8, date.day);
  return std::string_view(out, 10);
}

}  // namespace quorvel
