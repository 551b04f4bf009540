#pragma once

#include <optional>
#include <string>

#include "base/console.h"
#include "base/status.h"
#include "base/work_plan.h"
#include "quorvel/run_options.h"
#include "readers/line_reader.h"
#include "readers/log_reading.h"
#include "record/record_line.h"
#include "record/record_sink.h"

namespace quorvel {

// Reads a whole log into `sink`: a start that gives ADX or ADIF away goes
// to its reader at once; otherwise lines are screened until one is accepted,
// and the reader that line picks reads the rest, its record lines in the
// layout its format and `options` call for. A text log's record lines get
// the narrow band field, or with `wideTextLogs` the wide one of ADIF and
// Cabrillo logs, so that they can share lists with theirs. Fails as the
// reader does, or on a read error.
LogReading readLog(LineReader& input, const RunOptions& options, bool wideTextLogs, const WorkPlan& work,
                   const Console& console, RecordSink& sink);

}  // namespace quorvel
