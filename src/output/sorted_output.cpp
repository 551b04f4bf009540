#include "output/sorted_output.h"

#include <utility>

#include "base/bytes.h"
#include "record/bucket_line.h"

namespace quorvel {

SortedOutput::Writer::Writer(File file, std::string& block, std::size_t blockBytes)
    : file_(std::move(file)), block_(block), blockBytes_(blockBytes) {
  if (file_.isOpen() && block_.size() < blockBytes_) block_.resize(blockBytes_);
}

bool SortedOutput::Writer::flush() {
  ok_ = ok_ && writeFully(file_, std::string_view(block_.data(), used_));
  used_ = 0;
  return ok_;
}

bool SortedOutput::Writer::add(std::string_view line, std::string_view carried) {
  const std::size_t size = line.size() + carried.size() + kLineEnd.size();
  if (used_ + size > blockBytes_) {
    if (!flush()) return false;
    if (size > blockBytes_) {
      return ok_ = writeFully(file_, line) && writeFully(file_, carried) && writeFully(file_, kLineEnd);
    }
  }
  char* out = block_.data() + used_;
  copyBytes(out, line.data(), line.size());
  out += line.size();
  if (!carried.empty()) {
    copyBytes(out, carried.data(), carried.size());
    out += carried.size();
  }
  if constexpr (kCrLfLineEnds) *out++ = '\r';
  *out = '\n';
  used_ += size;
  return true;
}

bool SortedOutput::Writer::close() { return flush() && file_.close(); }

SortedOutput::SortedOutput(Kind kind, File file, File page, Blocks& blocks, std::size_t blockBytes)
    : kind_(kind), out_(std::move(file), blocks.out, blockBytes), page_(std::move(page), blocks.page, blockBytes) {}

bool SortedOutput::add(std::string_view text, std::string_view whole, std::size_t untoldCallsign) {
  if (kind_ == Kind::Run && untoldCallsign != std::string_view::npos) {
    place_.assign(1, kCarriedMark).append(std::to_string(untoldCallsign));
    if (!out_.add(whole, place_)) return false;
  } else if (!out_.add(kind_ == Kind::Run ? whole : text)) {
    return false;
  }
  return !page_.isOpen() || page_.add(whole);
}

bool SortedOutput::close() {
  const bool page = !page_.isOpen() || page_.close();
  return out_.close() && page;
}

}  // namespace quorvel
