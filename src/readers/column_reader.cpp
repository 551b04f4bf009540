#include "readers/column_reader.h"

#include <string>
#include <vector>

#include "detect/ascii.h"
#include "detect/assign_column.h"
#include "detect/screen_line.h"
#include "detect/space_tokens.h"
#include "output/console.h"
#include "output/record_line.h"
#include "readers/column_values.h"

namespace quorvel {

namespace {

class ColumnReader {
 public:
  ColumnReader(LineReader& input, RunContext& run)
      : input_(input), run_(run), layout_(chooseLayout(LayoutSet::Narrow, run.options)) {}

  Status read(const Line& firstLine);

 private:
  void assignColumns();
  void splitLine();
  std::string_view valueIn(int column) const;
  Status writeRecord();

  LineReader& input_;
  RunContext& run_;
  RecordLayout layout_;
  ColumnMap columns_;
  int lastColumn_ = -1;  // the highest column any value is taken from
  std::string upper_;
  std::vector<std::string_view> tokens_;
  std::string recordLine_;
};

void ColumnReader::assignColumns() {
  tokens_.clear();
  SpaceTokens tokens(upper_);
  std::string_view token;
  while (tokens.next(token)) {
    int column = static_cast<int>(tokens_.size());
    tokens_.push_back(token);
    std::optional<ColumnRole> role = assignColumn(columns_, token, column);
    if (!role) continue;
    lastColumn_ = column;
    std::string message = "Using column " + std::to_string(column) + " (";
    message.append(token).append(") as ").append(columnRoleName(*role)).append("\n");
    printMessage(run_.console, message);
  }
}

void ColumnReader::splitLine() {
  tokens_.clear();
  SpaceTokens tokens(upper_);
  std::string_view token;
  while (static_cast<int>(tokens_.size()) <= lastColumn_ && tokens.next(token)) tokens_.push_back(token);
}

// A column the line does not reach gives the empty text: the line is never
// completed with values of an earlier contact.
std::string_view ColumnReader::valueIn(int column) const {
  if (column < 0 || static_cast<std::size_t>(column) >= tokens_.size()) return {};
  return tokens_[static_cast<std::size_t>(column)];
}

Status ColumnReader::writeRecord() {
  RecordFields fields;
  fields.date = valueIn(columns_.dateColumn);
  fields.time = valueIn(columns_.timeColumn);
  fields.band = normaliseBand(valueIn(columns_.bandColumn));
  fields.mode = normaliseMode(valueIn(columns_.modeColumn));
  fields.callsign = valueIn(columns_.callsignColumn);
  formatRecordLine(layout_, fields, recordLine_);
  run_.sortColumn = layout_.sortColumn();
  return run_.sink->appendToBucket(fields.callsign.empty() ? '\0' : fields.callsign.front(), recordLine_);
}

Status ColumnReader::read(const Line& firstLine) {
  upperCaseInto(firstLine.text, upper_);
  assignColumns();
  if (Status written = writeRecord(); !written.isOk()) return written;
  long contactCount = 1;
  printMessage(run_.console, kWritingMessage);

  Line line;
  while (input_.next(line)) {
    upperCaseInto(line.text, upper_);
    // Headings, page breaks and blank lines between the data are skipped;
    // a marker of another log kind on a later line changes nothing.
    if (screenLine(upper_) == ScreenResult::Reject) continue;
    ++contactCount;
    markProgress(run_.console, contactCount);
    splitLine();
    if (Status written = writeRecord(); !written.isOk()) return written;
  }
  if (input_.failed()) return input_.status();
  printCount(run_.console, contactCount, "read");
  return Status::ok();
}

}  // namespace

Status readColumnLog(LineReader& input, const Line& firstLine, RunContext& run) {
  ColumnReader reader(input, run);
  return reader.read(firstLine);
}

}  // namespace quorvel
