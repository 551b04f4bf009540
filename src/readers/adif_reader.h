#pragma once

#include "base/status.h"
#include "readers/line_reader.h"
#include "readers/log_body.h"
#include "record/record_sink.h"

namespace quorvel {

// Where the first line handed to the ADIF reader stands.
enum class AdifStart {
  AtHeader,   // in the header: records begin after the line holding "<EOH>"
  AtRecords,  // a log without header: the first line already holds records
};

// Reads an ADIF log to its end: skips the header, gathers the tags CALL,
// COMMENT (when the layout has a comment field), FREQ, BAND, MODE, QSO_DATE,
// TIME_ON and SUBMODE of each record up to its "<EOR>", and hands one record
// line per record to `sink`, the SUBMODE shown for a MODE of MFSK.
// `input` stands at the log's start, which gave it away as ADIF with or
// without a header (`start`); lines of less than two bytes before the
// first are passed over. Prints the opening messages, a
// dot per hundred records, the count and, once, a notice when a second
// CALL showed a record's "<EOR>" lost; a log that ends before its header
// ends prints nothing. A record cut short by the end of the file is a
// contact when it holds a CALL, and the outcome's fault says so. Fails on
// a read error or when a bucket file cannot be written. Cuts long lines
// of `input` after their records: a log exported as one line is held a
// record at a time.
LogReading readAdifLog(LineReader& input, AdifStart start, const ReaderSetup& setup, RecordSink& sink);

// The same for a log whose line `firstLine`, numbered `firstLineNumber`,
// screening found to be ADIF ("<EOH>" or tags with "<EOR>") after lines
// that read as none; `input` stands right after it. Records begin after
// the line holding "<EOH>".
LogReading readAdifLogFrom(LineReader& input, const Line& firstLine, std::size_t firstLineNumber,
                           const ReaderSetup& setup, RecordSink& sink);

}  // namespace quorvel
