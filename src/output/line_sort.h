#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "record/record_line.h"

namespace quorvel {

// Where the key that orders a line starts: at the callsign of a record
// line of `layout` (see callsignStart), or, with none, at the 1-based
// `column` (one below 1 counts as 1; a line shorter than it has an empty
// key). The key runs to the end of the line.
struct SortKey {
  SortKey() = default;
  explicit SortKey(int fromColumn) : column(fromColumn) {}
  explicit SortKey(const RecordLayout& callsignsOf) : layout(callsignsOf) {}

  int column = 1;
  std::optional<RecordLayout> layout;
};

// Where line `a` stands in a list against line `b` (each without its new
// line): below 0 before it, above 0 after it, 0 when their keys are equal
// (with `unique`, when the lines are). Keys are compared as unsigned
// bytes, a shorter key before a longer one it begins; lines with equal
// keys keep their order, or, with `unique`, are ordered by the whole line
// and of equal lines one is kept.
int compareInOrder(std::string_view a, std::string_view b, const SortKey& key, bool unique);

// Puts the lines of a bucket's content in the order of compareInOrder,
// keeping its buffers from one content to the next, so that a thread that
// sorts many buckets takes its memory once.
class LineSorter {
 public:
  // Orders the first lines of `content`, each of which ends with "\n", at
  // most `mostLines` of them (at least one): how many bytes those lines
  // take. The content must outlive the use of line(). `unique` as for
  // compareInOrder.
  std::size_t sort(std::string_view content, const SortKey& key, bool unique = false, std::size_t mostLines = SIZE_MAX);

  // Takes room for sorting `lines` lines at once: entries that grew would
  // for a while take their room twice.
  void reserve(std::size_t lines);

  std::size_t size() const { return keyed_.size(); }
  // How many repeated lines the last sort dropped.
  long dropped() const { return dropped_; }
  // The `i`-th line in order, its new line included; where lists end
  // their lines with CR LF, without its line end.
  std::string_view line(std::size_t i) const;

  // A line to sort: the first eight bytes of its key, and where the line
  // and its key are in the content.
  struct KeyedLine {
    std::uint64_t prefix;
    std::uint64_t place;
  };
  // What a line costs while it is sorted, besides its bytes: its entry and
  // its place while the entries are sorted.
  static constexpr std::size_t kLineCost = 2 * sizeof(KeyedLine);

  // A line too long for the bits of its entry: where it starts in the
  // content, how long it is and where its key starts in it.
  struct LongLine {
    std::size_t start;
    std::size_t length;
    std::size_t keyOffset;
  };

 private:
  const char* content_ = nullptr;
  long dropped_ = 0;
  std::vector<KeyedLine> keyed_;
  std::vector<LongLine> longLines_;
  std::vector<KeyedLine> scratch_;
};

}  // namespace quorvel
