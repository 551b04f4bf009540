#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// The bytes of a text log's start judged for its layout.
inline constexpr std::size_t kTextSampleSize = 64 * 1024;

// How a text log lays out its contacts, judged from its first lines.
struct TextLayout {
  // What separates the fields of a data line: a blank (one or more, as
  // printed and hand-typed logs do), or a comma, semicolon, tab or "|"
  // (CSV and its kin, and wiki and Markdown tables, whose rows the CSV
  // rules cut).
  char separator = ' ';
  std::string headerRow;           // the row naming the columns, upper-cased; empty for none
  std::size_t firstDataLine = 0;   // no line before this one (from 0) is the first data line
  bool firstDataFound = false;     // the sample holds it: the line at firstDataLine is the first data line
  std::vector<bool> clockColumns;  // the columns that write their times with a dot (see clockColumns())
};

// Judges the layout from `sample`, the start of a text log (kTextSampleSize
// bytes of it, or all of a shorter one). A separator other than the blank
// is taken when more lines hold a callsign as a field of their own when cut
// at it than lines that screening takes as blank-separated data. A header
// row is a row naming two or more roles (see roleNamed) before the first
// data line, or after a title line that is followed by it. A line holding
// neither a date nor a time, above data lines that mostly do, is a title.
TextLayout judgeTextLayout(std::string_view sample);

// The fields of a row as `separator` cuts them: blank-separated tokens for
// the blank, CSV fields for the others.
std::vector<std::string_view> fieldsOf(std::string_view row, char separator);

// Whether an upper-cased row of a log whose fields are separated by
// `separator` (not the blank) is a data row: a field holds a callsign.
bool isSeparatedDataRow(std::string_view upperRow, char separator);

}  // namespace quorvel
