#include "output/merge_runs.h"

#include <algorithm>
#include <cstring>
#include <queue>

#include "base/files.h"

namespace quorvel {

namespace {

// Reads a sorted run a line at a time through a buffer of its own.
class RunReader {
 public:
  RunReader(File file, std::size_t bufferBytes)
      : file_(std::move(file)), buffer_(std::max<std::size_t>(bufferBytes, 64), '\0') {}

  // The next line, its new line included, valid until the next call;
  // false at the end of the run or when it cannot be read (failed()).
  bool next(std::string_view& line);
  bool failed() const { return failed_; }

 private:
  File file_;
  std::string buffer_;
  std::size_t begin_ = 0, end_ = 0;
  bool ended_ = false, failed_ = false;
};

bool RunReader::next(std::string_view& line) {
  for (;;) {
    const char* start = buffer_.data() + begin_;
    if (const void* newline = std::memchr(start, '\n', end_ - begin_)) {
      const std::size_t length = static_cast<std::size_t>(static_cast<const char*>(newline) - start) + 1;
      line = std::string_view(start, length);
      begin_ += length;
      return true;
    }
    // A run is written whole: bytes after its last new line mean it was
    // changed under the run.
    if (ended_) {
      failed_ = begin_ != end_;
      return false;
    }
    std::memmove(buffer_.data(), start, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    if (end_ == buffer_.size()) buffer_.resize(2 * buffer_.size());
    const std::int64_t got = readSome(file_, buffer_.data() + end_, buffer_.size() - end_);
    if (got < 0) {
      failed_ = true;
      return false;
    }
    ended_ = got == 0;
    end_ += static_cast<std::size_t>(got);
  }
}

}  // namespace

bool mergeRuns(const std::vector<std::string>& runs, SortedOutput output, const SortKey& key, bool unique,
               std::size_t bufferBytes, long& dropped) {
  if (!output.isOpen()) return false;
  std::vector<RunReader> readers;
  readers.reserve(runs.size());
  std::vector<std::string_view> heads(runs.size());
  for (const std::string& run : runs) {
    File file = openForReading(run);
    if (!file.isOpen()) return false;
    readers.emplace_back(std::move(file), bufferBytes);
  }
  // The run whose line comes next on top: by order, then by run.
  auto after = [&heads, &key, unique](std::size_t a, std::size_t b) {
    // Runs end their lines as the lists do.
    const int order = compareInOrder(heads[a].substr(0, heads[a].size() - kLineEnd.size()),
                                     heads[b].substr(0, heads[b].size() - kLineEnd.size()), key, unique);
    return order != 0 ? order > 0 : a > b;
  };
  std::priority_queue<std::size_t, std::vector<std::size_t>, decltype(after)> next(after);
  for (std::size_t i = 0; i < readers.size(); ++i) {
    if (readers[i].next(heads[i])) next.push(i);
    if (readers[i].failed()) return false;
  }
  std::string last;  // the line written last, under `unique`
  bool wroteAny = false;
  while (!next.empty()) {
    const std::size_t i = next.top();
    next.pop();
    if (unique && wroteAny && heads[i] == last) {
      ++dropped;
    } else {
      const std::string_view line = heads[i].substr(0, heads[i].size() - kLineEnd.size());
      if (!output.add(readBucketLine(line).text, line)) return false;
      if (unique) last.assign(heads[i]), wroteAny = true;
    }
    if (readers[i].next(heads[i])) next.push(i);
    if (readers[i].failed()) return false;
  }
  return output.close();
}

}  // namespace quorvel
