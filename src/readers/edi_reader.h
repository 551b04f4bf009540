#pragma once

#include "readers/line_reader.h"
#include "readers/log_body.h"
#include "record/record_sink.h"

namespace quorvel {

// Reads a REG1TEST log (.edi), the contest log of IARU Region 1's VHF and
// up contests, from its start to its end. The header, "Key=value" lines
// under "[REG1TEST;1]", names the band ("PBand=144 MHz"), which every
// contact of the log is on; from "[QSORecords;N]" on, each line that
// reads as a contact (see parseEdiContact) gives one record line for
// `sink`. Prints the opening messages, a dot per hundred contacts and the
// count, and says so when the log holds another number of contacts than
// its "[QSORecords;N]" line. Fails on a read error or when a bucket file
// cannot be written.
LogReading readEdiLog(LineReader& input, const ReaderSetup& setup, RecordSink& sink);

}  // namespace quorvel
