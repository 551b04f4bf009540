#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "detect/separated_fields.h"
#include "detect/space_tokens.h"

namespace quorvel {

// A row of a text log: a line, or for CSV and its kin the lines a quoted
// field runs over, cut into its fields. This is the one place that cuts
// rows and joins the lines of one.

// One field of a row, and where it begins in the row.
struct RowField {
  std::string_view text;
  std::size_t begin = 0;
  std::size_t end() const { return begin + text.size(); }
};

// The fields of `row` (upper-cased, without its line end) as `separator`
// cuts it, at most `most` of them: for the blank, its words, one or more
// blanks between them, AM or PM after a time joined to it (ColumnTokens);
// for a comma, semicolon, tab or "|", its CSV fields, an empty one too,
// blanks around each gone and a quoted one as it stands between its
// quotes (SeparatedFields). Fills `fields`, emptied first.
// The same for a blank-separated row and for a row of CSV and its kin,
// inline each: the readers cut every row of a log with them.
inline void cutBlankRow(std::string_view row, std::vector<RowField>& fields, std::size_t most = SIZE_MAX) {
  fields.clear();
  ColumnTokens tokens(row);
  for (std::string_view field; fields.size() < most && tokens.next(field);) {
    fields.push_back({field, static_cast<std::size_t>(field.data() - row.data())});
  }
}
inline void cutSeparatedRow(std::string_view row, char separator, std::vector<RowField>& fields,
                            std::size_t most = SIZE_MAX) {
  fields.clear();
  SeparatedFields separated(row, separator);
  for (std::string_view field; fields.size() < most && separated.next(field);) {
    fields.push_back({field, static_cast<std::size_t>(field.data() - row.data())});
  }
}
inline void cutRow(std::string_view row, char separator, std::vector<RowField>& fields, std::size_t most = SIZE_MAX) {
  if (separator == ' ') {
    cutBlankRow(row, fields, most);
  } else {
    cutSeparatedRow(row, separator, fields, most);
  }
}

// A row upper-cased and cut into its fields once: screening judges its
// kind from those fields, the column plan quotes them and the body takes
// the row's values from them. The fields view `upper`, so the row is
// never copied; cut() cuts it again once `upper` has changed.
struct CutTextRow {
  std::string upper;
  std::vector<RowField> fields;

  CutTextRow() = default;
  CutTextRow(const CutTextRow&) = delete;
  CutTextRow& operator=(const CutTextRow&) = delete;
  void cut(char separator) { cutRow(upper, separator, fields); }
};

// The texts of `row`'s fields, as cutRow() cuts them.
std::vector<std::string_view> fieldTexts(std::string_view row, char separator);

// How a row of CSV goes on at the line after it.
enum class RowEnd {
  Whole,       // no quoted field is open: the row ends with its line
  GoesOn,      // a quoted field is open: the next line belongs to the row
  StrayQuote,  // a quote is open, but the next line is a row of its own
};

// How `row`, cut at `separator` (not the blank), goes on at `next`, the
// line after it (upper-cased): while a quoted field is open, the next line
// belongs to it, unless the row has grown to kMostRowBytes, or `next`
// closes no row of `fieldsOfARow` fields and is a whole row of its own:
// that many fields or more (more than one), a callsign among them. The
// quote that opened the field was then a stray character, which the row
// reads as such.
RowEnd rowEnd(std::string_view row, std::string_view next, char separator, std::size_t fieldsOfARow);

}  // namespace quorvel
