#include "readers/log_source.h"

#include <algorithm>
#include <cstring>

#include "detect/text_encoding.h"

namespace quorvel {

namespace {

// The raw bytes of a UTF-16 log decoded at once.
constexpr std::size_t kDecodeSize = 256 * 1024;

// Reads into `bytes` until it holds `size` bytes or the file ends; false
// on an error.
bool readUpTo(const File& file, std::string& bytes, std::size_t size) {
  std::size_t have = bytes.size();
  bytes.resize(size);
  while (have < size) {
    std::int64_t got = readSome(file, bytes.data() + have, size - have);
    if (got < 0) return false;
    if (got == 0) break;
    have += static_cast<std::size_t>(got);
  }
  bytes.resize(have);
  return true;
}

}  // namespace

bool LogSource::start() {
  started_ = true;
  if (!readUpTo(log_, waiting_, kEncodingProbeSize)) return false;
  const EncodingFound found = detectTextEncoding(waiting_);
  if (found.encoding == TextEncoding::Bytes) handed_ = found.markLength;
  if (found.encoding != TextEncoding::Bytes) {
    decoder_.emplace(found.encoding == TextEncoding::Utf16BigEndian);
    raw_.assign(waiting_, found.markLength);
    waiting_.clear();
    // The line ends are told from as much decoded text as a log of bytes
    // shows.
    while (waiting_.size() < kEncodingProbeSize && decodeInto(waiting_)) {
    }
    if (failed_) return false;
  }
  crLineEnds_ = endsLinesWithCr(waiting_);
  return true;
}

bool LogSource::decodeInto(std::string& out) {
  if (ended_ || failed_) return false;
  if (raw_.empty()) {
    if (!readUpTo(log_, raw_, kDecodeSize)) {
      failed_ = true;
      return false;
    }
    if (raw_.empty()) {
      decoder_->finish(out);
      ended_ = true;
      return false;
    }
  }
  decoder_->decode(raw_, out);
  raw_.clear();
  return true;
}

bool LogSource::decodeMore() {
  waiting_.clear();
  handed_ = 0;
  while (waiting_.empty() && decodeInto(waiting_)) {
  }
  return !waiting_.empty();
}

std::int64_t LogSource::handOut(char* into, std::size_t size) {
  const std::size_t count = std::min(size, waiting_.size() - handed_);
  std::memcpy(into, waiting_.data() + handed_, count);
  handed_ += count;
  return static_cast<std::int64_t>(count);
}

std::int64_t LogSource::readText(char* into, std::size_t size) {
  if (!started_ && !start()) failed_ = true;
  if (failed_) return -1;
  if (handed_ < waiting_.size()) return handOut(into, size);
  if (!decoder_) return readSome(log_, into, size);
  if (!decodeMore()) return failed_ ? -1 : 0;
  return handOut(into, size);
}

std::size_t LogSource::crToLf(char* text, std::size_t count) {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const char c = text[i];
    if (c == '\n' && afterCr_) {
      afterCr_ = false;
      continue;
    }
    afterCr_ = c == '\r';
    text[kept++] = afterCr_ ? '\n' : c;
  }
  return kept;
}

std::int64_t LogSource::read(char* into, std::size_t size) {
  for (;;) {
    const std::int64_t got = readText(into, size);
    if (got <= 0 || !crLineEnds_) return got;
    // A piece that was one LF of a CR LF leaves nothing: read on.
    if (const std::size_t kept = crToLf(into, static_cast<std::size_t>(got)); kept > 0) {
      return static_cast<std::int64_t>(kept);
    }
  }
}

}  // namespace quorvel
