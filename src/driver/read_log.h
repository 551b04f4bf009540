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

// How a run writes the record lines of all its logs, beside what its
// options say.
struct RunLines {
  // A text log's record lines get the narrow band field, or the wide one of
  // ADIF and Cabrillo logs, so that they can share lists with theirs.
  bool wideTextLogs = false;
  // How much of its contact's meaning each bucket line carries, for the
  // lookup page or -unique (see bucket_line.h).
  Meanings meanings = Meanings::None;
};

// Reads a whole log into `sink`: a start that gives ADX or ADIF away goes
// to its reader at once; otherwise lines are screened until one is accepted,
// and the reader that line picks reads the rest, its record lines in the
// layout its format, `options` and `lines` call for. Fails as the reader
// does, or on a read error.
LogReading readLog(LineReader& input, const RunOptions& options, const RunLines& lines, const WorkPlan& work,
                   const Console& console, RecordSink& sink);

}  // namespace quorvel
