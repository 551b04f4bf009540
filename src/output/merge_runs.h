#pragma once

#include <string>
#include <vector>

#include "output/line_sort.h"
#include "output/sorted_output.h"

namespace quorvel {

// Merges sorted runs, files of bucket lines that each end with "\n" and
// stand in the order of compareInOrder, into `output`, which it closes:
// lines by that order, lines of equal keys in the order of the runs they
// come from, so that runs cut from a bucket one after another merge into
// its stable sort. With `unique`, a line equal to the one written before
// it is left out and counted in `dropped`. Each run is read through a
// buffer of `bufferBytes` (a longer line is held whole). False when a run
// cannot be read or the output written whole; the output may then stand
// half-written.
bool mergeRuns(const std::vector<std::string>& runs, SortedOutput output, const SortKey& key, bool unique,
               std::size_t bufferBytes, long& dropped);

}  // namespace quorvel
