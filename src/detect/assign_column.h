#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "detect/column_map.h"
#include "detect/column_traits.h"

namespace quorvel {

// The value a column of a column text log is taken to hold.
enum class ColumnRole {
  Date,
  Time,
  Band,
  Mode,
  Callsign,
  OwnCall,  // the operator's own call, which a header may name: read for nothing
};

// The word for `role` in the "Using column %d (%s) as %s" message.
std::string_view columnRoleName(ColumnRole role);

// One decision on a column, in the "Using column" message's terms.
struct ColumnDecision {
  int column;
  ColumnRole role;
};

// Decides the columns of a column text log from `tokens`, the upper-cased
// fields of its first data line, and `named`, the role its header row
// names for each column (shorter, or empty, where it names none). Named
// columns are taken as named. Each other role is given, token by token from
// the left, to the first token that fits it, trying in order date (a date
// in any notation readDate() reads), time (a time readTime() reads: one
// written with a colon, AM or PM or a zone always; bare digits, 1815, only
// when no token of the line is such a time, else they are a number; one
// written with a dot, 18.05, only in a column of clock times, else it is
// a frequency), band (isBand, a frequency, or a band and mode written as
// one token, which gives the mode too; never in a column of reports or of
// serial numbers), mode (isModeName), callsign (isCallsign; never in the
// column of the operator's own call). `traits` tells what each column
// holds over the log's rows (see ColumnTraits); empty, it tells nothing. A
// date and a time in one token (2025-06-27T18:05:00Z) give both, where no
// other column has the other. A token shaped like a callsign or a
// locator, or a mode name, is never a band; a locator-shaped token (HL22)
// is the callsign only when no other token is one. A time's AM or PM
// comes as part of its token (see ColumnTokens). Returns the map and adds
// the decisions to `decisions` in the order of their columns.
ColumnMap assignColumns(const std::vector<std::string_view>& tokens,
                        const std::vector<std::optional<ColumnRole>>& named, const std::vector<ColumnTraits>& traits,
                        std::vector<ColumnDecision>& decisions);

}  // namespace quorvel
