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

// Where a long line of an ADIF log may be cut (a LineCutRule): after its
// first "<EOR>" when more tags follow, where the reader would cut it
// itself; 0 when it would not. A log exported as one line is then held a
// record at a time.
std::size_t cutAfterRecord(std::string_view line);
// Where an ADIF line cut at its bound goes on (a LineResumeRule): at its
// first "<EOR>" or line end, so that the record it cut is closed and the
// records behind it on the line are read.
std::size_t resumeAtRecordEnd(std::string_view skipped);

// Reads an ADIF log to its end: skips the header, gathers the tags CALL,
// COMMENT (when the layout has a comment field), FREQ, BAND, MODE, QSO_DATE,
// TIME_ON and SUBMODE of each record up to its "<EOR>", and hands one record
// line per record to `sink`, the SUBMODE shown for a MODE of MFSK.
// `firstLine`, numbered `firstLineNumber`, is the log's first line that is
// not empty; `input` stands right after it. Prints the opening messages, a
// dot per hundred records, the count and, once, a notice when a second
// CALL showed a record's "<EOR>" lost; a log that ends before its header
// ends prints nothing. A record cut short by the end of the file is a
// contact when it holds a CALL, and the outcome's fault says so. Fails on
// a read error or when a bucket file cannot be written. Cuts long lines
// of `input` after their records.
LogReading readAdifLog(LineReader& input, const Line& firstLine, std::size_t firstLineNumber, AdifStart start,
                       const ReaderSetup& setup, RecordSink& sink);

}  // namespace quorvel
