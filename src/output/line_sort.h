#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quorvel {

// Orders `lines` (each without its new line) by their text from the 1-based
// `sortColumn` on, compared as unsigned bytes, a shorter key before a
// longer one it begins; a column below 1 counts as 1 and a line shorter
// than the column compares as empty. Lines with equal keys keep their order.
void sortLinesByColumn(std::vector<std::string_view>& lines, int sortColumn);

// Puts the lines of a bucket's content in the order of sortLinesByColumn,
// keeping its buffers from one content to the next, so that a thread that
// sorts many buckets takes its memory once.
class LineSorter {
 public:
  // Orders the lines of `content`, each of which ends with "\n"; the
  // content must outlive the use of line().
  void sort(std::string_view content, int sortColumn);

  std::size_t size() const { return keyed_.size(); }
  // The `i`-th line in order, its new line included.
  std::string_view line(std::size_t i) const;

  // A line to sort: the first eight bytes of its key, and where the line
  // is, in the way the caller's line finder reads it.
  struct KeyedLine {
    std::uint64_t prefix;
    std::uint64_t place;
  };
  // A line too long for the length bits of its entry.
  struct LongLine {
    std::size_t start;
    std::size_t length;
  };

 private:
  const char* content_ = nullptr;
  std::vector<KeyedLine> keyed_;
  std::vector<LongLine> longLines_;
  std::vector<KeyedLine> scratch_;
};

}  // namespace quorvel
