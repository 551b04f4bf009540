#include "detect/assign_column.h"

#include <algorithm>

#include "base/ascii.h"
#include "detect/field_shapes.h"
#include "detect/recognisers.h"

namespace quorvel {

namespace {

constexpr std::size_t kShortDateLength = 6;  // YYMMDD, DDMMYY and the like
constexpr std::size_t kMinTimeLength = 4;

// Callsigns, locators and mode names hold digits and letters that the
// looser date and band shapes would take.
bool namesSomethingElse(std::string_view token) {
  return looksLikeCallsign(token) || isLocator(token) || isModeName(token);
}

bool looksLikeDate(std::string_view token) {
  if (isLongDate(token)) return true;
  if (namesSomethingElse(token) || isFrequency(token)) return false;
  if (token.size() == kShortDateLength) return true;
  return token.size() > kShortDateLength && token.find_first_of("-/") != std::string_view::npos;
}

bool allDigitTime(std::string_view token) {
  return token.size() >= kMinTimeLength && !isLongDate(token) &&
         std::all_of(token.begin(), token.end(), [](char c) { return isAsciiDigit(static_cast<unsigned char>(c)); });
}

bool looksLikeBand(std::string_view token) {
  if (gluedBandLength(token) > 0) return true;
  return (isBand(token) || isFrequency(token)) && !namesSomethingElse(token) &&
         token.find(':') == std::string_view::npos;
}

// A locator that no callsign could be (FN31; GB50TG could be either), a mode
// name and a band glued to its mode pass isCallsign() too; a locator is
// taken only `likeALocator`.
bool takesCallsign(std::string_view token, bool likeALocator = false) {
  return isCallsign(token) && !isModeName(token) && gluedBandLength(token) == 0 &&
         (likeALocator || !isLocator(token) || looksLikeCallsign(token));
}

struct Fits {
  bool colonTimes;  // the line writes its time with colons: bare digits are a number
  bool operator()(ColumnRole role, std::string_view token) const {
    switch (role) {
      case ColumnRole::Date: return looksLikeDate(token);
      case ColumnRole::Time: return isColonTime(token) || (!colonTimes && allDigitTime(token));
      case ColumnRole::Band: return looksLikeBand(token);
      case ColumnRole::Mode: return isModeName(token);
      case ColumnRole::Callsign: return takesCallsign(token);
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
    case ColumnRole::Callsign: break;
  }
  return columns.callsignColumn;
}

// Gives `role` the column, and a band written with its mode the mode too.
void take(ColumnMap& columns, ColumnRole role, int column, std::string_view token) {
  columnOf(columns, role) = column;
  if (role == ColumnRole::Band && columns.modeColumn == ColumnMap::kUnassigned && gluedBandLength(token) > 0) {
    columns.modeColumn = column;
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
  }
  return "";
}

ColumnMap assignColumns(const std::vector<std::string_view>& tokens,
                        const std::vector<std::optional<ColumnRole>>& named, std::vector<ColumnDecision>& decisions) {
  ColumnMap columns;
  auto isNamed = [&named](std::size_t column) { return column < named.size() && named[column].has_value(); };
  for (std::size_t column = 0; column < tokens.size(); ++column) {
    if (isNamed(column) && columnOf(columns, *named[column]) == ColumnMap::kUnassigned) {
      take(columns, *named[column], static_cast<int>(column), tokens[column]);
    }
  }
  const Fits fits{std::any_of(tokens.begin(), tokens.end(), [](std::string_view token) { return isColonTime(token); })};
  for (std::size_t column = 0; column < tokens.size(); ++column) {
    if (isNamed(column)) continue;
    for (ColumnRole role : kRoles) {
      if (columnOf(columns, role) == ColumnMap::kUnassigned && fits(role, tokens[column])) {
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
