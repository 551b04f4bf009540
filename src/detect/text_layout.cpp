#include "detect/text_layout.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "base/ascii.h"
#include "detect/header_row.h"
#include "detect/row_kind.h"
#include "detect/text_row.h"

namespace quorvel {

namespace {

constexpr std::size_t kMostLines = 500;
constexpr std::size_t kLinesBelowTitle = 5;
constexpr char kSeparators[] = {'\t', ';', ',', '|'};

// The whole lines of `sample`, upper-cased, without their line ends.
std::vector<std::string> linesOf(std::string_view sample) {
  std::vector<std::string> lines;
  const bool cut = sample.size() >= kTextSampleSize;
  while (!sample.empty() && lines.size() < kMostLines) {
    std::size_t end = sample.find('\n');
    if (end == std::string_view::npos && cut) break;
    std::string_view line = sample.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back();
    upperCaseInto(line, lines.back());
    sample.remove_prefix(end == std::string_view::npos ? sample.size() : end + 1);
  }
  return lines;
}

RowKind kindOf(std::string_view row, char separator) {
  std::vector<RowField> fields;
  cutRow(row, separator, fields);
  return rowKind(row, fields, separator);
}

char chooseSeparator(const std::vector<std::string>& lines) {
  auto dataRows = [&lines](char separator) {
    return std::count_if(lines.begin(), lines.end(),
                         [separator](const std::string& line) { return kindOf(line, separator) == RowKind::Data; });
  };
  char best = ' ';
  std::ptrdiff_t bestRows = dataRows(' ');
  for (char separator : kSeparators) {
    const std::ptrdiff_t rows = dataRows(separator);
    // A table with "|" between its cells has blanks around them too, so
    // that its tokens pass for blank-separated ones: the "|" decides.
    const bool pipeTable = separator == '|' && best == ' ' && rows > 0 && rows == bestRows;
    if (rows > bestRows || pipeTable) best = separator, bestRows = rows;
  }
  return best;
}

ColumnMap columnsByShape(std::string_view line, char separator = ' ') {
  std::vector<ColumnDecision> decisions;
  return assignColumns(fieldTexts(line, separator), {}, {}, decisions);
}

// A line holding a date or a time could be a data line; a title holds
// neither.
bool couldBeDataLine(std::string_view line) {
  const ColumnMap columns = columnsByShape(line);
  return columns.dateColumn != ColumnMap::kUnassigned || columns.timeColumn != ColumnMap::kUnassigned;
}

// A contact's line above a header row: it holds a date and a time, as a
// title ("2003 CQ WW Contest K7RAT") does not.
bool isContactLine(std::string_view line, char separator) {
  const ColumnMap columns = columnsByShape(line, separator);
  return columns.dateColumn != ColumnMap::kUnassigned && columns.timeColumn != ColumnMap::kUnassigned;
}

// The roles a line's words take, by column.
std::array<int, 5> rolesOf(std::string_view line) {
  const ColumnMap columns = columnsByShape(line);
  return {columns.dateColumn, columns.timeColumn, columns.bandColumn, columns.modeColumn, columns.callsignColumn};
}

// How many roles `roles` gives a column.
std::ptrdiff_t rolesTaken(const std::array<int, 5>& roles) {
  return std::count_if(roles.begin(), roles.end(), [](int column) { return column != ColumnMap::kUnassigned; });
}

// Whether the data line `data[first]` is a title over rows that agree with
// one another and not with it: most of the lines below it give their words
// one set of roles, and it fewer ("2003 CQ WW Contest K7RAT" has a time and
// a callsign where the rows below have a date, a time, a band, a mode and a
// callsign). A first row with more roles than the rows below (a paper log
// that writes the date on a day's first contact only) is a contact.
bool titleOverRows(const std::vector<std::string>& lines, const std::vector<std::size_t>& data, std::size_t first) {
  std::vector<std::array<int, 5>> below;
  for (std::size_t i = first + 1; i < data.size() && below.size() < kLinesBelowTitle; ++i) {
    below.push_back(rolesOf(lines[data[i]]));
  }
  for (const std::array<int, 5>& roles : below) {
    if (2 * static_cast<std::size_t>(std::count(below.begin(), below.end(), roles)) > below.size()) {
      return rolesTaken(rolesOf(lines[data[first]])) < rolesTaken(roles);
    }
  }
  return false;
}

// Past title lines: a line holding neither date nor time is the first data
// line only when most data lines below it hold none either, judged from
// `leastBelow` lines or more (one is enough below a header, which has told
// the log's columns already); one holding a date or a time is, unless it
// is a title over rows that agree with one another (titleOverRows).
std::size_t pastTitles(const std::vector<std::string>& lines, const std::vector<std::size_t>& data,
                       std::size_t leastBelow) {
  for (std::size_t first = 0; first + 1 < data.size(); ++first) {
    if (couldBeDataLine(lines[data[first]])) {
      if (titleOverRows(lines, data, first)) continue;
      return data[first];
    }
    std::size_t below = 0, dated = 0;
    for (std::size_t i = first + 1; i < data.size() && below < kLinesBelowTitle; ++i, ++below) {
      dated += couldBeDataLine(lines[data[i]]) ? 1 : 0;
    }
    if (below < leastBelow || 2 * dated <= below) return data[first];
  }
  return data.empty() ? 0 : data.back();
}

// The place most of `places` share, and how many share it.
std::pair<std::size_t, std::size_t> commonPlace(std::vector<std::size_t> places) {
  std::sort(places.begin(), places.end());
  std::pair<std::size_t, std::size_t> common{0, 0};
  for (std::size_t i = 0, j = 0; i < places.size(); i = j) {
    while (j < places.size() && places[j] == places[i]) ++j;
    if (j - i > common.second) common = {places[i], j - i};
  }
  return common;
}

// Where the columns of the whole rows of a blank-separated log stand, when
// each begins, or ends, at one place in three rows of four or more (a value
// wider than its column moves the rest of its row); `named` says whether a
// header stands over them, which one row is then enough to show.
std::vector<ColumnSpan> columnSpans(const std::vector<std::vector<RowField>>& rows, bool named) {
  if (rows.empty() || (rows.size() < 2 && !named)) return {};
  const std::size_t width = rows.front().size();
  std::vector<ColumnSpan> spans(width);
  std::vector<std::size_t> begins, ends;
  for (std::size_t k = 0; k < width; ++k) {
    begins.clear(), ends.clear();
    for (const std::vector<RowField>& row : rows) begins.push_back(row[k].begin), ends.push_back(row[k].end());
    const auto begin = commonPlace(begins), end = commonPlace(ends);
    const bool byBegin = begin.second >= end.second;
    if (4 * std::max(begin.second, end.second) < 3 * rows.size()) return {};
    spans[k] = {SIZE_MAX, 0};
    for (const std::vector<RowField>& row : rows) {
      if (byBegin ? row[k].begin != begin.first : row[k].end() != end.first) continue;
      spans[k] = {std::min(spans[k].begin, row[k].begin), std::max(spans[k].end, row[k].end())};
    }
  }
  return spans;
}

// The traits, the size of a whole row and, for a log laid out in columns,
// the columns' places, from the data rows at and after the first.
void judgeColumns(const std::vector<std::string>& rows, TextLayout& layout) {
  std::vector<std::vector<std::string_view>> values;
  std::vector<std::vector<RowField>> whole;  // rows as long as the first
  std::vector<RowField> fields;
  for (const std::string& row : rows) {
    cutRow(row, layout.separator, fields);
    values.push_back(fieldTexts(row, layout.separator));
    if (whole.empty() || fields.size() == whole.front().size()) whole.push_back(fields);
  }
  layout.columnTraits = columnTraits(values);
  if (layout.fieldsOfARow == 0) layout.fieldsOfARow = values.front().size();
  if (layout.separator != ' ') return;
  const bool named =
      !layout.headerRow.empty() && namedRoleCount(namesOfColumns(layout.headerRow, ' ', rows.front())) >= 2;
  layout.columnSpans = columnSpans(whole, named);
}

}  // namespace

TextLayout judgeTextLayout(std::string_view sample) {
  const std::vector<std::string> lines = linesOf(sample);
  TextLayout layout;
  layout.separator = chooseSeparator(lines);
  std::vector<std::size_t> data;
  std::vector<std::string> dataRows;  // their text, a row of CSV with the lines a quoted field runs over
  std::optional<std::size_t> header;
  std::string row;
  std::vector<RowField> fields;
  for (std::size_t i = 0, next = 0; i < lines.size(); i = next) {
    row = lines[i];
    for (next = i + 1;
         layout.separator != ' ' && next < lines.size() &&
         rowEnd(row, lines[next], layout.separator, std::max<std::size_t>(layout.fieldsOfARow, 2)) == RowEnd::GoesOn;
         ++next) {
      row.append("\n").append(lines[next]);
    }
    cutRow(row, layout.separator, fields);
    const RowKind kind = rowKind(row, fields, layout.separator);
    if (kind == RowKind::Data) {
      data.push_back(i);
      dataRows.push_back(row);
      if (layout.fieldsOfARow == 0) layout.fieldsOfARow = fields.size();
    } else if (kind == RowKind::Heading &&
               (data.empty() || (data.size() == 1 && !header && !isContactLine(lines[data[0]], layout.separator))) &&
               headerRoleCount(row, layout.separator) >= 2) {
      // A header above the data, or below a title line; not one repeated,
      // nor one below a contact.
      header = i;
      data.clear();
      dataRows.clear();
      layout.fieldsOfARow = fields.size();
    }
  }
  if (header) layout.headerRow = lines[*header];
  // A header with nothing below it (an empty export) leaves the lines above
  // it titles: no contact is read from them.
  if (data.empty()) {
    if (header) layout.firstDataLine = *header + 1;
    return layout;
  }
  // Titles stand above a header row or below it.
  layout.firstDataLine = layout.separator != ' ' ? data.front() : pastTitles(lines, data, header ? 1 : 2);
  layout.firstDataFound = true;
  const auto first = std::find(data.begin(), data.end(), layout.firstDataLine) - data.begin();
  if (!header) layout.fieldsOfARow = 0;
  judgeColumns(std::vector<std::string>(dataRows.begin() + first, dataRows.end()), layout);
  return layout;
}

ColumnPlan planColumns(const TextLayout& layout, const CutTextRow& row) {
  ColumnPlan plan;
  plan.fields.reserve(row.fields.size());
  for (const RowField& field : row.fields) plan.fields.push_back(field.text);
  std::vector<std::optional<NamedRole>> names;
  if (!layout.headerRow.empty()) names = namesOfColumns(layout.headerRow, layout.separator, row.upper);
  plan.columns = assignColumns(plan.fields, rolesOfColumns(names), layout.columnTraits, plan.decisions);
  // Read without a message of its own: it says which MFSK mode a contact was.
  plan.columns.submodeColumn = submodeColumnOf(names);
  if (const auto date = static_cast<std::size_t>(plan.columns.dateColumn); date < layout.columnTraits.size()) {
    plan.columns.dateOrder = layout.columnTraits[date].dateOrder;
  }
  return plan;
}

bool isDataRow(std::string_view upperRow, const TextLayout& layout) {
  return kindOf(upperRow, layout.separator) == RowKind::Data;
}

}  // namespace quorvel
