#pragma once

#include <string>

#include "base/status.h"
#include "output/run_folder.h"
#include "record/record_line.h"

namespace quorvel {

// Writes the lookup page (RunFolder::pageName) from the 36 sorted lists in
// `folder`, each read a block at a time: a page to look any
// callsign of them up in a browser. Each list is read from the page file
// the sort stage left beside it (RunFolder::pageLinesName), which goes once read: a
// line the run wrote shows its contact as its reader understood it; any
// other is split into its fields by `layout`, the layout of the run's
// record lines, and one it cannot split reaches the page whole. A list
// with no page file is read as it stands. Written whole or not at all
// (RunFolder::writeWhole), never through a link. Fails with
// "unable to create file %s\n".
Status writeLookupPage(const RunFolder& folder, const RecordLayout& layout);

}  // namespace quorvel
