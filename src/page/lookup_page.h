#pragma once

#include <string>

#include "base/status.h"
#include "record/record_line.h"

namespace quorvel {

// "LOOKUP.HTM", or "lookup.htm" with -lower: the run's lookup page.
std::string lookupPageName(bool lowerCaseNames);

// Writes the lookup page from the 36 sorted lists in `directory` ("" or a
// path ending in "/"), each read a block at a time: a page to look any
// callsign of them up in a browser. Each line is split into its fields by
// `layout`, the layout of the run's record lines; a line it cannot split
// reaches the page whole. Written under a passing name and renamed over the
// old page once whole, never through a link. Fails with "unable to create
// file %s\n".
Status writeLookupPage(const std::string& directory, bool lowerCaseNames, const RecordLayout& layout);

}  // namespace quorvel
