#include "readers/column_reader.h"

#include <string>
#include <vector>

#include "base/ascii.h"
#include "base/visible_text.h"
#include "detect/assign_column.h"
#include "detect/recognisers.h"
#include "detect/screen_line.h"
#include "detect/space_tokens.h"
#include "readers/column_values.h"
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
  std::string_view valueIn(int column) const;

  RecordLayout layout_;
  ColumnMap columns_;
  int lastColumn_ = -1;  // the highest column any value is taken from
  std::string upper_;
  std::vector<std::string_view> tokens_;
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
  SpaceTokens tokens(upperLine);
  std::string_view token;
  while ((!decided || static_cast<int>(tokens_.size()) <= lastColumn_) && tokens.next(token)) {
    if (static_cast<int>(tokens_.size()) <= lastColumn_) tokens_.push_back(token);
    if (!decided && isCallsign(token)) decided = accepted = true;
  }
  return accepted;
}

void ColumnBody::splitLine(std::string_view upperLine) {
  tokens_.clear();
  SpaceTokens tokens(upperLine);
  std::string_view token;
  while (static_cast<int>(tokens_.size()) <= lastColumn_ && tokens.next(token)) tokens_.push_back(token);
}

void ColumnBody::writeRecord(ContactBatch& batch) {
  RecordFields fields;
  fields.date = valueIn(columns_.dateColumn);
  fields.time = valueIn(columns_.timeColumn);
  fields.band = normaliseBand(valueIn(columns_.bandColumn));
  fields.mode = normaliseMode(valueIn(columns_.modeColumn));
  fields.callsign = valueIn(columns_.callsignColumn);
  batch.add(fields.callsign.empty() ? '\0' : fields.callsign.front(), layout_, fields);
}

// A column the line does not reach gives the empty text: the line is never
// completed with values of an earlier contact.
std::string_view ColumnBody::valueIn(int column) const {
  if (column < 0 || static_cast<std::size_t>(column) >= tokens_.size()) return {};
  return tokens_[static_cast<std::size_t>(column)];
}

// Decides the columns from the tokens of the first data line, reporting
// each decision; returns the highest column any value is taken from.
int assignColumns(std::string_view upperLine, ColumnMap& columns, const Console& console) {
  int lastColumn = -1;
  SpaceTokens tokens(upperLine);
  std::string_view token;
  for (int column = 0; tokens.next(token); ++column) {
    std::optional<ColumnRole> role = assignColumn(columns, token, column);
    if (!role) continue;
    lastColumn = column;
    std::string message = "Using column " + std::to_string(column) + " (";
    message.append(visibleText(token)).append(") as ").append(columnRoleName(*role)).append("\n");
    printMessage(console, message);
  }
  return lastColumn;
}

}  // namespace

ReadOutcome readColumnLog(LineReader& input, const Line& firstLine, const ReaderSetup& setup, RecordSink& sink) {
  std::string upper;
  upperCaseInto(firstLine.text, upper);
  ColumnMap columns;
  int lastColumn = assignColumns(upper, columns, setup.console);
  ColumnBody body(setup.layout, columns, lastColumn);
  ContactBatch batch;
  body.readFirstLine(upper, batch);
  long count = 0;
  if (BodyEnd first = deliverBatch(batch, setup.console, sink, count); !first.status.isOk())
    return {first.status, count};
  printMessage(setup.console, kWritingMessage);

  if (BodyEnd end = readBody(input, body, setup, sink, count); !end.status.isOk()) return {end.status, count};
  printCount(setup.console, count, "read");
  return {Status::ok(), count};
}

}  // namespace quorvel
