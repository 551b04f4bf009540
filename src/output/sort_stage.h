#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "quorvel/run_context.h"
#include "quorvel/status.h"

namespace quorvel {

// Orders `lines` (each without its new line) by their text from the 1-based
// `sortColumn` on, compared as unsigned bytes; a column below 1 counts as 1
// and a line shorter than the column compares as empty. Lines with equal
// keys keep their order.
void sortLinesByColumn(std::vector<std::string_view>& lines, int sortColumn);

// The sort stage: for each bucket character in order, writes it on the
// console's out stream, sorts its bucket file by `sortColumn` into its sorted
// file and deletes the bucket file; a new line ends the row. A bucket that
// cannot be read, or whose sorted file cannot be written whole, keeps its
// bucket file and is reported with "unable to sort file %s\n"; the other
// buckets are sorted all the same. `directory` is "" or ends in "/".
// Buckets are sorted on `threads` threads at once (0: one per core).
Status sortBuckets(const std::string& directory, bool lowerCaseNames, int sortColumn, const Console& console,
                   unsigned threads = 0);

}  // namespace quorvel
