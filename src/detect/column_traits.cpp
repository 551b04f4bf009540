#include "detect/column_traits.h"

#include <algorithm>
#include <bitset>
#include <optional>

#include "base/ascii.h"
#include "radio/band_notation.h"
#include "radio/date_time.h"
#include "radio/field_shapes.h"
#include "radio/recognisers.h"

namespace quorvel {

namespace {

bool dottedTime(std::string_view value) {
  const std::optional<TimeRead> time = readTime(value);
  return time && time->notation.separator == '.' && !time->notation.zoned && !time->notation.twelveHour;
}

// A band no clock could be: with its unit (20M, 70CM), glued to its mode
// (40CW), or a frequency to the kilohertz (14.025).
bool plainBand(std::string_view value) {
  if (gluedBandLength(value) > 0 || value == "SAT") return true;
  // A frequency has its dot.
  if (isFrequency(value)) return value.size() - value.find('.') - 1 >= 3;
  std::size_t digits = 0;
  while (digits < value.size() && isAsciiDigit(static_cast<unsigned char>(value[digits]))) ++digits;
  const std::string_view unit = value.substr(digits);
  return digits > 0 && isMetreUnit(unit);
}

bool digitAt(std::string_view value, std::size_t at, char low, char high) {
  return at < value.size() && value[at] >= low && value[at] <= high;
}

// A report of readability 5 and a strength, and a tone of 9: 599, 579, 59.
bool report(std::string_view value) {
  return (value.size() == 2 || value.size() == 3) && digitAt(value, 0, '5', '5') && digitAt(value, 1, '1', '9') &&
         (value.size() == 2 || digitAt(value, 2, '9', '9'));
}

// The value of digits alone, at most nine of them; none for anything else.
std::optional<long> wholeNumber(std::string_view value) {
  if (value.empty() || value.size() > 9) return std::nullopt;
  long number = 0;
  for (char c : value) {
    if (!isAsciiDigit(static_cast<unsigned char>(c))) return std::nullopt;
    number = number * 10 + (c - '0');
  }
  return number;
}

// The number that a date's text begins with, or ends with where `last`.
std::size_t edgeNumber(std::string_view text, bool last) {
  std::size_t number = 0, scale = 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[last ? text.size() - 1 - i : i];
    if (!isAsciiDigit(static_cast<unsigned char>(c))) break;
    number =
        last ? number + static_cast<std::size_t>(c - '0') * scale : number * 10 + static_cast<std::size_t>(c - '0');
    scale *= 10;
  }
  return number;
}

struct Column {
  int rows = 0;
  int dayFirst = 0, monthFirst = 0;  // dates that show their order
  // Of dates of three numbers of two digits (25/06/14), the numbers seen
  // first and last: a log's dates share few years and many days, so the
  // part that takes fewer values is the year.
  std::bitset<100> firstNumbers, lastNumbers;
  bool dotted = true, outOfBand = false, bands = true, reports = true, counting = true, same = true, callsigns = true;
  std::string_view first;
  std::optional<long> last;  // the number the row above held, while it counts up
};

void take(Column& column, std::string_view value) {
  const bool dotted = dottedTime(value);
  column.dotted = column.dotted && dotted;
  column.outOfBand = column.outOfBand || (dotted && adifBandIndex(value) < 0);
  column.bands = column.bands && plainBand(value);
  column.reports = column.reports && report(value);
  column.callsigns = column.callsigns && isCallsign(value);
  const std::optional<long> number = wholeNumber(value);
  column.counting = column.counting && number && (column.rows == 0 || (column.last && *number == *column.last + 1));
  column.last = number;
  if (column.rows == 0) column.first = value;
  column.same = column.same && value == column.first;
  if (value.find_first_of("/.-") != std::string_view::npos) {
    const DateTimeRead read = readDateTime(value);
    if (read.date && !read.date->notation.orderGuessed) {
      column.dayFirst += read.date->notation.order == DateOrder::DayFirst;
      column.monthFirst += read.date->notation.order == DateOrder::MonthFirst;
    }
    if (read.date && read.date->notation.yearPlaceGuessed) {
      column.firstNumbers.set(edgeNumber(read.dateText, false) % 100);
      column.lastNumbers.set(edgeNumber(read.dateText, true) % 100);
    }
  }
  ++column.rows;
}

}  // namespace

std::vector<ColumnTraits> columnTraits(const std::vector<std::vector<std::string_view>>& rows) {
  std::vector<Column> columns;
  for (const std::vector<std::string_view>& row : rows) {
    if (row.size() > columns.size()) columns.resize(row.size());
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (!row[i].empty()) take(columns[i], row[i]);
    }
  }
  const bool bandColumn = std::any_of(columns.begin(), columns.end(), [](const Column& column) {
    return column.rows > 0 && column.bands && !column.dotted;
  });
  std::vector<ColumnTraits> traits(columns.size());
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const Column& column = columns[i];
    if (column.rows == 0) continue;
    traits[i].clock = column.dotted && (column.outOfBand || bandColumn);
    traits[i].report = column.reports;
    traits[i].counting = column.counting && column.rows >= 3;
    traits[i].constant = column.same && column.rows >= 2;
    traits[i].callsigns = column.callsigns;
    const std::size_t years = column.firstNumbers.count(), days = column.lastNumbers.count();
    if (years > 0 && days >= 3 && days >= 2 * years) {
      traits[i].dateOrder = DateOrder::YearFirst;
    } else if ((column.dayFirst > 0) != (column.monthFirst > 0)) {
      traits[i].dateOrder = column.dayFirst > 0 ? DateOrder::DayFirst : DateOrder::MonthFirst;
    }
  }
  return traits;
}

bool ownCallColumn(const std::vector<ColumnTraits>& traits, std::size_t column) {
  if (column >= traits.size() || !traits[column].constant || !traits[column].callsigns) return false;
  for (std::size_t other = 0; other < traits.size(); ++other) {
    if (other != column && traits[other].callsigns && !traits[other].constant) return true;
  }
  return false;
}

}  // namespace quorvel
