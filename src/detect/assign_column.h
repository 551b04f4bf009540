#pragma once

#include <optional>
#include <string_view>

#include "detect/column_map.h"

namespace quorvel {

// The value a column of a column text log is taken to hold.
enum class ColumnRole { Date, Time, Band, Mode, Callsign };

// The word for `role` in the "Using column %d (%s) as %s" message.
std::string_view columnRoleName(ColumnRole role);

// Decides what the token of the first data line standing in column
// `currentColumn` holds, trying in order: date (exactly 6 characters, or
// more with a "-" or "/"), time (4 or more digits), band (isBand), mode
// (isMode), callsign (isCallsign). A role already given to an earlier column
// is passed over. Records the column in `columns` and returns the role, or
// nothing when no free role fits.
std::optional<ColumnRole> assignColumn(ColumnMap& columns, std::string_view token, int currentColumn);

}  // namespace quorvel
