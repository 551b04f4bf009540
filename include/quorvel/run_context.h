#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <string>
#include <thread>

#include "quorvel/record_sink.h"
#include "quorvel/run_options.h"

namespace quorvel {

// Where a run's console output goes: progress marks on `out`, messages on
// `err`.
struct Console {
  std::FILE* out = stdout;
  std::FILE* err = stderr;
};

// How a run shares out its work: the log's contacts are read in blocks of
// about `blockBytes` bytes, and blocks and buckets are worked on by
// `threads` threads (0: one per core, at most kMostThreads). Tests make
// blocks small.
struct WorkPlan {
  // Each thread holds a block of the log while reading and a bucket while
  // sorting, so memory grows with their number; and the reading threads
  // wait for the one that hands their record lines on in order anyway.
  static constexpr unsigned kMostThreads = 4;

  std::size_t blockBytes = std::size_t{1} << 20;
  unsigned threads = 0;

  unsigned threadCount() const {
    if (threads != 0) return threads;
    unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : std::min(cores, kMostThreads);
  }
};

// What one run shares between its driver, its reader and its sort stage. Each
// run owns one; nothing of it outlives the run.
struct RunContext {
  RunOptions options;
  Console console;
  WorkPlan work;
  RecordSink* sink = nullptr;
  std::string logName;  // as given on the command line, for messages
  int sortColumn = 0;   // callsign column of the record lines written; 0 if none
};

}  // namespace quorvel
