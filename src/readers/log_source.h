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
// in the same log saved as UTF-8; any other log comes as it stands, but
// for a UTF-8 byte-order mark, which is left out too. A log
// whose start ends its lines with CR alone (see endsLinesWithCr) is given
// with LF line ends, a CR LF that comes later as one LF, so that every
// reader sees the lines it would in the same log written on Unix.
class LogSource {
 public:
  // Reads from `log`, which the caller keeps open while the source is used.
  explicit LogSource(const File& log) : log_(log) {}

  // Reads up to `size` bytes into `into`: how many were read, 0 at the
  // end, -1 on a read error.
  std::int64_t read(char* into, std::size_t size);

  // Whether the log, as far as it was read, is UTF-16 decoded to UTF-8.
  bool decodesUtf16() const { return decoder_.has_value(); }

 private:
  // Reads the start of the log and tells its encoding; false on an error.
  bool start();
  // Decodes the next piece of raw UTF-16 onto `out`; false at the end of
  // the log or on an error (failed_).
  bool decodeInto(std::string& out);
  // Decodes the next piece of a UTF-16 log; false at its end.
  bool decodeMore();
  std::int64_t handOut(char* into, std::size_t size);  // from waiting_
  // The bytes as they stand, or decoded from UTF-16.
  std::int64_t readText(char* into, std::size_t size);
  // Makes the CRs of `count` bytes at `text` LFs and drops the LF of a CR
  // LF; how many bytes are left.
  std::size_t crToLf(char* text, std::size_t count);

  const File& log_;
  bool started_ = false;
  bool failed_ = false;
  bool ended_ = false;
  bool crLineEnds_ = false;
  bool afterCr_ = false;  // the last byte given was a CR made an LF
  std::optional<Utf16Decoder> decoder_;
  std::string raw_;         // bytes read and not yet decoded (UTF-16 only)
  std::string waiting_;     // bytes ready for the readers
  std::size_t handed_ = 0;  // of waiting_
};

}  // namespace quorvel
