#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "record/bucket_line.h"
#include "record/record_line.h"

namespace quorvel {

// Where the key that orders a bucket line starts: at the callsign, where
// the line carries its place (bucket_line.h), or, for a line this run
// wrote that carries nothing, where the line before it told; else, for a
// line an earlier run left, at the callsign of a record line of `layout`
// as callsignStart reads it, or, with no layout, at the 1-based `column`
// (one below 1 counts as 1; a line shorter than it has an empty key). The
// key runs to the end of the line's text.
// Which lines of a bucket's content this run wrote, and where the callsign
// of the last of them that the sort met stood: lines it reads in the
// bucket's order, a piece at a time, carry on from there.
struct OwnLines {
  std::size_t from = SIZE_MAX;  // the byte of the content where this run's lines begin
  std::size_t lastCallsign = SIZE_MAX;
};

struct SortKey {
  SortKey() = default;
  explicit SortKey(int fromColumn) : column(fromColumn) {}
  explicit SortKey(const RecordLayout& callsignsOf) : layout(callsignsOf) {}

  int column = 1;
  std::optional<RecordLayout> layout;
};

// Where bucket line `a` stands in a list against bucket line `b` (each
// without its line end): below 0 before it, above 0 after it, 0 when
// their keys are equal (with `unique`, when the lines are, texts and what
// they carry). Keys are compared as unsigned bytes, a shorter key before a
// longer one it begins; lines with equal keys keep their order, or, with
// `unique`, are ordered by their texts, then by what they carry, and of
// equal lines one is kept.
int compareInOrder(std::string_view a, std::string_view b, const SortKey& key, bool unique);

// Puts the lines of a bucket's content in the order of compareInOrder,
// keeping its buffers from one content to the next, so that a thread that
// sorts many buckets takes its memory once.
class LineSorter {
 public:
  // Orders the first lines of `content`, each of which ends with "\n", at
  // most `mostLines` of them (at least one): how many bytes those lines
  // take. The content must outlive the use of line(). `unique` as for
  // compareInOrder. `own` says which lines this run wrote and goes on to
  // the end of those sorted; with none, earlier runs wrote them all.
  std::size_t sort(std::string_view content, const SortKey& key, bool unique = false, std::size_t mostLines = SIZE_MAX,
                   OwnLines* own = nullptr);

  // Takes room for sorting `lines` lines at once: entries that grew would
  // for a while take their room twice.
  void reserve(std::size_t lines);

  std::size_t size() const { return keyed_.size(); }
  // How many repeated lines the last sort dropped.
  long dropped() const { return dropped_; }
  // The `i`-th line in order: its text, as its list shows it, and the
  // whole bucket line, what it carries included; neither with its line
  // end.
  std::string_view text(std::size_t i) const;
  std::string_view line(std::size_t i) const;
  // Where the callsign of the `i`-th line starts when the line was written
  // by this run and carries nothing, its place told by the layout: what a
  // run file must carry for it (a run holds lines of earlier runs too).
  // npos for any other line.
  std::size_t untoldCallsign(std::size_t i) const;

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
  // content, how long its text is and where its key starts in it.
  struct LongLine {
    std::size_t start;
    std::size_t length;
    std::size_t keyOffset;
  };

 private:
  const char* content_ = nullptr;
  std::size_t ownFrom_ = SIZE_MAX;
  long dropped_ = 0;
  std::vector<KeyedLine> keyed_;
  std::vector<LongLine> longLines_;
  std::vector<KeyedLine> scratch_;
};

}  // namespace quorvel
