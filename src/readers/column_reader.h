#pragma once

#include "base/status.h"
#include "detect/text_layout.h"
#include "readers/line_reader.h"
#include "readers/log_body.h"
#include "record/record_sink.h"

namespace quorvel {

// Reads a column text log to its end. `firstLine` is its first data line:
// its fields, as `layout` separates them, decide once for the log which
// column holds the date, time, band, mode and callsign (each decision
// reported as "Using column ..."), the columns its header row names taken
// as named. For a blank-separated log, that line and every later line that
// screening accepts give one record line each for `sink`, a line too short
// to reach a column leaving that value empty; for a log of CSV rows, every
// later row with a callsign field does. Prints a dot per
// hundred data lines and the count. Fails on a read error or when a bucket
// file cannot be written. `foundCallsigns` tells whether a column was
// taken for the callsign: without one, no line gives a contact.
ReadOutcome readColumnLog(LineReader& input, const Line& firstLine, const TextLayout& layout, const ReaderSetup& setup,
                          RecordSink& sink, bool& foundCallsigns);

}  // namespace quorvel
