#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "base/bytes.h"

namespace quorvel {

// The family of record line layouts a log is written in.
enum class LayoutSet {
  Wide,             // ADIF without -comment, and Cabrillo: 8-character band field
  WideWithComment,  // ADIF with -comment: as Wide, the comment after the callsign
  Narrow,           // column text logs: 3-character band field
};

// How much of a contact's meaning its bucket line carries: none; what two
// lines alike in their text may still differ in, for -unique; or all the
// lookup page shows.
enum class Meanings : unsigned char { None, ForRepeats, ForPage };

// The values of one contact, already prepared by its reader (cut, PSK31
// shortened). Empty values print as blanks to their field's width.
struct RecordFields {
  std::string_view date;
  std::string_view time;
  std::string_view band;
  std::string_view mode;
  std::string_view callsign;
  std::string_view comment;  // written by WideWithComment only; read back, what follows the callsign
};

// `call` with each slashed zero in it (Ø, ø: see slashedZeroAt) written as
// the digit zero, in `room` where it holds one, so that the contact is
// filed where the station's real call sorts; `call` itself where it holds
// none.
std::string_view zeroedCallsign(std::string_view call, std::string& room);

// What stands before an ADIF or ADX comment in a record line (-comment), so
// that a reader of the list tells it from the callsign's neighbours.
inline constexpr std::string_view kCommentMark = "** ";

// The widths of the fields that every layout has; the band's is the
// layout's own.
inline constexpr std::size_t kDateWidth = 9;
inline constexpr std::size_t kTimeWidth = 4;
inline constexpr std::size_t kModeWidth = 4;

// One record line layout of a family: which fields it prints and how wide.
// Every field is right-aligned in at least its width and never cut, so a
// longer value pushes the rest of the line to the right.
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
  // How much of each contact's meaning its bucket line carries beside its
  // callsign's place (see bucket_line.h).
  Meanings meanings = Meanings::None;

  // The 1-based column at which the callsign starts whenever no field is
  // wider than its width; the sort stage compares lines from there.
  int sortColumn() const;
  bool operator==(const RecordLayout&) const = default;
};

// The fields a run's record lines leave out: the date under -nodate, the
// time under -notime.
struct LeftOut {
  bool date = false;
  bool time = false;
};

// The layout of `set`, without the fields `leftOut` names.
RecordLayout chooseLayout(LayoutSet set, LeftOut leftOut = {});

// The length of the record line of `fields` in `layout`, new line included.
std::size_t recordLineSize(const RecordLayout& layout, const RecordFields& fields);

// Where the callsign of `fields` starts in its record line, 0-based.
std::size_t callsignOffset(const RecordLayout& layout, const RecordFields& fields);

// Room that formatRecordLine may use beyond the line it writes: it lays
// down the blanks of a field in one piece this wide.
inline constexpr std::size_t kRecordLineSlack = kBlankPiece;

// Writes the record line of `fields` at `out`, which has room for its
// recordLineSize() and kRecordLineSlack bytes more. The values are data: a
// "%" in them is written as it stands.
void formatRecordLine(const RecordLayout& layout, const RecordFields& fields, char* out);

// Reads `line` (without its line end) as a record line of `layout`: each
// field right-aligned in its width, or wider and pushing the rest right.
// A band glued to a mode four or more characters long is parted where the
// band's field ends, or, for a band number wider than its field, where the
// number (and a unit after it, M, CM, MM or G) ends and leaves a mode of
// four or more. Text after the callsign is a comment whatever the layout:
// lines of a run with -comment stay in the bucket files of later runs.
// Nothing when the line was not written in this layout.
std::optional<RecordFields> parseRecordLine(std::string_view line, const RecordLayout& layout);

// The callsign of a line that parseRecordLine cannot read: its first word
// that starts at 1-based `column` or after it, as the sort stage sees it.
std::string_view callsignAtColumn(std::string_view line, int column);

// Where the callsign of `line`, a line an earlier run left in a bucket,
// starts (0-based; the line's size when it has none): as parseRecordLine
// reads it, else as callsignAtColumn finds it at the layout's sort column.
std::size_t callsignStart(std::string_view line, const RecordLayout& layout);

}  // namespace quorvel
