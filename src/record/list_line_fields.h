#pragma once

#include <optional>
#include <string_view>

#include "record/record_line.h"

namespace quorvel {

// The values of one list line, read back by the layout that wrote it.
struct ListLineFields {
  std::string_view date;
  std::string_view time;
  std::string_view band;
  std::string_view mode;
  std::string_view callsign;
  std::string_view comment;  // what follows the callsign, if anything
};

// Reads `line` (without its line end) as a record line of `layout`: each
// field right-aligned in its width, or wider and pushing the rest right.
// A band glued to a mode four or more characters long is parted where the
// band's field ends, or, for a band number wider than its field, where the
// number (and a unit after it, M, CM, MM or G) ends and leaves a mode of
// four or more. Text after the callsign is a comment whatever the layout:
// lines of a run with -comment stay in the bucket files of later runs.
// Nothing when the line was not written in this layout.
std::optional<ListLineFields> splitListLine(std::string_view line, const RecordLayout& layout);

// The callsign of a line that splitListLine cannot read: its first word
// that starts at 1-based `column` or after it, as the sort stage sees it.
std::string_view callsignAtColumn(std::string_view line, int column);

}  // namespace quorvel
