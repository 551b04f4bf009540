#pragma once

#include "base/status.h"
#include "detect/text_layout.h"
#include "readers/line_reader.h"
#include "readers/log_body.h"
#include "record/record_sink.h"

namespace quorvel {

// Reads a column text log laid out as `layout` to its end. `firstLine`
// is its first data line upper-cased and cut, as screening judged it, the
// line numbered `firstLineNumber` (from 1):
// the columns are decided once from it (planColumns()), each decision
// reported as "Using column ...". That row and every later row that
// rowKind() takes for data give one record line each for `sink`. Prints a
// dot per hundred data rows and the count, and after it, when a quote
// opened a field that no line closed, the line it stood on. Fails on a
// read error or when a bucket file cannot be written. With no column
// taken for the callsign, no line gives a contact: the reading says so as
// its fault. `cutRow`, a line cut at kMostLineBytes before the first data
// line, plans nothing: it is read before that line as any later row is,
// a contact where rowKind() takes it for data.
LogReading readColumnLog(LineReader& input, const CutTextRow& firstLine, std::size_t firstLineNumber,
                         std::string_view cutRow, const TextLayout& layout, const ReaderSetup& setup, RecordSink& sink);

}  // namespace quorvel
