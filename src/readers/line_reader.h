#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "quorvel/status.h"

namespace quorvel {

// One line of a log as the readers see it.
struct Line {
  std::string_view text;         // without its "\n" or "\r\n"
  bool endsWithNewline = false;  // false only for a last line without one

  // The line's length as it stood in the file, its line end counted as one
  // character. Readers that skip "lines shorter than two characters" mean
  // this length: a lone new line, or a lone character at the very end.
  std::size_t rawLength() const { return text.size() + (endsWithNewline ? 1 : 0); }
};

// Splits a log into lines. This is the one place that defines the input's
// line structure: a line ends at "\n", a "\r" right before it belongs to the
// line end, and lines of any length come whole. Reads in large blocks; the
// text of a line stays valid until the next call of next() or peek().
class LineReader {
 public:
  // Reads from `fd`, which the caller keeps open while the reader is used;
  // `name` is the log's name as the user gave it, for the error message.
  LineReader(int fd, std::string name);

  // Gives the next line. Returns false at the end of the input, and on a read
  // error, after which failed() is true.
  bool next(Line& line);

  // The first `count` bytes not yet taken as lines (fewer at the end of the
  // input), without taking them.
  std::string_view peek(std::size_t count);

  bool failed() const { return failed_; }

  // Ok, or after a read error "error reading file %s\n" with the log's name.
  Status status() const;

 private:
  // Reads one more block behind the buffered bytes; false at the end or on
  // an error.
  bool fill();

  int fd_;
  std::string name_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;    // first byte not yet handed out
  std::size_t end_ = 0;      // one past the last byte read
  std::size_t scanned_ = 0;  // bytes from begin_ known to hold no "\n"
  bool atEnd_ = false;
  bool failed_ = false;
};

}  // namespace quorvel
