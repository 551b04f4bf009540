#pragma once

#include "quorvel/run_context.h"
#include "quorvel/status.h"
#include "readers/line_reader.h"

namespace quorvel {

// Where the first line handed to the ADIF reader stands.
enum class AdifStart {
  AtHeader,   // in the header: records begin after the line holding "<EOH>"
  AtRecords,  // a log without header: the first line already holds records
};

// Reads an ADIF log to its end: skips the header, gathers the tags CALL,
// COMMENT, FREQ, BAND, MODE, QSO_DATE and TIME_ON of each record up to its
// "<EOR>", and hands one Wide (WideWithComment with -comment) record line
// per record to the run's sink. `firstLine` is the line that told the log
// is ADIF; `input` stands right after it. Prints the opening messages, a dot
// per hundred records and the count; a log that ends inside a record, or
// before its header ends, ends without the count. Fails on a read error or
// when a bucket file cannot be written.
Status readAdifLog(LineReader& input, const Line& firstLine, RunContext& run, AdifStart start = AdifStart::AtHeader);

}  // namespace quorvel
