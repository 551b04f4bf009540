#pragma once

#include <string>

#include "readers/line_reader.h"
#include "readers/log_body.h"
#include "record/record_sink.h"

namespace quorvel {

// Reads an ADX log, ADIF written as XML (see probeAdx), to its end with a
// streaming XML parser, a block of bytes at a time, in the same memory
// however long the log. Each RECORD under the root's RECORDS gives the
// record line the same record gives in an ADIF file (AdxRecord); other
// elements (the HEADER, APP_ and USERDEF fields) count for nothing. Names
// match in any letter case; entities, character references and CDATA are
// text. A document type loads nothing, and entities that would grow the
// text far beyond the log's own bytes stop the parser. Prints the opening
// messages, a dot per hundred records and the count. A log that is not
// well-formed is read up to its first fault: the outcome's fault then
// names the log, the line and the parser's reason, and no count is
// printed. Fails on a read error or when a bucket file cannot be written.
LogReading readAdxLog(LineReader& input, const ReaderSetup& setup, RecordSink& sink);

}  // namespace quorvel
