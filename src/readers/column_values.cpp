#include "readers/column_values.h"

#include <array>

#include "detect/field_shapes.h"

namespace quorvel {

namespace {
constexpr std::array<std::string_view, 6> kWholeBandTexts = {"1.8", "3.5", "3.6", "3.8", "10.1", "24.5"};
}

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

RecordFields columnRecord(const ColumnMap& columns, const std::vector<std::string_view>& tokens,
                          char (&timeDigits)[4]) {
  // The line is never completed with values of an earlier contact.
  auto valueIn = [&tokens](int column) {
    return column < 0 || static_cast<std::size_t>(column) >= tokens.size() ? std::string_view()
                                                                           : tokens[static_cast<std::size_t>(column)];
  };
  RecordFields fields;
  fields.date = valueIn(columns.dateColumn);
  fields.time = fourDigitTime(valueIn(columns.timeColumn), timeDigits);
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
