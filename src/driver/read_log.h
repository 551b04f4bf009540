#pragma once

#include <optional>
#include <string>

#include "base/console.h"
#include "base/status.h"
#include "base/work_plan.h"
#include "quorvel/run_options.h"
#include "readers/line_reader.h"
#include "record/record_line.h"
#include "record/record_sink.h"

namespace quorvel {

// What reading one log came to.
struct LogReading {
  Status status = Status::ok();
  // The layout of the log's record lines, once a line of it was accepted
  // and a reader ran; none when no line was (nothing was printed then).
  std::optional<RecordLayout> layout;
  long counted = 0;  // what its reader counted
  // Why a log was read only in part, or gave no contact though it held
  // text, as a message naming it; empty when it was read whole. The run
  // reads the other logs and sorts, then fails.
  std::string fault;
};

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
