#pragma once

#include "quorvel/run_context.h"
#include "quorvel/status.h"
#include "readers/line_reader.h"

namespace quorvel {

// Reads a whole log into the run's sink: a start that gives ADIF away goes
// to the ADIF reader at once; otherwise lines are screened until one is
// accepted, and the reader that line picks reads the rest. Sets `accepted`
// when some line was (otherwise no reader ran and nothing was printed).
// Fails as the reader does, or on a read error.
Status readLog(LineReader& input, RunContext& run, bool& accepted);

}  // namespace quorvel
