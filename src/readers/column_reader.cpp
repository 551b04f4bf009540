#include "readers/column_reader.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "base/ascii.h"
#include "base/visible_text.h"
#include "detect/assign_column.h"
#include "detect/header_row.h"
#include "detect/recognisers.h"
#include "detect/screen_line.h"
#include "detect/space_tokens.h"
#include "readers/column_values.h"
#include "readers/separated_body.h"
#include "record/console_texts.h"

namespace quorvel {

namespace {

// The data lines of a column text log, once its columns are known: each
// line that screening accepts gives a record line. Nothing carries from line
// to line.
class ColumnBody : public IndependentLines<ColumnBody> {
 public:
  ColumnBody() = default;
  ColumnBody(RecordLayout layout, ColumnMap columns, int lastColumn)
      : layout_(layout), columns_(columns), lastColumn_(lastColumn) {}

  void readLine(const Line& line, ContactBatch& batch) {
    upperCaseInto(line.text, upper_);
    // Headings, page breaks and blank lines between the data are skipped;
    // a marker of another log kind on a later line changes nothing.
    if (screenAndSplit(upper_)) writeRecord(batch);
  }
  // Keeps the record line of the upper-cased first data line.
  void readFirstLine(std::string_view upperLine, ContactBatch& batch) {
    splitLine(upperLine);
    writeRecord(batch);
  }

 private:
  bool screenAndSplit(std::string_view upperLine);
  void splitLine(std::string_view upperLine);
  void writeRecord(ContactBatch& batch);

  RecordLayout layout_;
  ColumnMap columns_;
  int lastColumn_ = -1;  // the highest column any value is taken from
  std::string upper_;
  std::vector<std::string_view> tokens_;
  ShownDateTime shown_ = {};
};

// Screens a line as screenLine() does and splits it, in one pass over its
// tokens: the columns the record takes are kept, and a callsign looked for
// among all of them until one is found.
bool ColumnBody::screenAndSplit(std::string_view upperLine) {
  std::optional<ScreenResult> marked = screenMarkers(upperLine);
  bool decided = marked.has_value();
  bool accepted = marked.has_value() && *marked != ScreenResult::Reject;
  if (decided && !accepted) return false;
  tokens_.clear();
  ColumnTokens tokens(upperLine);
  std::string_view token;
  while ((!decided || static_cast<int>(tokens_.size()) <= lastColumn_) && tokens.next(token)) {
    if (static_cast<int>(tokens_.size()) <= lastColumn_) tokens_.push_back(token);
    if (!decided && isCallsign(token)) decided = accepted = true;
  }
  return accepted;
}

void ColumnBody::splitLine(std::string_view upperLine) {
  tokens_.clear();
  ColumnTokens tokens(upperLine);
  std::string_view token;
  while (static_cast<int>(tokens_.size()) <= lastColumn_ && tokens.next(token)) tokens_.push_back(token);
}

void ColumnBody::writeRecord(ContactBatch& batch) {
  RecordFields fields = columnRecord(columns_, tokens_, shown_);
  batch.add(fields.callsign.empty() ? '\0' : fields.callsign.front(), layout_, fields);
}

// Decides the columns from the fields of the first data line and the header
// row, reporting each decision.
ColumnMap assignColumns(std::string_view upperLine, const TextLayout& layout, const Console& console) {
  const std::vector<std::string_view> fields = fieldsOf(upperLine, layout.separator);
  std::vector<std::optional<NamedRole>> names;
  if (!layout.headerRow.empty()) names = namesOfColumns(layout.headerRow, layout.separator, upperLine);
  std::vector<ColumnDecision> decisions;
  ColumnMap columns = assignColumns(fields, rolesOfColumns(names), layout.clockColumns, decisions);
  // Read without a message of its own: it says which MFSK mode a contact was.
  columns.submodeColumn = submodeColumnOf(names);
  for (const ColumnDecision& decision : decisions) {
    std::string message = "Using column " + std::to_string(decision.column) + " (";
    message.append(visibleText(fields[static_cast<std::size_t>(decision.column)])).append(") as ");
    message.append(columnRoleName(decision.role)).append("\n");
    printMessage(console, message);
  }
  return columns;
}

// The highest column any value is taken from.
int lastColumnOf(const ColumnMap& columns) {
  return std::max({columns.dateColumn, columns.timeColumn, columns.bandColumn, columns.modeColumn,
                   columns.callsignColumn, columns.submodeColumn});
}

// Reads the first data line into `batch` and the rest of the log into
// `sink` with `body`.
template <LogBody Body>
ReadOutcome readRest(LineReader& input, Body& body, ContactBatch& batch, const ReaderSetup& setup, RecordSink& sink) {
  long count = 0;
  if (BodyEnd first = deliverBatch(batch, setup.console, sink, count); !first.status.isOk())
    return {first.status, count};
  printMessage(setup.console, kWritingMessage);
  if (BodyEnd end = readBody(input, body, setup, sink, count); !end.status.isOk()) return {end.status, count};
  printCount(setup.console, count, "read");
  return {Status::ok(), count};
}

// The upper-cased first data row: the first line, and for a CSV row the
// lines a quoted field runs over.
std::string firstRow(LineReader& input, const Line& firstLine, char separator) {
  std::string upper;
  upperCaseInto(firstLine.text, upper);
  std::string more;
  for (Line line; separator != ' ' && upper.size() < kMostRowBytes && SeparatedFields::endsInQuotes(upper, separator) &&
                  input.next(line);) {
    upperCaseInto(line.text, more);
    upper.append("\n").append(more);
  }
  return upper;
}

}  // namespace

ReadOutcome readColumnLog(LineReader& input, const Line& firstLine, const TextLayout& layout, const ReaderSetup& setup,
                          RecordSink& sink, bool& foundCallsigns) {
  const std::string upper = firstRow(input, firstLine, layout.separator);
  const ColumnMap columns = assignColumns(upper, layout, setup.console);
  foundCallsigns = columns.callsignColumn != ColumnMap::kUnassigned;
  ContactBatch batch;
  if (layout.separator == ' ') {
    ColumnBody body(setup.layout, columns, lastColumnOf(columns));
    body.readFirstLine(upper, batch);
    return readRest(input, body, batch, setup, sink);
  }
  SeparatedBody body(setup.layout, columns, lastColumnOf(columns), layout.separator);
  body.readFirstRow(upper, batch);
  return readRest(input, body, batch, setup, sink);
}

}  // namespace quorvel
