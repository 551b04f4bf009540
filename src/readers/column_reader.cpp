#include "readers/column_reader.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/ascii.h"
#include "base/console_texts.h"
#include "base/visible_text.h"
#include "detect/separated_fields.h"
#include "detect/text_row.h"
#include "readers/column_body.h"
#include "readers/separated_body.h"

namespace quorvel {

namespace {

// Reports each decision on a column, quoting the first data row's value.
void reportColumns(const ColumnPlan& plan, const Console& console) {
  for (const ColumnDecision& decision : plan.decisions) {
    std::string message = "Using column " + std::to_string(decision.column) + " (";
    message.append(visibleText(plan.fields[static_cast<std::size_t>(decision.column)])).append(") as ");
    message.append(columnRoleName(decision.role)).append("\n");
    printMessage(console, message);
  }
}

// The highest column any value is taken from.
int lastColumnOf(const ColumnMap& columns) {
  return std::max({columns.dateColumn, columns.timeColumn, columns.bandColumn, columns.modeColumn,
                   columns.callsignColumn, columns.submodeColumn});
}

// Reads the first data row into `batch` and the rest of the log into
// `sink` with `body`.
template <LogBody Body>
LogReading readRest(LineReader& input, Body& body, ContactBatch& batch, const ReaderSetup& setup, RecordSink& sink) {
  long count = 0;
  if (BodyEnd first = deliverBatch(batch, setup.console, sink, count); !first.status.isOk())
    return {first.status, count, {}};
  printMessage(setup.console, kWritingMessage);
  if (BodyEnd end = readBody(input, body, setup, sink, count); !end.status.isOk()) return {end.status, count, {}};
  printCount(setup.console, count, "read");
  return {Status::ok(), count, {}};
}

// The line after the ones `input` has given, upper-cased; empty at the
// end of the log.
std::string nextLine(LineReader& input) {
  std::string_view ahead = input.peek(kMostRowBytes);
  ahead = ahead.substr(0, ahead.find('\n'));
  if (ahead.ends_with('\r')) ahead.remove_suffix(1);
  std::string upper;
  upperCaseInto(ahead, upper);
  return upper;
}

// The lines a quoted field of `first`, the first data row of a CSV log
// laid out as `layout`, runs over, joined to it in `joined`, upper-cased
// and cut. False, `joined` untouched, when the row ends with its line.
// `lines` goes on by the lines it took; `strayQuote` gets the first line's
// number when its open quote was a stray character.
bool joinFirstRow(LineReader& input, const CutTextRow& first, const TextLayout& layout, CutTextRow& joined,
                  std::size_t& lines, std::size_t& strayQuote) {
  if (layout.separator == ' ') return false;
  const std::size_t number = lines;
  std::string_view row = first.upper;
  for (Line line;;) {
    const RowEnd end = rowEnd(row, nextLine(input), layout.separator, layout.fieldsOfARow);
    if (end == RowEnd::StrayQuote) strayQuote = number;
    if (end != RowEnd::GoesOn || !input.next(line)) break;
    if (lines == number) joined.upper.assign(first.upper);
    std::string more;
    upperCaseInto(line.text, more);
    joined.upper.append("\n").append(more);
    row = joined.upper;
    ++lines;
  }
  if (lines == number) return false;
  joined.cut(layout.separator);
  return true;
}

std::string strayQuoteMessage(const LineReader& input, std::size_t line) {
  return "unclosed quote in file " + input.name() + " at line " + std::to_string(line) +
         ": read as a character, the next line as a row of its own\n";
}

// Reads the rows from the first one on, between blanks or separated, and
// says where a quote opened that no line closed.
LogReading readColumns(LineReader& input, std::string_view cutRow, const CutTextRow& first, std::size_t firstLineNumber,
                       std::size_t lines, std::size_t strayQuote, const TextLayout& layout, const ColumnPlan& plan,
                       const ReaderSetup& setup, RecordSink& sink) {
  ContactBatch batch;
  if (layout.separator == ' ') {
    ColumnBody body(setup.layout, plan.columns, lastColumnOf(plan.columns), layout.columnSpans);
    if (!cutRow.empty()) body.readLine(Line{cutRow, true}, batch);
    body.readFirstRow(first, batch);
    return readRest(input, body, batch, setup, sink);
  }
  SeparatedBody body(setup.layout, plan.columns, lastColumnOf(plan.columns), layout.separator, layout.fieldsOfARow,
                     lines);
  if (!cutRow.empty()) {
    CutTextRow cut;
    upperCaseInto(cutRow, cut.upper);
    cut.cut(layout.separator);
    body.readFirstRow(cut, false, batch);  // a row only where rowKind() takes it for data
  }
  body.readFirstRow(first, lines > firstLineNumber, batch);
  LogReading reading = readRest(input, body, batch, setup, sink);
  if (strayQuote == 0) strayQuote = body.strayQuoteLine();
  if (reading.status.isOk() && strayQuote != 0) printMessage(setup.console, strayQuoteMessage(input, strayQuote));
  return reading;
}

}  // namespace

LogReading readColumnLog(LineReader& input, const CutTextRow& firstLine, std::size_t firstLineNumber,
                         std::string_view cutRow, const TextLayout& layout, const ReaderSetup& setup,
                         RecordSink& sink) {
  std::size_t lines = firstLineNumber, strayQuote = 0;
  CutTextRow joined;
  const CutTextRow& first = joinFirstRow(input, firstLine, layout, joined, lines, strayQuote) ? joined : firstLine;
  const ColumnPlan plan = planColumns(layout, first);
  reportColumns(plan, setup.console);
  LogReading reading = readColumns(input, cutRow, first, firstLineNumber, lines, strayQuote, layout, plan, setup, sink);
  // Every line of it was counted and written nowhere.
  if (reading.status.isOk() && plan.columns.callsignColumn == ColumnMap::kUnassigned) {
    reading.fault = "no contact read from file " + input.name() + ": no column holds callsigns\n";
  }
  return reading;
}

}  // namespace quorvel
