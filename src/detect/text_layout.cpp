#include "detect/text_layout.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "base/ascii.h"
#include "detect/assign_column.h"
#include "detect/clock_columns.h"
#include "detect/header_row.h"
#include "detect/recognisers.h"
#include "detect/screen_line.h"
#include "detect/separated_fields.h"
#include "detect/space_tokens.h"

namespace quorvel {

namespace {

constexpr std::size_t kMostLines = 500;
constexpr std::size_t kLinesBelowTitle = 5;
constexpr std::size_t kLeastSeparatedFields = 3;
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

bool holdsCallsign(const std::vector<std::string_view>& fields) {
  return std::any_of(fields.begin(), fields.end(), [](std::string_view field) { return isCallsign(field); });
}

// Whether the row, cut at `separator`, has enough fields and one of them is
// a callsign.
bool separatedCallsignRow(std::string_view row, char separator) {
  const std::vector<std::string_view> fields = fieldsOf(row, separator);
  return fields.size() >= kLeastSeparatedFields && holdsCallsign(fields);
}

// Whether screening takes the line for a blank-separated data line on a
// token free of other separators: "VE3AAA,27/06/2025,00:00" is one token
// that isCallsign() admits for its "/", but a row of CSV.
bool blankDataLine(std::string_view line) {
  if (screenMarkers(line)) return false;  // a marker or a heading decides, as in screenLine()
  SpaceTokens tokens(line);
  for (std::string_view token; tokens.next(token);) {
    if (isCallsign(token) && token.find_first_of(kSeparators, 0, std::size(kSeparators)) == std::string_view::npos) {
      return true;
    }
  }
  return false;
}

char chooseSeparator(const std::vector<std::string>& lines) {
  const auto blankData =
      std::count_if(lines.begin(), lines.end(), [](const std::string& line) { return blankDataLine(line); });
  char best = ' ';
  std::ptrdiff_t bestRows = blankData;
  for (char separator : kSeparators) {
    const auto rows = std::count_if(lines.begin(), lines.end(), [separator](const std::string& line) {
      return separatedCallsignRow(line, separator);
    });
    // A table with "|" between its cells has blanks around them too, so
    // that its tokens pass for blank-separated ones: the "|" decides.
    const bool pipeTable = separator == '|' && best == ' ' && rows > 0 && rows == bestRows;
    if (rows > bestRows || pipeTable) best = separator, bestRows = rows;
  }
  return best;
}

ColumnMap columnsByShape(std::string_view line, char separator = ' ') {
  std::vector<ColumnDecision> decisions;
  return assignColumns(fieldsOf(line, separator), {}, {}, decisions);
}

bool holdsDateOrTime(std::string_view line) {
  const ColumnMap columns = columnsByShape(line);
  return columns.dateColumn != ColumnMap::kUnassigned || columns.timeColumn != ColumnMap::kUnassigned;
}

// A contact's line above a header row: it holds a date and a time, as a
// title ("2003 CQ WW Contest K7RAT") does not.
bool holdsDateAndTime(std::string_view line, char separator) {
  const ColumnMap columns = columnsByShape(line, separator);
  return columns.dateColumn != ColumnMap::kUnassigned && columns.timeColumn != ColumnMap::kUnassigned;
}

// Past title lines: a line holding neither date nor time is the first data
// line only when most data lines below it hold none either, judged from
// `leastBelow` lines or more (one is enough below a header, which has told
// the log's columns already).
std::size_t pastTitles(const std::vector<std::string>& lines, const std::vector<std::size_t>& data,
                       std::size_t leastBelow) {
  for (std::size_t first = 0; first + 1 < data.size(); ++first) {
    if (holdsDateOrTime(lines[data[first]])) return data[first];
    std::size_t below = 0, dated = 0;
    for (std::size_t i = first + 1; i < data.size() && below < kLinesBelowTitle; ++i, ++below) {
      dated += holdsDateOrTime(lines[data[i]]) ? 1 : 0;
    }
    if (below < leastBelow || 2 * dated <= below) return data[first];
  }
  return data.empty() ? 0 : data.back();
}

}  // namespace

std::vector<std::string_view> fieldsOf(std::string_view row, char separator) {
  std::vector<std::string_view> fields;
  std::string_view field;
  if (separator == ' ') {
    ColumnTokens tokens(row);
    while (tokens.next(field)) fields.push_back(field);
  } else {
    SeparatedFields separated(row, separator);
    while (separated.next(field)) fields.push_back(field);
  }
  return fields;
}

bool isSeparatedDataRow(std::string_view upperRow, char separator) {
  return holdsCallsign(fieldsOf(upperRow, separator));
}

TextLayout judgeTextLayout(std::string_view sample) {
  const std::vector<std::string> lines = linesOf(sample);
  TextLayout layout;
  layout.separator = chooseSeparator(lines);
  std::vector<std::size_t> data;
  std::vector<std::string> dataRows;  // their text, a row of CSV with the lines a quoted field runs over
  std::optional<std::size_t> header;
  std::string row;
  for (std::size_t i = 0, next = 0; i < lines.size(); i = next) {
    // A row of CSV runs on over the next lines while a quoted field is open.
    row = lines[i];
    for (next = i + 1; layout.separator != ' ' && next < lines.size() && row.size() < kMostRowBytes &&
                       SeparatedFields::endsInQuotes(row, layout.separator);
         ++next) {
      row.append("\n").append(lines[next]);
    }
    const bool isData =
        layout.separator == ' ' ? screenLine(row) == ScreenResult::Data : isSeparatedDataRow(row, layout.separator);
    if (isData) {
      data.push_back(i);
      dataRows.push_back(row);
    } else if ((data.empty() || (data.size() == 1 && !header && !holdsDateAndTime(lines[data[0]], layout.separator))) &&
               headerRoleCount(row, layout.separator) >= 2) {
      // A header above the data, or below a title line; not one repeated,
      // nor one below a contact.
      header = i;
      data.clear();
      dataRows.clear();
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
  std::vector<std::vector<std::string_view>> fields;
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (data[i] >= layout.firstDataLine) fields.push_back(fieldsOf(dataRows[i], layout.separator));
  }
  layout.clockColumns = clockColumns(fields);
  return layout;
}

}  // namespace quorvel
