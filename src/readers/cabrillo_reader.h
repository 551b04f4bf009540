#pragma once

#include "base/status.h"
#include "readers/line_reader.h"
#include "readers/log_body.h"
#include "record/record_sink.h"

namespace quorvel {

// Reads a Cabrillo log to its end. The header is scanned for "CONTEST:"
// lines, whose contest name picks the contest layout, up to the first line
// holding "QSO:"; from there every line that is not empty is numbered and
// parsed, up to "END-OF-LOG:", and each "QSO:" line with a callsign gives
// one record line for `sink`. `firstLine` holds "START-OF-LOG:"; `input`
// stands right after it. Prints the opening messages, a dot per hundred
// numbered lines and, at "END-OF-LOG:", the count. Fails with the internal
// error for a "QSO:" line with nothing after it, on a read error, or when a
// bucket file cannot be written.
ReadOutcome readCabrilloLog(LineReader& input, const Line& firstLine, const ReaderSetup& setup, RecordSink& sink);

}  // namespace quorvel
