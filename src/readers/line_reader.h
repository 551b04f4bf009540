#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "base/bounds.h"
#include "base/bytes.h"
#include "base/files.h"
#include "base/status.h"
#include "base/system_error.h"
#include "readers/log_source.h"

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
bool splitOffLine(std::string_view& text, Line& line);

// Room for bytes read from a log. Growing it does not clear the new room:
// the reader clears only the padding behind what it read, so a small log
// touches little memory however large the room.
class ReadBuffer {
 public:
  char* data() { return bytes_.get(); }
  const char* data() const { return bytes_.get(); }
  std::size_t size() const { return size_; }
  // Makes room for `size` bytes, keeping the first `keep`.
  void grow(std::size_t size, std::size_t keep);
  void swap(ReadBuffer& other) {
    std::swap(bytes_, other.bytes_);
    std::swap(size_, other.size_);
  }

 private:
  std::unique_ptr<char[]> bytes_;
  std::size_t size_ = 0;
};

// A run of whole lines cut off a log at once, to be read elsewhere. Its
// bytes, and kReadPadding bytes after them, stay valid as long as the
// block is not handed to the reader again.
struct LineBlock {
  ReadBuffer storage;
  std::size_t begin = 0;
  std::size_t end = 0;
  // Where in text() the first line cut at kMostLineBytes begins, when it is
  // in this block and no line was cut before; npos else.
  std::size_t cutLine = std::string_view::npos;

  std::string_view text() const { return std::string_view(storage.data() + begin, end - begin); }
};

// Whether a block may end after the line `text` (its line end left out).
using BlockCutRule = bool (*)(std::string_view text);

// Where a line too long to hold whole may be cut: the length of the first
// piece of `text` that reads as a line of its own, or 0 when none does.
using LineCutRule = std::size_t (*)(std::string_view text);
// Where reading goes on in bytes read past a line cut at kMostLineBytes:
// the position in `skipped` of the first byte to keep again, or npos to
// skip all of it. The default goes on at the line's end.
using LineResumeRule = std::size_t (*)(std::string_view skipped);

// Splits a log into lines. This is the one place that defines the input's
// line structure: a line ends at "\n", a "\r" right before it belongs to the
// line end, and lines of any length come whole. Reads in large blocks, a
// UTF-16 log decoded to UTF-8 (see LogSource).
//
// No line is held longer than kMostLineBytes: a longer one keeps its first
// kMostLineBytes bytes, cut at a character boundary, and the rest is read
// past without being stored, so memory stays flat on any input. The first
// line so cut is remembered by its number.
//
// Every text it gives (a line, a peek, a block) is followed by at least
// kReadPadding readable bytes, as a lexer relies on the terminating NUL of
// its input: the tag search loads 8 and 16 bytes at a time without a
// bounds check. The text of a line stays valid until the next call of
// next() or peek().
class LineReader {
 public:
  // Reads from `log`, which the caller keeps open while the reader is used;
  // `name` is the log's name as messages show it (shownName).
  LineReader(const File& log, std::string name);

  // Gives the next line. False at the end of the input, and on a read
  // error, which status() then reports.
  bool next(Line& line);

  // The first `count` bytes not yet taken as lines (fewer at the end of the
  // input), without taking them.
  std::string_view peek(std::size_t count);

  // Cuts the next whole lines, at least `size` bytes of them unless the
  // input ends first, into `block`. The block ends after a line that `cut`
  // accepts, unless none of the last few lines does. `block`'s storage is
  // recycled. False when no line is left; a read error keeps only the
  // whole lines read before it.
  bool nextBlock(std::size_t size, BlockCutRule cut, LineBlock& block);

  // The bytes not yet taken, lines or not, as many as were read at once
  // (at least one), and takes them. Empty at the end of the input and on a
  // read error, which status() then reports. The text stays valid until
  // the next call of any reading function.
  std::string_view nextBytes();

  // Whether the log was decoded from UTF-16 to UTF-8 on its way here.
  bool decodedFromUtf16() const { return source_.decodesUtf16(); }

  // Lets the reader cut a line longer than a block into pieces where `cut`
  // says, so that no more than about a block of it is held: a log written
  // as one long line. The pieces come as lines without a new line.
  // A line cut at kMostLineBytes goes on where `resume` says: an ADIF
  // record's "<EOR>" and the records behind it are not lost with the rest
  // of the line.
  void cutLongLines(LineCutRule cut, LineResumeRule resume = nullptr) {
    cutLong_ = cut;
    resume_ = resume;
  }
  // Whether the line next() handed out last was cut at kMostLineBytes.
  bool lastLineCut() const { return lastCut_; }
  // The lines next() has handed out so far that ended with a new line.
  std::size_t linesTaken() const { return linesTaken_; }
  // Notes that a line was cut at kMostLineBytes; a line handed out in a
  // block is numbered by its reader.
  void noteCutLine(std::size_t line) { noteCut(line, "the line", kMostLineText); }
  // Notes that the reader cut `what` (a value, named as the log names it)
  // at line `line` to its first `bound`. The first cut of the log is kept,
  // a value's before its line's.
  void noteCut(std::size_t line, std::string what, std::string_view bound);
  // The notice on the first cut, naming the log, the line and what was
  // cut; empty when nothing was.
  std::string cutNotice() const;

  // The log's name as messages show it.
  const std::string& name() const { return name_; }

  // True once the whole input has been taken.
  bool exhausted() const { return atEnd_ && begin_ == end_; }

  // Ok, or after a read error "error reading file %s: %s\n" with the log's
  // name and the system's reason.
  Status status() const;

 private:
  // Reads more input, at most `most` bytes, behind the buffered bytes;
  // false at the end or on an error.
  bool fill(std::size_t most = SIZE_MAX);
  // Where a block of about `size` bytes cut now should end: one past the
  // "\n" of a line that `cut` accepts, else of the last whole line within
  // `size` bytes, else of the first; 0 when no line is whole.
  std::size_t blockEnd(std::size_t size, BlockCutRule cut) const;
  // Where pieces of the unfinished line, at least `size` bytes of them but
  // for the last, end when it is longer than `longer` and may be cut; else 0.
  std::size_t piecesEnd(std::size_t size, std::size_t longer) const;
  // Makes room for `bytes` bytes from the start of the buffer, padding
  // after them included.
  void reserve(std::size_t bytes);
  // Cuts each line of the buffer longer than kMostLineBytes, one that the
  // cut rule may cut into pieces left whole.
  void cutOverlongLines();
  // Keeps kMostLineBytes of the line that begins at `start`, and reads past
  // the rest of it up to where reading goes on there; gives where that is.
  std::size_t cutLineAt(std::size_t start);
  // Marks the cut line, when the line beginning at `start` is it and it is
  // handed out by next().
  void takeLineAt(std::size_t start, bool ended);
  // Notes the end of the input, or a read error, from what a read `got`.
  void noteEnd(std::int64_t got) {
    if (got < 0) readError_ = lastSystemError();
    (got == 0 ? atEnd_ : failed_) = true;
  }
  // Clears the padding behind the bytes read, which the tag search may load.
  void clearPadding() { std::memset(buffer_.data() + end_, 0, kReadPadding); }

  LogSource source_;
  LineCutRule cutLong_ = nullptr;
  LineResumeRule resume_ = nullptr;
  std::string name_;
  ReadBuffer buffer_;
  std::size_t begin_ = 0;    // first byte not yet handed out
  std::size_t end_ = 0;      // one past the last byte read
  std::size_t scanned_ = 0;  // bytes from begin_ known to hold no "\n"
  std::size_t linesTaken_ = 0;
  std::size_t cutLine_ = 0;  // 0 while nothing was cut
  std::string cutWhat_;
  std::string_view cutBound_;
  std::size_t cutAt_ = std::string_view::npos;  // the cut line's start in the buffer, until it is handed out
  bool lastCut_ = false;
  bool atEnd_ = false;
  bool failed_ = false;
  SystemError readError_;  // why the read failed
};

}  // namespace quorvel
