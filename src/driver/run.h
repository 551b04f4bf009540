#pragma once

#include <string>
#include <vector>

#include "base/console.h"
#include "base/work_plan.h"

namespace quorvel {

enum class ExitStatus { Success, Failure };

// One whole run of the program: reads the command line `arguments` (those
// after the program name), reads the logs it names, fills and sorts the
// bucket files in the current directory (in the first log's folder when
// the console is a window of the program's own), and writes progress and
// messages on `console`. Returns how the run ended; every failure has been
// reported on the console's error stream.
ExitStatus runQuorvel(const std::vector<std::string>& arguments, const Console& console, const WorkPlan& work = {});

}  // namespace quorvel
