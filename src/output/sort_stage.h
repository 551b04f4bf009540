#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/checkpoint.h"
#include "base/console.h"
#include "base/status.h"
#include "base/work_plan.h"
#include "output/bucket_names.h"
#include "output/line_sort.h"
#include "output/run_folder.h"

namespace quorvel {

// How the sort stage works.
struct SortSettings {
  SortKey key;
  bool unique = false;   // a line that stands more than once in a list is written once
  unsigned threads = 0;  // buckets sorted at once; 0: one per core
  // The bytes the stage may hold, shared by its threads. A bucket too large
  // for its thread's share is sorted in runs, each written to a file beside
  // it, and the runs are merged into its sorted file.
  std::size_t memory = WorkPlan{}.sortMemory;
  Checkpoint checkpoint = {};  // told of each list written and each bucket deleted
  // Each list's lines also go whole, with what they carry, to its page
  // file (RunFolder::pageLinesName), for the lookup page to read.
  bool pageFiles = false;
  // How many bytes of each bucket file, in the order of kBucketCharacters,
  // earlier runs left: the lines after them are this run's. All of them,
  // unless told.
  std::array<std::uint64_t, kBucketCharacters.size()> earlierBytes = [] {
    std::array<std::uint64_t, kBucketCharacters.size()> all{};
    all.fill(UINT64_MAX);
    return all;
  }();
};

struct SortOutcome {
  // Per bucket, in the order of kBucketCharacters: ok once its list is
  // written, else why not.
  std::vector<Status> buckets;
  long dropped = 0;  // repeated lines left out under `unique`

  // The characters of the buckets whose lists were written.
  std::string listed() const;
};

// The sort stage: for each bucket character in order, writes it on the
// console's out stream and sorts its bucket file into its sorted file; a
// new line ends the row. A sorted file appears only once it is complete.
// A bucket that cannot be read, or whose sorted file cannot be written
// whole, fails with "unable to sort file %s\n". Bucket files stay: a run
// interrupted while it sorts still has every one of them.
// The bucket files and lists are those of `folder`.
SortOutcome sortBuckets(const RunFolder& folder, const SortSettings& settings, const Console& console);

// Once every list is written: deletes the bucket file of each bucket whose
// list was written (a bucket file left behind would be sorted into the
// next run's lists a second time) and keeps the others. Reports, in bucket
// order, each bucket not sorted and each that cannot be deleted ("unable
// to delete file %s\n").
Status deleteSortedBuckets(const RunFolder& folder, const SortSettings& settings, const SortOutcome& sorted);

}  // namespace quorvel
