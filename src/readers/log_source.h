#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "base/files.h"
#include "readers/utf16_decoder.h"

namespace quorvel {

// The bytes of a log as the readers see them. The start of the log tells
// its encoding: a log in UTF-16 (saved by a Windows tool as "Unicode") is
// decoded to UTF-8 as it is read, a block at a time, its byte-order mark
// left out, so that detection and the readers see just what they would
// in the same log saved as UTF-8; any other log comes as it stands.
class LogSource {
 public:
  // Reads from `log`, which the caller keeps open while the source is used.
  explicit LogSource(const File& log) : log_(log) {}

  // Reads up to `size` bytes into `into`: how many were read, 0 at the
  // end, -1 on a read error.
  std::int64_t read(char* into, std::size_t size);

 private:
  // Reads the start of the log and tells its encoding; false on an error.
  bool start();
  // Decodes the next piece of a UTF-16 log; false at its end.
  bool decodeMore();
  std::int64_t handOut(char* into, std::size_t size);  // from waiting_

  const File& log_;
  bool started_ = false;
  bool failed_ = false;
  bool ended_ = false;
  std::optional<Utf16Decoder> decoder_;
  std::string raw_;         // bytes read and not yet decoded (UTF-16 only)
  std::string waiting_;     // bytes ready for the readers
  std::size_t handed_ = 0;  // of waiting_
};

}  // namespace quorvel
