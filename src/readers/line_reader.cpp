#include "readers/line_reader.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quorvel {

namespace {
constexpr std::size_t kBlockSize = 256 * 1024;
}

LineReader::LineReader(int fd, std::string name) : fd_(fd), name_(std::move(name)), buffer_(kBlockSize) {}

Status LineReader::status() const {
  return failed_ ? Status::failure("error reading file " + name_ + "\n") : Status::ok();
}

bool LineReader::fill() {
  if (atEnd_ || failed_) return false;
  if (begin_ > 0) {
    // Move the unfinished line to the front so the buffer only grows for
    // lines longer than itself.
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (buffer_.size() - end_ < kBlockSize / 2) buffer_.resize(buffer_.size() * 2);
  for (;;) {
    ssize_t got = ::read(fd_, buffer_.data() + end_, buffer_.size() - end_);
    if (got > 0) {
      end_ += static_cast<std::size_t>(got);
      return true;
    }
    if (got == 0) {
      atEnd_ = true;
      return false;
    }
    if (errno != EINTR) {
      failed_ = true;
      return false;
    }
  }
}

bool LineReader::next(Line& line) {
  for (;;) {
    const char* start = buffer_.data() + begin_;
    const void* found = std::memchr(start + scanned_, '\n', end_ - begin_ - scanned_);
    if (found != nullptr) {
      std::size_t length = static_cast<std::size_t>(static_cast<const char*>(found) - start);
      begin_ += length + 1;
      scanned_ = 0;
      if (length > 0 && start[length - 1] == '\r') --length;
      line.text = std::string_view(start, length);
      line.endsWithNewline = true;
      return true;
    }
    scanned_ = end_ - begin_;
    if (!fill()) break;
  }
  if (failed_ || begin_ == end_) return false;
  line.text = std::string_view(buffer_.data() + begin_, end_ - begin_);
  line.endsWithNewline = false;
  begin_ = end_;
  scanned_ = 0;
  return true;
}

std::string_view LineReader::peek(std::size_t count) {
  while (end_ - begin_ < count && fill()) {
  }
  std::size_t available = end_ - begin_;
  return std::string_view(buffer_.data() + begin_, available < count ? available : count);
}

}  // namespace quorvel
