#pragma once

#include "quorvel/run_context.h"
#include "quorvel/status.h"
#include "readers/line_reader.h"

namespace quorvel {

// Reads a Cabrillo log to its end. The header is scanned for "CONTEST:"
// lines, whose contest name picks the contest layout, up to the first line
// holding "QSO:"; from there every line that is not empty is numbered and
// parsed, up to "END-OF-LOG:", and each "QSO:" line with a callsign gives
// one Wide record line. `firstLine` holds "START-OF-LOG:"; `input` stands
// right after it. Prints the opening messages, a dot per hundred numbered
// lines and, at "END-OF-LOG:", the count. Fails with the internal error for
// a "QSO:" line with nothing after it, on a read error, or when a bucket
// file cannot be written.
Status readCabrilloLog(LineReader& input, const Line& firstLine, RunContext& run);

}  // namespace quorvel
