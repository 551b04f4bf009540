#include "detect/assign_column.h"

#include <algorithm>

#include "base/ascii.h"
#include "detect/column_traits.h"
#include "radio/date_time.h"
#include "radio/field_shapes.h"
#include "radio/recognisers.h"

namespace quorvel {

namespace {

// Callsigns, locators and mode names hold digits and letters that the
// looser band shapes would take.
bool namesSomethingElse(std::string_view token) {
  return looksLikeCallsign(token) || isLocator(token) || isModeName(token);
}

// How a token is written as a time of day, if it is one.
enum class TimeWriting {
  None,
  Digits,  // 1815, 181502: or a number
  Dotted,  // 18.05: or a frequency
  Plain,   // 18:05, 18H05, 6:05 PM, 1815Z, or beside a date: a time and nothing else
};

TimeWriting timeWriting(std::string_view token) {
  if (const std::optional<TimeRead> time = readTime(token)) {
    if (time->notation.twelveHour || time->notation.zoned) return TimeWriting::Plain;
    if (time->notation.separator == 0) return TimeWriting::Digits;
    return time->notation.separator == '.' ? TimeWriting::Dotted : TimeWriting::Plain;
  }
  return readDateTime(token).both() ? TimeWriting::Plain : TimeWriting::None;
}

bool looksLikeDate(std::string_view token) { return readDate(token) || readDateTime(token).both(); }

// A locator that no callsign could be (FN31; GB50TG could be either), a mode
// name and a band glued to its mode pass isCallsign() too; a locator is
// taken only `likeALocator`.
bool takesCallsign(std::string_view token, bool likeALocator = false) {
  return isCallsign(token) && !isModeName(token) && gluedBandLength(token) == 0 &&
         (likeALocator || !isLocator(token) || looksLikeCallsign(token));
}

// What a line's tokens fit, which depends on the line's other tokens and
// on what the log's columns hold over many rows.
struct Fits {
  const std::vector<ColumnTraits>& traits;
  // The line writes a time as nothing else (18:05) or in a column of
  // clock times: its bare digits are a number.
  bool writtenTimes = false;

  ColumnTraits traitsOf(std::size_t column) const { return column < traits.size() ? traits[column] : ColumnTraits{}; }
  bool clockColumn(std::size_t column) const { return traitsOf(column).clock; }

  bool time(std::string_view token, std::size_t column) const {
    switch (timeWriting(token)) {
      case TimeWriting::None: return false;
      case TimeWriting::Digits: return !writtenTimes;
      case TimeWriting::Dotted: return clockColumn(column);
      case TimeWriting::Plain: return true;
    }
    return false;
  }

  bool band(std::string_view token, std::size_t column) const {
    if (traitsOf(column).report || traitsOf(column).counting) return false;
    if (gluedBandLength(token) > 0) return true;
    const TimeWriting writing = timeWriting(token);
    return (isBand(token) || isFrequency(token)) && !namesSomethingElse(token) &&
           token.find(':') == std::string_view::npos && writing != TimeWriting::Plain &&
           !(writing == TimeWriting::Dotted && clockColumn(column));
  }

  bool operator()(ColumnRole role, std::string_view token, std::size_t column) const {
    switch (role) {
      case ColumnRole::Date: return looksLikeDate(token);
      case ColumnRole::Time: return time(token, column);
      case ColumnRole::Band: return band(token, column);
      case ColumnRole::Mode: return isModeName(token);
      case ColumnRole::Callsign: return takesCallsign(token) && !ownCallColumn(traits, column);
      case ColumnRole::OwnCall: break;
    }
    return false;
  }
};

constexpr ColumnRole kRoles[] = {ColumnRole::Date, ColumnRole::Time, ColumnRole::Band, ColumnRole::Mode,
                                 ColumnRole::Callsign};

int& columnOf(ColumnMap& columns, ColumnRole role) {
  switch (role) {
    case ColumnRole::Date: return columns.dateColumn;
    case ColumnRole::Time: return columns.timeColumn;
    case ColumnRole::Band: return columns.bandColumn;
    case ColumnRole::Mode: return columns.modeColumn;
    case ColumnRole::Callsign:
    case ColumnRole::OwnCall: break;
  }
  return columns.callsignColumn;
}

// Gives `role` the column; a band written with its mode the mode too, and
// a date written with its time (2025-06-27T18:05:00Z) the time too, when
// no other column has them.
void take(ColumnMap& columns, ColumnRole role, int column, std::string_view token) {
  columnOf(columns, role) = column;
  if (role == ColumnRole::Band && columns.modeColumn == ColumnMap::kUnassigned && gluedBandLength(token) > 0) {
    columns.modeColumn = column;
  }
  if ((role == ColumnRole::Date || role == ColumnRole::Time) && readDateTime(token).both()) {
    for (int* other : {&columns.dateColumn, &columns.timeColumn}) {
      if (*other == ColumnMap::kUnassigned) *other = column;
    }
  }
}

}  // namespace

std::string_view columnRoleName(ColumnRole role) {
  switch (role) {
    case ColumnRole::Date: return "date";
    case ColumnRole::Time: return "time";
    case ColumnRole::Band: return "band";
    case ColumnRole::Mode: return "mode";
    case ColumnRole::Callsign: return "callsign";
    case ColumnRole::OwnCall: return "own call";
  }
  return "";
}

ColumnMap assignColumns(const std::vector<std::string_view>& tokens,
                        const std::vector<std::optional<ColumnRole>>& named, const std::vector<ColumnTraits>& traits,
                        std::vector<ColumnDecision>& decisions) {
  ColumnMap columns;
  auto isNamed = [&named](std::size_t column) { return column < named.size() && named[column].has_value(); };
  for (std::size_t column = 0; column < tokens.size(); ++column) {
    if (isNamed(column) && *named[column] != ColumnRole::OwnCall &&
        columnOf(columns, *named[column]) == ColumnMap::kUnassigned) {
      take(columns, *named[column], static_cast<int>(column), tokens[column]);
    }
  }
  Fits fits{traits};
  for (std::size_t column = 0; column < tokens.size() && !fits.writtenTimes; ++column) {
    const TimeWriting writing = timeWriting(tokens[column]);
    fits.writtenTimes = writing == TimeWriting::Plain || (writing == TimeWriting::Dotted && fits.clockColumn(column));
  }
  for (std::size_t column = 0; column < tokens.size(); ++column) {
    if (isNamed(column)) continue;
    for (ColumnRole role : kRoles) {
      if (columnOf(columns, role) == ColumnMap::kUnassigned && fits(role, tokens[column], column)) {
        take(columns, role, static_cast<int>(column), tokens[column]);
        break;
      }
    }
  }
  // A callsign shaped like a locator (HL22) is the callsign when no other
  // token is one.
  for (std::size_t column = 0; column < tokens.size() && columns.callsignColumn == ColumnMap::kUnassigned; ++column) {
    const bool free = !isNamed(column) && std::none_of(std::begin(kRoles), std::end(kRoles), [&](ColumnRole role) {
      return columnOf(columns, role) == static_cast<int>(column);
    });
    if (free && isLocator(tokens[column]) && takesCallsign(tokens[column], true)) {
      columns.callsignColumn = static_cast<int>(column);
    }
  }
  for (int column = 0; column < static_cast<int>(tokens.size()); ++column) {
    for (ColumnRole role : kRoles) {
      if (columnOf(columns, role) == column) decisions.push_back({column, role});
    }
  }
  return columns;
}

}  // namespace quorvel
