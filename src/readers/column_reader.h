#pragma once

#include "base/status.h"
#include "readers/line_reader.h"
#include "readers/log_body.h"
#include "record/record_sink.h"

namespace quorvel {

// Reads a column text log to its end. `firstLine` is its first data line:
// its blank-separated tokens decide, once for the log, which column holds
// the date, time, band, mode and callsign (each decision reported as "Using
// column ..."). That line and every later line that screening accepts give
// one record line each for `sink`; a line too short to reach a column
// leaves that value empty. Prints a dot per hundred data lines and the
// count. Fails on a read error or when a bucket file cannot be written.
ReadOutcome readColumnLog(LineReader& input, const Line& firstLine, const ReaderSetup& setup, RecordSink& sink);

}  // namespace quorvel
