#pragma once

#include "quorvel/run_context.h"
#include "quorvel/status.h"
#include "readers/line_reader.h"

namespace quorvel {

// Reads a column text log to its end. `firstLine` is its first data line:
// its blank-separated tokens decide, once for the run, which column holds
// the date, time, band, mode and callsign (each decision reported as "Using
// column ..."). That line and every later line that screening accepts give
// one Narrow record line each; a line too short to reach a column leaves
// that value empty. Prints a dot per hundred data lines and the count.
// Fails on a read error or when a bucket file cannot be written.
Status readColumnLog(LineReader& input, const Line& firstLine, RunContext& run);

}  // namespace quorvel
