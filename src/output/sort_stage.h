#pragma once

#include <string>

#include "base/console.h"
#include "base/status.h"

namespace quorvel {

// The sort stage: for each bucket character in order, writes it on the
// console's out stream, sorts its bucket file by `sortColumn` (see
// sortLinesByColumn) into its sorted file and deletes the bucket file; a
// new line ends the row. A sorted file appears only once it is complete. A
// bucket that cannot be read, or whose sorted file cannot be written whole,
// keeps its bucket file and is reported with "unable to sort file %s\n"; a
// bucket that cannot be deleted with "unable to delete file %s\n"; the
// other buckets are sorted all the same. `directory` is "" or ends in "/".
// Buckets are sorted on `threads` threads at once (0: one per core).
Status sortBuckets(const std::string& directory, bool lowerCaseNames, int sortColumn, const Console& console,
                   unsigned threads = 0);

}  // namespace quorvel
