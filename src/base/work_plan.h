#pragma once

#include <algorithm>
#include <cstddef>
#include <thread>

#include "base/checkpoint.h"

namespace quorvel {

// How a run shares out its work: a log's contacts are read in blocks of
// about `blockBytes` bytes, blocks and buckets are worked on by `threads`
// threads (0: one per core, at most kMostThreads), and the sort stage
// holds at most `sortMemory` bytes of lists. Tests make both small.
struct WorkPlan {
  // Each thread holds a block of the log while reading and a bucket while
  // sorting, so memory grows with their number; and the reading threads
  // wait for the one that hands their record lines on in order anyway.
  static constexpr unsigned kMostThreads = 4;

  std::size_t blockBytes = std::size_t{1} << 20;
  unsigned threads = 0;
  // A run's 64 MiB, less what the program holds besides the lists.
  std::size_t sortMemory = std::size_t{52} << 20;
  // Called at each RunPoint; tests end the program there.
  Checkpoint checkpoint = {};

  unsigned threadCount() const {
    if (threads != 0) return threads;
    unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : std::min(cores, kMostThreads);
  }
};

}  // namespace quorvel
