#pragma once

#include "base/status.h"
#include "readers/line_reader.h"
#include "readers/log_body.h"
#include "record/record_sink.h"

namespace quorvel {

// Reads a Cabrillo file to its end. The header is scanned for "CONTEST:"
// lines, whose contest name picks the contest layout, up to the first line
// holding "QSO:"; from there each "QSO:" or "X-QSO:" line is a contact and
// gives one record line for `sink`, up to "END-OF-LOG:". A further log
// pasted behind it, from its "START-OF-LOG:" on, is read the same way.
// `firstLine`, numbered `firstLineNumber`, holds "START-OF-LOG:"; `input`
// stands right after it. Prints the opening messages, a dot per hundred
// contacts and the count. A "QSO:" line with nothing after it is skipped,
// and the outcome's fault names it. Fails on a read error or when a
// bucket file cannot be written.
LogReading readCabrilloLog(LineReader& input, const Line& firstLine, std::size_t firstLineNumber,
                           const ReaderSetup& setup, RecordSink& sink);

}  // namespace quorvel
