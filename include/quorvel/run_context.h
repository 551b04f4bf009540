#pragma once

#include <cstdio>
#include <string>

#include "quorvel/record_sink.h"
#include "quorvel/run_options.h"

namespace quorvel {

// Where a run's console output goes: progress marks on `out`, messages on
// `err`.
struct Console {
  std::FILE* out = stdout;
  std::FILE* err = stderr;
};

// What one run shares between its driver, its reader and its sort stage. Each
// run owns one; nothing of it outlives the run.
struct RunContext {
  RunOptions options;
  Console console;
  RecordSink* sink = nullptr;
  std::string logName;  // as given on the command line, for messages
  int sortColumn = 0;   // callsign column of the record lines written; 0 if none
};

}  // namespace quorvel
