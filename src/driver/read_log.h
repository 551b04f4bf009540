#pragma once

#include <optional>
#include <string>

#include "base/console.h"
#include "base/status.h"
#include "base/work_plan.h"
#include "driver/run_layout.h"
#include "readers/line_reader.h"
#include "readers/log_reading.h"
#include "record/record_sink.h"

namespace quorvel {

// Reads a whole log into `sink`: a start that gives ADX or ADIF away goes
// to its reader at once; otherwise lines are screened until one is accepted,
// and the reader that line picks reads the rest, its record lines in the
// layout `layout` gives its format. Fails as the reader does, or on a read
// error.
LogReading readLog(LineReader& input, RunLayout& layout, const WorkPlan& work, const Console& console,
                   RecordSink& sink);

}  // namespace quorvel
