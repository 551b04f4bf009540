#pragma once

#include <cstddef>
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
};

}  // namespace quorvel
