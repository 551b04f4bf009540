#include "readers/line_reader.h"

#include <algorithm>
#include <cstring>

#include "base/bounds.h"
#include "base/bytes.h"

namespace quorvel {

namespace {
constexpr std::size_t kBlockSize = 256 * 1024;
// How many lines back from the end of a block a cut is looked for.
constexpr int kCutSearchLines = 64;

std::string_view withoutLineEnd(const char* start, std::size_t length) {
  if (length > 0 && start[length - 1] == '\r') --length;
  return std::string_view(start, length);
}
// The position of the last "\n" in data[from, to), or `to` if none.
std::size_t lastNewline(const char* data, std::size_t from, std::size_t to) {
  for (std::size_t at = to; at > from; --at) {
    if (data[at - 1] == '\n') return at - 1;
  }
  return to;
}
}  // namespace

bool splitOffLine(std::string_view& text, Line& line) {
  if (text.empty()) return false;
  const void* found = std::memchr(text.data(), '\n', text.size());
  if (found == nullptr) {
    line.text = text;
    line.endsWithNewline = false;
    text = {};
    return true;
  }
  std::size_t length = static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
  line.text = withoutLineEnd(text.data(), length);
  line.endsWithNewline = true;
  text.remove_prefix(length + 1);
  return true;
}

void ReadBuffer::grow(std::size_t size, std::size_t keep) {
  if (size <= size_) return;
  std::unique_ptr<char[]> bytes(new char[size]);
  if (keep > 0) std::memcpy(bytes.get(), bytes_.get(), keep);
  bytes_ = std::move(bytes);
  size_ = size;
}

LineReader::LineReader(const File& log, std::string name) : source_(log), name_(std::move(name)) {
  reserve(kBlockSize);
  clearPadding();
}

Status LineReader::status() const {
  return failed_ ? Status::failure("error reading file " + name_ + ": " + readError_.reason + "\n") : Status::ok();
}

void LineReader::reserve(std::size_t bytes) { buffer_.grow(bytes + kReadPadding, end_); }

bool LineReader::fill(std::size_t most) {
  if (atEnd_ || failed_) return false;
  if (begin_ > 0) {
    // Move the unfinished line to the front so the buffer only grows for
    // lines longer than itself.
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    if (cutAt_ != std::string_view::npos) cutAt_ -= begin_;
    begin_ = 0;
  }
  std::size_t room = buffer_.size() - kReadPadding - end_;
  if (room < kBlockSize / 2) reserve(std::max(2 * (buffer_.size() - kReadPadding), kBlockSize));
  std::int64_t got = source_.read(buffer_.data() + end_, std::min(most, buffer_.size() - kReadPadding - end_));
  if (got > 0) {
    end_ += static_cast<std::size_t>(got);
    clearPadding();
    if (end_ - begin_ >= kMostLineBytes) cutOverlongLines();
    return true;
  }
  noteEnd(got);
  return false;
}

bool LineReader::next(Line& line) {
  for (;;) {
    const char* start = buffer_.data() + begin_;
    std::size_t unscanned = end_ - begin_ - scanned_;
    const void* found = unscanned == 0 ? nullptr : std::memchr(start + scanned_, '\n', unscanned);
    if (found != nullptr) {
      std::size_t length = static_cast<std::size_t>(static_cast<const char*>(found) - start);
      takeLineAt(begin_, true);
      begin_ += length + 1;
      scanned_ = 0;
      line.text = withoutLineEnd(start, length);
      line.endsWithNewline = true;
      return true;
    }
    scanned_ = end_ - begin_;
    if (std::size_t piece = piecesEnd(1, kBlockSize); piece != 0) {
      line.text = std::string_view(start, piece - begin_);
      line.endsWithNewline = false;
      takeLineAt(begin_, false);
      begin_ = piece;
      scanned_ = end_ - begin_;
      return true;
    }
    if (!fill()) break;
  }
  if (failed_ || begin_ == end_) return false;
  line.text = std::string_view(buffer_.data() + begin_, end_ - begin_);
  line.endsWithNewline = false;
  takeLineAt(begin_, false);
  begin_ = end_;
  scanned_ = 0;
  return true;
}

void LineReader::cutOverlongLines() {
  for (std::size_t start = begin_; end_ - start >= kMostLineBytes;) {
    const std::string_view rest(buffer_.data() + start, end_ - start);
    const std::size_t length = std::min(rest.find('\n'), rest.size());
    // A line within the bound, or one that may be cut into pieces, stays
    // whole.
    if (length < kMostLineBytes || (cutLong_ != nullptr && cutLong_(rest.substr(0, kMostLineBytes)) != 0)) {
      if (length == rest.size()) return;
      start += length + 1;
      continue;
    }
    start = cutLineAt(start);
  }
}

std::size_t LineReader::cutLineAt(std::size_t start) {
  const std::size_t kept =
      start + cutAtCharacter(std::string_view(buffer_.data() + start, end_ - start), kMostLineBytes);
  if (cutAt_ == std::string_view::npos) cutAt_ = start;
  reserve(kMostLineBytes + kBlockSize);
  char* data = buffer_.data();
  // The bytes from `kept` on are read past, a buffer at a time, up to where
  // reading goes on; a few are kept back, which may begin the mark.
  constexpr std::size_t kMarkOverlap = 8;
  for (;;) {
    const std::string_view skipped(data + kept, end_ - kept);
    const std::size_t at = resume_ != nullptr ? resume_(skipped) : skipped.find('\n');
    if (at != std::string_view::npos) {
      std::memmove(data + kept, skipped.data() + at, skipped.size() - at);
      end_ = kept + (skipped.size() - at);
      break;
    }
    const std::size_t overlap = std::min(kMarkOverlap, skipped.size());
    std::memmove(data + kept, skipped.data() + skipped.size() - overlap, overlap);
    end_ = kept + overlap;
    const std::int64_t got = source_.read(data + end_, buffer_.size() - kReadPadding - end_);
    if (got <= 0) {
      noteEnd(got);
      end_ = kept;  // what was kept back is part of the line read past
      break;
    }
    end_ += static_cast<std::size_t>(got);
  }
  scanned_ = 0;
  clearPadding();
  return kept;
}

void LineReader::takeLineAt(std::size_t start, bool ended) {
  lastCut_ = cutAt_ == start;
  if (lastCut_) {
    noteCutLine(linesTaken_ + 1);
    cutAt_ = std::string_view::npos;
  }
  linesTaken_ += ended ? 1 : 0;
}

void LineReader::noteCut(std::size_t line, std::string what, std::string_view bound) {
  const bool isLine = what == "the line";
  if (cutLine_ != 0 && (line > cutLine_ || (line == cutLine_ && (isLine || cutWhat_ != "the line")))) return;
  cutLine_ = line;
  cutWhat_ = std::move(what);
  cutBound_ = bound;
}

std::string LineReader::cutNotice() const {
  if (cutLine_ == 0) return {};
  return "cut in file " + name_ + " at line " + std::to_string(cutLine_) + ": " + cutWhat_ + " is longer than " +
         std::string(cutBound_) + ", so only its first " + std::string(cutBound_) + " was kept\n";
}

std::size_t LineReader::piecesEnd(std::size_t size, std::size_t longer) const {
  if (cutLong_ == nullptr) return 0;
  const char* start = buffer_.data() + begin_;
  const void* newline = std::memchr(start, '\n', end_ - begin_);
  const std::string_view line(
      start, newline == nullptr ? end_ - begin_ : static_cast<std::size_t>(static_cast<const char*>(newline) - start));
  if (line.size() <= longer) return 0;
  std::size_t taken = 0;
  while (taken < size) {
    const std::size_t piece = cutLong_(line.substr(taken));
    if (piece == 0) break;
    taken += piece;
  }
  return taken == 0 ? 0 : begin_ + taken;
}

std::size_t LineReader::blockEnd(std::size_t size, BlockCutRule cut) const {
  const char* data = buffer_.data();
  std::size_t limit = std::min(end_, begin_ + size);
  // The first `scanned_` bytes are known to hold no "\n".
  std::size_t from = std::min(limit, begin_ + scanned_);
  // Back from the limit to a line the rule accepts, or to the last whole
  // line within the limit...
  std::size_t lastWhole = 0;
  std::size_t lineEnd = limit;
  for (int tried = 0; tried <= kCutSearchLines; ++tried) {
    std::size_t newline = lastNewline(data, from, lineEnd);
    if (newline == lineEnd) break;
    if (lastWhole == 0) lastWhole = newline + 1;
    if (cut == nullptr) return lastWhole;
    std::size_t before = lastNewline(data, begin_, newline);
    std::size_t lineStart = before == newline ? begin_ : before + 1;
    if (cut(withoutLineEnd(data + lineStart, newline - lineStart))) return newline + 1;
    lineEnd = lineStart;
  }
  if (lastWhole != 0) return lastWhole;
  // ...else forward from the limit, when no line ends within it.
  std::size_t lineStart = begin_;
  for (int tried = 0; tried <= kCutSearchLines; ++tried) {
    std::size_t searchFrom = std::max(lineStart, from);
    if (searchFrom >= end_) break;
    const void* found = std::memchr(data + searchFrom, '\n', end_ - searchFrom);
    if (found == nullptr) break;
    std::size_t newline = static_cast<std::size_t>(static_cast<const char*>(found) - data);
    if (lastWhole == 0) lastWhole = newline + 1;
    if (cut == nullptr || cut(withoutLineEnd(data + lineStart, newline - lineStart))) return newline + 1;
    lineStart = newline + 1;
  }
  return lastWhole;
}

bool LineReader::nextBlock(std::size_t size, BlockCutRule cut, LineBlock& block) {
  // Reading no more than the block needs keeps the bytes read past its
  // cut, which are copied over to the next one, few.
  while (end_ - begin_ < size && fill(size - (end_ - begin_))) {
  }
  // A first line longer than the block is cut into pieces where it may be.
  auto endOfBlock = [this, size, cut] {
    const std::size_t end = blockEnd(size, cut);
    const std::size_t pieces = end == 0 || end - begin_ > size ? piecesEnd(size, size) : 0;
    return pieces != 0 ? pieces : end;
  };
  std::size_t blockEnd = endOfBlock();
  while (blockEnd == 0) {  // no line ends in the buffer yet
    scanned_ = end_ - begin_;
    if (!fill()) break;
    blockEnd = endOfBlock();
  }
  if (blockEnd == 0) {
    // The input ended (or broke off) inside its last line, which is whole
    // only at a real end.
    if (failed_ || begin_ == end_) return false;
    blockEnd = end_;
  }
  // The block keeps the buffer; the reader goes on in the block's old
  // storage with the bytes behind the cut.
  std::size_t rest = end_ - blockEnd;
  block.storage.swap(buffer_);
  block.begin = begin_;
  block.end = blockEnd;
  block.cutLine = std::string_view::npos;
  if (cutAt_ != std::string_view::npos && cutAt_ < blockEnd) {
    block.cutLine = cutAt_ - begin_;
    cutAt_ = std::string_view::npos;
  } else if (cutAt_ != std::string_view::npos) {
    cutAt_ -= blockEnd;  // the rest moves to the front
  }
  // (A reader that has taken the whole input needs no room any more.)
  bool more = rest > 0 || !atEnd_;
  std::size_t room =
      more && buffer_.size() < rest + kBlockSize / 2 + kReadPadding ? std::max(kBlockSize, rest + kBlockSize) : rest;
  buffer_.grow(room + kReadPadding, 0);
  if (rest > 0) std::memcpy(buffer_.data(), block.storage.data() + blockEnd, rest);
  begin_ = 0;
  end_ = rest;
  clearPadding();
  scanned_ = 0;
  return true;
}

std::string_view LineReader::nextBytes() {
  if (begin_ == end_ && !fill()) return {};
  std::string_view bytes(buffer_.data() + begin_, end_ - begin_);
  begin_ = end_;
  scanned_ = 0;
  return bytes;
}

std::string_view LineReader::peek(std::size_t count) {
  while (end_ - begin_ < count && fill()) {
  }
  std::size_t available = end_ - begin_;
  return std::string_view(buffer_.data() + begin_, available < count ? available : count);
}

}  // namespace quorvel
