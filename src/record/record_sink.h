#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "base/status.h"

namespace quorvel {

// Where the readers hand their record lines. The run wires the bucket files;
// tests wire a recorder.
class RecordSink {
 public:
  virtual ~RecordSink() = default;

  // Appends `line` (one whole bucket line, line end included) to the bucket
  // of `bucketKey`, the first character of the contact's callsign. A key that
  // is neither a letter nor a digit selects no bucket: the line is dropped
  // silently. `untoldCallsign` is where the line's callsign starts when the
  // line does not carry that itself (see bucket_line.h), else npos. Fails
  // only when the bucket file cannot be written.
  virtual Status appendToBucket(char bucketKey, std::string_view line, std::size_t untoldCallsign) = 0;

  // One line of a run of them in one text: where it ends in the text (its
  // line end included; it starts where the one before ends), and its
  // appendToBucket() arguments.
  struct HandedLine {
    std::size_t end;
    long number;  // as its reader counted it
    std::size_t untoldCallsign;
    char bucketKey;
    bool lineMayCarry;  // mayCarry() of the line, its line end left out
  };
  // Appends the lines of `text` that `lines` mark out, in order, as
  // appendToBucket() appends each, and stops at the first it cannot.
  // `taken` gets how many it appended. A sink that takes a reader's
  // lines by the million does it without a call a line.
  virtual Status appendLines(std::string_view text, std::span<const HandedLine> lines, std::size_t& taken) {
    std::size_t begin = 0;
    for (taken = 0; taken < lines.size(); ++taken) {
      const HandedLine& line = lines[taken];
      Status status = appendToBucket(line.bucketKey, text.substr(begin, line.end - begin), line.untoldCallsign);
      if (!status.isOk()) return status;
      begin = line.end;
    }
    return Status::ok();
  }
};

}  // namespace quorvel
