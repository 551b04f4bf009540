#pragma once

#include <string>
#include <string_view>

#include "base/status.h"

namespace quorvel {

// "LOOKUP.HTM", or "lookup.htm" with -lower: the run's lookup page.
std::string lookupPageName(bool lowerCaseNames);

// Appends the bytes of a list to `out` as the text of a JSON string, a few
// bytes at a time, as they come: a new line as "\n" except the last one's,
// a CR before a new line dropped, quotes, backslashes, controls and "<" (so
// that nothing in it can end the page's data block) escaped, valid UTF-8 as
// it stands and every other byte as the Latin-1 character it is in old logs.
class JsonTextWriter {
 public:
  explicit JsonTextWriter(std::string& out) : out_(out) {}
  void write(std::string_view bytes);
  // Writes out a UTF-8 sequence left unfinished; the last new line goes.
  void finish();

 private:
  void writeByte(unsigned char byte);
  void writeLatin1(std::string_view bytes);

  std::string& out_;
  std::string unfinished_;  // the start of a UTF-8 sequence cut by a block's end
  bool newline_ = false;    // a new line not yet written: it may be the last
  bool carriageReturn_ = false;
};

// Writes the lookup page from the 36 sorted lists in `directory` ("" or a
// path ending in "/"), each read a block at a time: a page to look any
// callsign of them up in a browser, whose callsigns start at `sortColumn`.
// Written under a passing name and renamed over the old page once whole,
// never through a link. Fails with "unable to create file %s\n".
Status writeLookupPage(const std::string& directory, bool lowerCaseNames, int sortColumn);

}  // namespace quorvel
