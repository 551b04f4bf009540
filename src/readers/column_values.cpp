#include "readers/column_values.h"

#include <algorithm>
#include <array>
#include <string>

#include "base/ascii.h"
#include "radio/band_table.h"
#include "radio/date_time.h"
#include "radio/field_shapes.h"

namespace quorvel {

namespace {
constexpr auto wholeTextsOf = [](const Band& band) { return band.wholeTexts; };
constexpr auto kWholeBandTexts = bandTexts<countBandTexts(wholeTextsOf)>(wholeTextsOf);
constexpr const Band& k30Metres = kBands[7];
static_assert(k30Metres.name == "30M" && k30Metres.wholeTexts[0] == "10.1");

// Whether 10 MHz and `fraction` (its digits after the point) lies in the
// 30 m band, 10.100 to 10.150.
bool in30Metres(std::string_view fraction) {
  static_assert(k30Metres.lower == 10.1 && k30Metres.upper == 10.15);
  if (!allDigits(fraction) || fraction.empty() || fraction[0] != '1') return false;
  return fraction.size() == 1 || fraction[1] < '5' ||
         (fraction[1] == '5' && fraction.find_first_not_of('0', 2) == std::string_view::npos);
}
}  // namespace

// Out of line: inlined into columnRecord, its band was copied in one
// 16-byte piece from the two halves just stored, which waits for the
// stores to drain, on every row.
[[gnu::noinline]] std::string_view normaliseBand(std::string_view band) {
  // A comma is the decimal sign of much of Europe (7,040). A plain loop:
  // bands are short.
  std::size_t whole = 0;
  while (whole < band.size() && band[whole] != '.' && band[whole] != ',') ++whole;
  if (whole == band.size()) return band;
  for (std::string_view kept : kWholeBandTexts) {
    if (band == kept) return band;
  }
  const std::string_view number = band.substr(0, whole);
  if (!isAsciiDigit(static_cast<unsigned char>(band.back()))) {
    // A band's name with its unit is the band itself (1.25M, 2.5MM), no
    // frequency to cut.
    for (const Band& named : kBands) {
      if (band == named.name) return band;
    }
    return number;
  }
  // Cut at its point, a frequency of 30 m would read as 10 m, and one
  // below 1 MHz as no band at all: the first is written as the band's own
  // text, the second keeps its kHz.
  // (The numbers are told by their bytes: a comparison of texts is a call
  // on every contact.)
  if (whole == 1 && number[0] == '0' && allDigits(band.substr(whole + 1))) {
    return band.substr(0, std::min(band.size(), whole + 4));
  }
  if (whole == 2 && number[0] == '1' && number[1] == '0' && in30Metres(band.substr(whole + 1))) {
    return k30Metres.wholeTexts[0];
  }
  return number;
}

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
// `offsetMinutes` gets the offset of the zone of a time alone, which the
// date beside it moves by too; 0 for none.
std::string_view shownTime(std::string_view value, ShownDateTime& shown, int& offsetMinutes) {
  offsetMinutes = 0;
  if (value.empty() || allDigits(value)) return value;
  // Most are a time alone (18:15:02): read as one at once.
  DateTimeRead read;
  if ((read.time = readTime(value))) {
    read.timeText = value;
    offsetMinutes = read.time->offsetMinutes;
  } else {
    read = readDateTime(value);
  }
  return read.time ? timeOf(read, shown) : value;
}

// Whether a date's parts are all numbers of two digits (25/06/14): its
// year may stand first or last, which no reading of it settles.
bool yearInDoubt(std::string_view date) {
  std::size_t run = 0, longest = 0;
  for (char c : date) {
    if (isAsciiAlpha(static_cast<unsigned char>(c))) return false;
    run = isAsciiDigit(static_cast<unsigned char>(c)) ? run + 1 : 0;
    longest = std::max(longest, run);
  }
  return longest <= 2;
}

// The date of the date column where the zone of the time beside it takes
// the contact past midnight in UTC (18:30-06:00, 08:05J): the day after or
// before, written YYYY-MM-DD, as a date and a time in one field moves. A
// date whose year's place is in doubt, unless its column settled it,
// stays as the log writes it.
std::string_view movedDate(std::string_view date, std::string_view time, DateOrder order, ShownDateTime& shown) {
  if (order != DateOrder::YearFirst && yearInDoubt(date)) return date;
  DateTimeRead read;
  read.date = readDate(date, order);
  read.time = readTime(time);
  const std::optional<UtcDateTime> utc = inUtc(read);
  return utc && utc->dateMoved ? isoDate(utc->date, shown.date) : date;
}

}  // namespace

RecordFields columnRecord(const ColumnMap& columns, const std::vector<std::string_view>& tokens, ShownDateTime& shown,
                          Meanings meanings, ContactMeaning* meaning) {
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
    int offsetMinutes = 0;
    fields.time = shownTime(valueIn(columns.timeColumn), shown, offsetMinutes);
    if (offsetMinutes != 0 && fields.date == valueIn(columns.dateColumn)) {
      fields.date = movedDate(fields.date, valueIn(columns.timeColumn), columns.dateOrder, shown);
    }
  }
  std::string_view band = valueIn(columns.bandColumn);
  std::string_view mode = valueIn(columns.modeColumn);
  if (columns.bandColumn == columns.modeColumn) {
    const std::size_t length = gluedBandLength(band);
    mode = length > 0 ? band.substr(length) : std::string_view();
    band = band.substr(0, length > 0 ? length : band.size());
  }
  fields.band = normaliseBand(band);
  const std::string_view submode = valueIn(columns.submodeColumn);
  fields.mode = shownMode(mode, submode);
  fields.callsign = valueIn(columns.callsignColumn);
  if (meanings != Meanings::None) {
    meaning->date = shown.dates.dateOf(fields.date, columns.dateOrder, meaning->dateSettled);
    const BandMemo::Bands bands = shown.bands.bandOf(band, fields.band);
    meaning->band = bands.band;
    meaning->bandSaid = bands.shownSame;
    meaning->submode = lostModeName(mode, submode);
    if (meanings == Meanings::ForPage) meaning->time = meantTime(fields.time, shown.meant);
  }
  return fields;
}

}  // namespace quorvel
