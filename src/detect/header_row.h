#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "detect/assign_column.h"
#include "detect/column_map.h"
#include "detect/column_names.h"

namespace quorvel {

// What a header row names, column by column: for a log whose fields are
// separated by `separator` (a comma, semicolon or tab) field by field; for
// a blank-separated one, each name (of one word or a few: "Call worked")
// given to the token of `dataRow`, the first data row, that stands below it
// most, as printed tables align them. Columns it names nothing are empty.
std::vector<std::optional<NamedRole>> namesOfColumns(std::string_view headerRow, char separator,
                                                     std::string_view dataRow);

// How many different roles `names` holds.
int namedRoleCount(const std::vector<std::optional<NamedRole>>& names);

// How many different roles the row names, whatever the data rows below it:
// a row naming two or more is taken for the header row.
int headerRoleCount(std::string_view row, char separator);

// The roles the named columns are read as: the band from the column named
// a band, else from the one named a frequency; the mode from the one named
// a mode, else from the one named a submode; each role from its first
// column.
std::vector<std::optional<ColumnRole>> rolesOfColumns(const std::vector<std::optional<NamedRole>>& names);

// The first column named a submode when another is named a mode (the mode
// is read from that one); else ColumnMap::kUnassigned.
int submodeColumnOf(const std::vector<std::optional<NamedRole>>& names);

}  // namespace quorvel
