#include "driver/read_log.h"

#include <algorithm>
#include <optional>
#include <string>

#include "base/ascii.h"
#include "detect/adif_probe.h"
#include "detect/adx_probe.h"
#include "detect/edi_probe.h"
#include "detect/no_log_probe.h"
#include "detect/row_kind.h"
#include "detect/text_layout.h"
#include "detect/text_row.h"
#include "detect/text_sample.h"
#include "readers/adif_reader.h"
#include "readers/adx_reader.h"
#include "readers/cabrillo_reader.h"
#include "readers/column_reader.h"
#include "readers/edi_reader.h"

namespace quorvel {

namespace {

// The first line a reader is given, and the reader it picks.
struct FirstLine {
  Line line;
  CutTextRow row;  // `line` upper-cased and cut, as screening judged it
  LogFormat format = LogFormat::ColumnText;
  // An ADIF log whose start gave it away: its reader finds its first line.
  std::optional<AdifStart> adifStart;
  TextLayout layout;           // of a column text log
  std::size_t lineNumber = 0;  // of `line`, from 1
  // A column text log's line cut at kMostLineBytes before `line`: it
  // plans no column, and is read as a row by the plan of the rows after it.
  std::string cutRow;
};

// What the line numbered `index` of a text log laid out as `layout`,
// cut as `row`, makes of the log: the first line of an ADIF or Cabrillo
// log, the first data row, or nothing yet. Before the first data row
// judged from the log's start, only a mark counts.
std::optional<LogFormat> formatAt(const CutTextRow& row, std::size_t index, const TextLayout& layout) {
  switch (rowKind(row.upper, row.fields, layout.separator)) {
    case RowKind::Adif: return LogFormat::Adif;
    case RowKind::Cabrillo: return LogFormat::Cabrillo;
    case RowKind::Data:
      if (index >= layout.firstDataLine) return LogFormat::ColumnText;
      break;
    default: break;
  }
  // The first data row was found whole in the log's start, where a quoted
  // field may run over several lines.
  if (index == layout.firstDataLine && layout.firstDataFound) return LogFormat::ColumnText;
  return std::nullopt;
}

// Whether a line holds anything but white space.
bool holdsText(std::string_view line) {
  return std::any_of(line.begin(), line.end(), [](char c) { return !isScanSpace(static_cast<unsigned char>(c)); });
}

// The layout of a text log judged from the lines `input` has not yet
// given.
TextLayout judgeLayoutAhead(LineReader& input) {
  const std::string_view start = input.peek(kTextSampleSize);
  return fitsSample(start) ? judgeTextLayout(start) : judgeLayoutOfFittingRows(input.peek(kTextWindowSize));
}

// The first line that screening accepts, and the reader it picks (an ADX
// or REG1TEST log, and an ADIF log whose start gave it away, is given no
// line: its reader takes the log from its start). False
// when no line is accepted; `sawText` then tells whether any line held
// more than white space.
bool findFirstLine(LineReader& input, FirstLine& first, bool& sawText) {
  if (probeAdx(input.peek(kAdifProbeSize))) {
    first.format = LogFormat::Adx;  // read as a stream of bytes, not lines
    return true;
  }
  if (probeEdi(input.peek(kAdifProbeSize))) {
    first.format = LogFormat::Edi;
    return true;
  }
  switch (probeAdif(input.peek(kAdifProbeSize))) {
    case AdifProbe::WithHeader: first.adifStart = AdifStart::AtHeader; break;
    case AdifProbe::Headerless: first.adifStart = AdifStart::AtRecords; break;
    case AdifProbe::NotAdif: break;
  }
  if (first.adifStart) {
    first.format = LogFormat::Adif;
    return true;
  }
  first.layout = judgeLayoutAhead(input);
  // Lines are counted for the layout from the first it was judged on.
  std::size_t judgedFrom = 0, cutRowNumber = 0;
  for (std::size_t index = 0; input.next(first.line); ++index) {
    sawText = sawText || holdsText(first.line.text);
    upperCaseInto(first.line.text, first.row.upper);
    first.row.cut(first.layout.separator);
    std::optional<LogFormat> format = formatAt(first.row, index - judgedFrom, first.layout);
    if (input.lastLineCut() && format != LogFormat::Adif && format != LogFormat::Cabrillo) {
      // A line cut at the bound (a heading, a row) shows neither its
      // columns nor the rows after it, which a window that ended in it
      // never saw: the layout is judged again from them.
      if (cutRowNumber == 0) first.cutRow.assign(first.line.text), cutRowNumber = index + 1;
      first.layout = judgeLayoutAhead(input);
      judgedFrom = index + 1;
      continue;
    }
    if (format) {
      first.format = *format;
      first.lineNumber = index + 1;
      return true;
    }
  }
  if (cutRowNumber == 0) return false;
  // Nothing after the cut line reads as a row: it is the only one there is.
  first.line = Line{first.cutRow, true};
  upperCaseInto(first.cutRow, first.row.upper);
  first.row.cut(first.layout.separator);
  first.lineNumber = cutRowNumber;
  first.format = LogFormat::ColumnText;
  first.layout.firstDataFound = false;
  return true;
}

}  // namespace

LogReading readLog(LineReader& input, RunLayout& layout, const WorkPlan& work, const Console& console,
                   RecordSink& sink) {
  LogReading reading;
  // A compressed file, a binary one or a decode record is named for what
  // it is, and nothing of it is read.
  if (const std::string_view reason = noLogReason(input.peek(kAdifProbeSize)); !reason.empty()) {
    reading.status = input.status();
    if (reading.status.isOk())
      reading.fault = "no contact read from file " + input.name() + ": " + std::string(reason) + "\n";
    return reading;
  }
  FirstLine first;
  bool sawText = false;
  if (!findFirstLine(input, first, sawText)) {
    reading.status = input.status();
    // Text in which nothing reads as a contact is no log, or one in a
    // shape nothing here knows; an empty file is an empty log.
    if (reading.status.isOk() && sawText) {
      reading.fault = "no contact read from file " + input.name() + ": no line of it reads as a contact\n";
    }
    return reading;
  }
  const ReaderSetup setup{layout.forLog(first.format), work, console};
  switch (first.format) {
    case LogFormat::Adx: reading = readAdxLog(input, setup, sink); break;
    case LogFormat::Adif:
      reading = first.adifStart ? readAdifLog(input, *first.adifStart, setup, sink)
                                : readAdifLogFrom(input, first.line, first.lineNumber, setup, sink);
      break;
    case LogFormat::Cabrillo: reading = readCabrilloLog(input, first.line, first.lineNumber, setup, sink); break;
    case LogFormat::Edi: reading = readEdiLog(input, setup, sink); break;
    case LogFormat::ColumnText:
      reading = readColumnLog(input, first.row, first.lineNumber,
                              first.line.text.data() == first.cutRow.data() ? std::string_view() : first.cutRow,
                              first.layout, setup, sink);
      break;
  }
  if (reading.status.isOk()) {
    if (std::string notice = input.cutNotice(); !notice.empty()) printMessage(console, notice);
  }
  return reading;
}

}  // namespace quorvel
