#pragma once

#include <cstddef>
#include <string>

#include "quorvel/record_line.h"
#include "quorvel/run_options.h"

namespace quorvel {

// One record-line layout: which fields it prints and how wide. Every field is
// right-aligned in at least its width and never cut, so a longer value pushes
// the rest of the line to the right.
//
//   date(9) ' ' time(4) ' ' band(8 or 3) mode(4) ' ' callsign [' ' comment]
//
// -nodate drops "date ", -notime drops "time ". Band and mode stand side by
// side; the mode's own right alignment usually supplies the gap.
struct RecordLayout {
  bool withDate = true;
  bool withTime = true;
  bool withComment = false;
  int bandWidth = 8;

  // The 1-based column at which the callsign starts whenever no field is
  // wider than its width; the sort stage compares lines from there.
  int sortColumn() const;
};

// The layout of `set` under the -nodate and -notime switches of `options`.
RecordLayout chooseLayout(LayoutSet set, const RunOptions& options);

// Room that writeRecordLine may use beyond the line it writes: it lays
// down the blanks of a field in one piece this wide.
inline constexpr std::size_t kRecordLineSlack = 16;

// The length of the record line of `fields` in `layout`, new line included.
std::size_t recordLineSize(const RecordLayout& layout, const RecordFields& fields);

// Writes the record line of `fields` at `out`, which has room for its
// recordLineSize() and kRecordLineSlack bytes more.
void writeRecordLine(const RecordLayout& layout, const RecordFields& fields, char* out);

// Replaces `line` with the record line of `fields` in `layout`, new line
// included. The values are data: a "%" in them is written as it stands.
void formatRecordLine(const RecordLayout& layout, const RecordFields& fields, std::string& line);

}  // namespace quorvel
