#include "detect/assign_column.h"

#include <algorithm>

#include "base/ascii.h"
#include "detect/recognisers.h"

namespace quorvel {

namespace {

constexpr std::size_t kShortDateLength = 6;  // YYMMDD, DDMMYY and the like
constexpr std::size_t kMinTimeLength = 4;

bool looksLikeDate(std::string_view token) {
  if (token.size() == kShortDateLength) return true;
  return token.size() > kShortDateLength && token.find_first_of("-/") != std::string_view::npos;
}

bool looksLikeTime(std::string_view token) {
  return token.size() >= kMinTimeLength &&
         std::all_of(token.begin(), token.end(), [](char c) { return isAsciiDigit(static_cast<unsigned char>(c)); });
}

// The rules in the order they are tried on each token.
struct Rule {
  int ColumnMap::*field;
  bool (*fits)(std::string_view token);
  ColumnRole role;
};

constexpr Rule kRules[] = {
    {&ColumnMap::dateColumn, looksLikeDate, ColumnRole::Date},
    {&ColumnMap::timeColumn, looksLikeTime, ColumnRole::Time},
    {&ColumnMap::bandColumn, isBand, ColumnRole::Band},
    {&ColumnMap::modeColumn, isMode, ColumnRole::Mode},
    {&ColumnMap::callsignColumn, isCallsign, ColumnRole::Callsign},
};

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

std::optional<ColumnRole> assignColumn(ColumnMap& columns, std::string_view token, int currentColumn) {
  for (const Rule& rule : kRules) {
    if (columns.*rule.field == ColumnMap::kUnassigned && rule.fits(token)) {
      columns.*rule.field = currentColumn;
      return rule.role;
    }
  }
  return std::nullopt;
}

}  // namespace quorvel
