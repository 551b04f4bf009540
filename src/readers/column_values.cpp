#include "readers/column_values.h"

#include <algorithm>
#include <array>

#include "base/ascii.h"
#include "detect/band_table.h"
#include "detect/date_time.h"
#include "detect/field_shapes.h"

namespace quorvel {

namespace {
constexpr auto wholeTextsOf = [](const Band& band) { return band.wholeTexts; };
constexpr auto kWholeBandTexts = bandTexts<countBandTexts(wholeTextsOf)>(wholeTextsOf);
}  // namespace

std::string_view normaliseBand(std::string_view band) {
  for (std::string_view whole : kWholeBandTexts) {
    if (band == whole) return band;
  }
  // A comma is the decimal sign of much of Europe (7,040). A plain loop:
  // bands are short.
  std::size_t whole = 0;
  while (whole < band.size() && band[whole] != '.' && band[whole] != ',') ++whole;
  return band.substr(0, whole);
}

std::string_view normaliseMode(std::string_view mode) { return mode == "PSK31" ? std::string_view("PSK") : mode; }

namespace {

// The date of a value read as a date, or a date and a time: as the log
// writes it, or as YYYY-MM-DD where the time's offset moved it.
std::string_view dateOf(const DateTimeRead& read, ShownDateTime& shown) {
  const std::optional<UtcDateTime> utc = inUtc(read);
  return utc && utc->dateMoved ? isoDate(utc->date, shown.date) : read.dateText;
}

// The time of a value read as a time, or a date and a time: HHMM in UTC;
// digits alone (1815, 181502) as they stand.
std::string_view timeOf(const DateTimeRead& read, ShownDateTime& shown) {
  if (const std::optional<UtcDateTime> utc = inUtc(read)) return hoursAndMinutes(utc->time, shown.time);
  const TimeNotation& notation = read.time->notation;
  if (notation.separator == 0 && !notation.zoned && !notation.twelveHour) return read.timeText;
  const ClockTime& local = read.time->time;
  if (read.time->offsetMinutes == 0) return hoursAndMinutes(local, shown.time);
  constexpr int kMinutesPerDay = 24 * 60;
  const int minutes =
      ((local.hours * 60 + local.minutes - read.time->offsetMinutes) % kMinutesPerDay + kMinutesPerDay) %
      kMinutesPerDay;
  return hoursAndMinutes({minutes / 60, minutes % 60, local.seconds}, shown.time);
}

// The date of a value in the date column, which may hold a time beside it.
std::string_view shownDate(std::string_view value, ShownDateTime& shown) {
  // A date and a time take eleven characters at least (240309T1815): most
  // dates are passed on at a glance.
  constexpr std::size_t kShortestDateAndTime = 11;
  if (value.size() < kShortestDateAndTime) return value;
  const DateTimeRead read = readDateTime(value);
  return read.both() ? dateOf(read, shown) : value;
}

// The time of a value in the time column, which may hold a date before it.
std::string_view shownTime(std::string_view value, ShownDateTime& shown) {
  if (value.empty() || allDigits(value)) return value;
  // Most are a time alone (18:15:02): read as one at once.
  DateTimeRead read;
  if ((read.time = readTime(value))) {
    read.timeText = value;
  } else {
    read = readDateTime(value);
  }
  return read.time ? timeOf(read, shown) : value;
}

}  // namespace

RecordFields columnRecord(const ColumnMap& columns, const std::vector<std::string_view>& tokens, ShownDateTime& shown) {
  // The line is never completed with values of an earlier contact.
  auto valueIn = [&tokens](int column) {
    return column < 0 || static_cast<std::size_t>(column) >= tokens.size() ? std::string_view()
                                                                           : tokens[static_cast<std::size_t>(column)];
  };
  RecordFields fields;
  if (columns.dateColumn == columns.timeColumn && columns.dateColumn != ColumnMap::kUnassigned) {
    // A column of dates and times together: a value may hold either alone.
    const std::string_view value = valueIn(columns.dateColumn);
    const DateTimeRead read = readDateTime(value);
    fields.date = read.date ? dateOf(read, shown) : read.time ? std::string_view() : value;
    fields.time = read.time ? timeOf(read, shown) : std::string_view();
  } else {
    fields.date = shownDate(valueIn(columns.dateColumn), shown);
    fields.time = shownTime(valueIn(columns.timeColumn), shown);
  }
  std::string_view band = valueIn(columns.bandColumn);
  std::string_view mode = valueIn(columns.modeColumn);
  if (columns.bandColumn == columns.modeColumn) {
    const std::size_t length = gluedBandLength(band);
    mode = length > 0 ? band.substr(length) : std::string_view();
    band = band.substr(0, length > 0 ? length : band.size());
  }
  fields.band = normaliseBand(band);
  // ADIF 3.1's way with FT4, JS8, Q65 and their kin: MODE MFSK, and the
  // mode that says something as its submode.
  if (const std::string_view submode = valueIn(columns.submodeColumn); mode == "MFSK" && !submode.empty()) {
    mode = submode;
  }
  fields.mode = normaliseMode(mode);
  fields.callsign = valueIn(columns.callsignColumn);
  return fields;
}

}  // namespace quorvel
