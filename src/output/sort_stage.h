#pragma once

#include <cstddef>
#include <string>

#include "base/console.h"
#include "base/status.h"
#include "base/work_plan.h"
#include "output/line_sort.h"

namespace quorvel {

// How the sort stage works.
struct SortSettings {
  SortKey key;
  bool lowerCaseNames = false;
  bool unique = false;   // a line that stands more than once in a list is written once
  unsigned threads = 0;  // buckets sorted at once; 0: one per core
  // The bytes the stage may hold, shared by its threads. A bucket too large
  // for its thread's share is sorted in runs, each written to a file beside
  // it, and the runs are merged into its sorted file.
  std::size_t memory = WorkPlan{}.sortMemory;
};

struct SortOutcome {
  Status status = Status::ok();
  long dropped = 0;  // repeated lines left out under `unique`
};

// The sort stage: for each bucket character in order, writes it on the
// console's out stream, sorts its bucket file into its sorted file and
// deletes the bucket file; a new line ends the row. A sorted file appears
// only once it is complete. A bucket that cannot be read, or whose sorted
// file cannot be written whole, keeps its bucket file and is reported with
// "unable to sort file %s\n"; a bucket that cannot be deleted with "unable
// to delete file %s\n"; the other buckets are sorted all the same.
// `directory` is "" or ends in "/".
SortOutcome sortBuckets(const std::string& directory, const SortSettings& settings, const Console& console);

}  // namespace quorvel
