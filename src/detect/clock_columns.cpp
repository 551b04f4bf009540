#include "detect/clock_columns.h"

#include <algorithm>

#include "base/ascii.h"
#include "detect/adif_bands.h"
#include "detect/date_time.h"
#include "detect/field_shapes.h"

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
  const std::size_t dot = value.find('.');
  if (isFrequency(value)) return dot != std::string_view::npos && value.size() - dot - 1 >= 3;
  std::size_t digits = 0;
  while (digits < value.size() && isAsciiDigit(static_cast<unsigned char>(value[digits]))) ++digits;
  const std::string_view unit = value.substr(digits);
  return digits > 0 && (unit == "M" || unit == "CM" || unit == "MM");
}

struct Column {
  bool seen = false, dotted = true, outOfBand = false, bands = true;
};

}  // namespace

std::vector<bool> clockColumns(const std::vector<std::vector<std::string_view>>& rows) {
  std::vector<Column> columns;
  for (const std::vector<std::string_view>& row : rows) {
    if (row.size() > columns.size()) columns.resize(row.size());
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (row[i].empty()) continue;
      Column& column = columns[i];
      const bool dotted = dottedTime(row[i]);
      column.seen = true;
      column.dotted = column.dotted && dotted;
      column.outOfBand = column.outOfBand || (dotted && adifBandIndex(row[i]) < 0);
      column.bands = column.bands && plainBand(row[i]);
    }
  }
  const bool bandColumn = std::any_of(columns.begin(), columns.end(), [](const Column& column) {
    return column.seen && column.bands && !column.dotted;
  });
  std::vector<bool> clocks(columns.size());
  for (std::size_t i = 0; i < columns.size(); ++i) {
    clocks[i] = columns[i].seen && columns[i].dotted && (columns[i].outOfBand || bandColumn);
  }
  return clocks;
}

}  // namespace quorvel
