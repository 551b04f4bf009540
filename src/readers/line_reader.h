#pragma once

#include <cstddef>
#include <cstdint>
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

// Splits the next line off the front of `text`, which holds whole lines
// (the last one may lack its new line), by the same rules as LineReader.
// False when `text` is empty.
bool takeLine(std::string_view& text, Line& line);

// A run of whole lines taken off a log at once, to be read elsewhere. Its
// bytes stay valid as long as the block is not handed to the reader again.
struct LineBlock {
  std::vector<char> storage;
  std::size_t begin = 0;
  std::size_t end = 0;

  std::string_view text() const { return std::string_view(storage.data() + begin, end - begin); }
};

// Whether a block may end after the line `text` (its line end left out).
using BlockCutRule = bool (*)(std::string_view text);

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

  // Takes the next whole lines, at least `size` bytes of them unless the
  // input ends first, into `block`. The block ends after a line that `cut`
  // accepts (any line if `cut` is null), unless none of the last few lines
  // does. `block`'s storage is recycled. False when no line is left; a read
  // error keeps only the whole lines read before it.
  bool takeBlock(std::size_t size, BlockCutRule cut, LineBlock& block);

  // True once the whole input has been taken.
  bool exhausted() const { return atEnd_ && begin_ == end_; }
  bool failed() const { return failed_; }

  // Ok, or after a read error "error reading file %s\n" with the log's name.
  Status status() const;

 private:
  // Reads more input, at most `most` bytes, behind the buffered bytes;
  // false at the end or on an error.
  bool fill(std::size_t most = SIZE_MAX);
  // Where a block of about `size` bytes taken now should end: one past the
  // "\n" of a line that `cut` accepts, else of the last whole line within
  // `size` bytes, else of the first; 0 when no line is whole.
  std::size_t blockEnd(std::size_t size, BlockCutRule cut) const;

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
