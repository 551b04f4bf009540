#pragma once

#include <string>

#include "base/status.h"
#include "record/record_line.h"

namespace quorvel {

// "LOOKUP.HTM", or "lookup.htm" with -lower: the run's lookup page.
std::string lookupPageName(bool lowerCaseNames);

// Writes the lookup page from the 36 sorted lists in `directory` ("" or a
// path ending in "/"), each read a block at a time: a page to look any
// callsign of them up in a browser. Each list is read from the page file
// the sort stage left beside it (pageFileName), which goes once read: a
// line the run wrote shows its contact as its reader understood it; any
// other is split into its fields by `layout`, the layout of the run's
// record lines, and one it cannot split reaches the page whole. A list
// with no page file is read as it stands. Written under a passing name and
// renamed over the old page once whole, never through a link. Fails with
// "unable to create file %s\n".
Status writeLookupPage(const std::string& directory, bool lowerCaseNames, const RecordLayout& layout);

}  // namespace quorvel
