#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "detect/assign_column.h"
#include "detect/column_map.h"
#include "detect/column_traits.h"
#include "detect/text_row.h"

namespace quorvel {

// The bytes of a text log's start judged for its layout.
inline constexpr std::size_t kTextSampleSize = 64 * 1024;

// Where a column stands in a log laid out in columns: from the first
// character of its values to one past the last.
struct ColumnSpan {
  std::size_t begin = 0, end = 0;
};

// How a text log lays out its contacts, judged from its first lines.
struct TextLayout {
  // What separates the fields of a data line: a blank (one or more, as
  // printed and hand-typed logs do), or a comma, semicolon, tab or "|"
  // (CSV and its kin, and wiki and Markdown tables, whose rows the CSV
  // rules cut).
  char separator = ' ';
  std::string headerRow;                   // the row naming the columns, upper-cased; empty for none
  std::size_t firstDataLine = 0;           // no line before this one (from 0) is the first data line
  bool firstDataFound = false;             // the sample holds it: the line at firstDataLine is the first data line
  std::vector<ColumnTraits> columnTraits;  // what each column holds over the sample's data rows
  // How many fields a whole row has: the header's, else the first data
  // row's. A line that many fields long is a row of its own.
  std::size_t fieldsOfARow = 0;
  // For a blank-separated log laid out in columns (a header standing over
  // them, or rows whose values begin, or end, at one place), where each
  // column of a whole row stands: a row short of a value places the
  // others by where they stand. Empty for any other log.
  std::vector<ColumnSpan> columnSpans;
};

// Judges the layout from `sample`, the start of a text log (kTextSampleSize
// bytes of it, or all of a shorter one), each of its rows told by
// rowKind(). A separator other than the blank is taken when more lines are
// data rows cut at it than between blanks. A header row is a heading row
// before the first data line, or after a title line that is followed by
// it. A data line holding neither a date nor a time, above data lines that
// mostly do, is a title; so are "key;value" lines.
TextLayout judgeTextLayout(std::string_view sample);

// The columns of a text log decided once, from its layout and its first
// data row.
struct ColumnPlan {
  ColumnMap columns;
  std::vector<ColumnDecision> decisions;  // in the order of their columns
  std::vector<std::string_view> fields;   // of the first data row, which the decisions quote
};

// Decides the columns of a log laid out as `layout` whose first data row
// is `row` (whose text the plan's fields view): the columns its header
// names over values they can name, the others by assignColumns(), each
// column's traits over the sample's rows weighed.
ColumnPlan planColumns(const TextLayout& layout, const CutTextRow& row);

// Whether `upperRow`, of a log laid out as `layout`, is a data row.
bool isDataRow(std::string_view upperRow, const TextLayout& layout);

}  // namespace quorvel
