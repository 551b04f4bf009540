#include "output/line_sort.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "base/bytes.h"
#include "base/files.h"

namespace quorvel {

namespace {

using KeyedLine = LineSorter::KeyedLine;
using LongLine = LineSorter::LongLine;

// Finds the lines of a bucket's content, and the key in each, by the
// line's start, its length and where its key starts in it, packed into
// one number, so that writing them in sorted order fetches only the line
// itself. A line too long for the length bits, or whose key starts too
// far in for the offset bits, is looked up among the long lines, which
// stand in the order of their starts.
struct PackedLines {
  static constexpr int kLengthBits = 16;
  static constexpr int kOffsetBits = 8;
  static constexpr std::uint64_t kLongLine = (std::uint64_t{1} << kLengthBits) - 1;
  static constexpr std::size_t kFarKey = (std::size_t{1} << kOffsetBits) - 1;

  const char* content;
  const std::vector<LongLine>& longLines;

  static bool isLong(const LongLine& line) { return line.length >= kLongLine || line.keyOffset >= kFarKey; }
  static std::uint64_t pack(const LongLine& line) {
    const std::uint64_t start = static_cast<std::uint64_t>(line.start) << (kOffsetBits + kLengthBits);
    if (isLong(line)) return start | kLongLine;
    return start | (static_cast<std::uint64_t>(line.keyOffset) << kLengthBits) | line.length;
  }
  LongLine unpack(std::uint64_t place) const {
    const LongLine line{static_cast<std::size_t>(place >> (kOffsetBits + kLengthBits)),
                        static_cast<std::size_t>(place & kLongLine),
                        static_cast<std::size_t>((place >> kLengthBits) & kFarKey)};
    if (line.length != kLongLine) return line;
    return *std::lower_bound(longLines.begin(), longLines.end(), line.start,
                             [](const LongLine& longLine, std::size_t at) { return longLine.start < at; });
  }
  // The line's text.
  std::string_view line(std::uint64_t place) const {
    const LongLine line = unpack(place);
    return std::string_view(content + line.start, line.length);
  }
  // The meaning the line carries (see readBucketLine).
  std::string_view meaning(std::uint64_t place) const {
    const std::string_view text = line(place);
    return readBucketLine(std::string_view(text.data(), text.size() + carried(place).size())).meaning;
  }
  // What the line carries after its text, its mark included; empty for
  // none. Every line of the content ends with a new line.
  std::string_view carried(std::uint64_t place) const {
    const LongLine line = unpack(place);
    const char* end = content + line.start + line.length;
    if (*end != kCarriedMark) return {};
    const char* newline = end;
    while (*newline != '\n') ++newline;  // a short way: what a line carries is short
    if (kCrLfLineEnds && newline[-1] == '\r') --newline;
    return std::string_view(end, static_cast<std::size_t>(newline - end));
  }
  std::string_view key(std::uint64_t place) const {
    const LongLine line = unpack(place);
    return std::string_view(content + line.start + line.keyOffset, line.length - line.keyOffset);
  }
};

// A stable sort by prefix, one byte a pass from the lowest; a pass in which
// every entry has the same byte is skipped.
void radixSortByPrefix(std::vector<KeyedLine>& entries, std::vector<KeyedLine>& scratch) {
  const std::size_t count = entries.size();
  if (count < 2) return;
  // The counts of every byte position, taken in one pass.
  std::array<std::array<std::size_t, 256>, 8> counts{};
  for (const KeyedLine& entry : entries) {
    for (std::size_t b = 0; b < 8; ++b) ++counts[b][(entry.prefix >> (8 * b)) & 0xFF];
  }
  scratch.resize(count);
  for (std::size_t b = 0; b < 8; ++b) {
    std::array<std::size_t, 256>& offsets = counts[b];
    const int shift = static_cast<int>(8 * b);
    if (offsets[(entries.front().prefix >> shift) & 0xFF] == count) continue;
    std::size_t offset = 0;
    for (std::size_t& entry : offsets) offset += std::exchange(entry, offset);
    for (const KeyedLine& entry : entries) scratch[offsets[(entry.prefix >> shift) & 0xFF]++] = entry;
    entries.swap(scratch);
  }
}

// A group of lines whose keys agree in their first `offset` + 8 bytes.
template <class Iterator>
struct KeyGroup {
  Iterator first;
  Iterator last;
  std::size_t offset;
};

// Groups this small (a callsign worked a few times) are ordered by whole
// keys in place: cheaper than sorting them eight bytes at a time.
constexpr std::ptrdiff_t kShortGroup = 16;

// The place of a line marked to be left out: no line of a bucket, nor of
// a list, can be there.
constexpr std::uint64_t kRepeated = ~std::uint64_t{0};

// What becomes of lines with equal keys: they keep their order, or, for a
// sort that drops repeated lines, are ordered by the whole line and each
// line equal to the one before it is marked kRepeated, while they are at
// hand: a pass over the sorted lines later would fetch them all again.
struct EqualKeys {
  const PackedLines& lines;
  bool dropRepeats;

  // Orders [first, last), whose keys are equal.
  template <class Iterator>
  void operator()(Iterator first, Iterator last) const {
    if (!dropRepeats) return;
    // By the first eight bytes of each line first, as the keys were; the
    // prefixes of the finished group are free to take them. Equal lines
    // are alike in every byte: their order among themselves does not show.
    // Lines of equal texts are ordered by what they carry: those that mean
    // different contacts are two lines.
    for (Iterator entry = first; entry != last; ++entry) entry->prefix = keyPrefix(lines.line(entry->place));
    auto before = [this](const KeyedLine& a, const KeyedLine& b) {
      if (a.prefix != b.prefix) return a.prefix < b.prefix;
      const std::string_view textA = lines.line(a.place), textB = lines.line(b.place);
      return textA != textB ? keyBefore(textA, textB) : keyBefore(lines.meaning(a.place), lines.meaning(b.place));
    };
    std::sort(first, last, before);
    Iterator kept = first;
    for (Iterator entry = first + 1; entry != last; ++entry) {
      if (entry->prefix == kept->prefix && lines.line(entry->place) == lines.line(kept->place) &&
          lines.meaning(entry->place) == lines.meaning(kept->place)) {
        entry->place = kRepeated;
      } else {
        kept = entry;
      }
    }
  }

  // Orders each run of equal keys in [first, last), which is in key order;
  // `sameKey` tells whether two neighbours' keys are equal.
  template <class Iterator, class SameKey>
  void eachRun(Iterator first, Iterator last, const SameKey& sameKey) const {
    if (!dropRepeats) return;
    for (Iterator begin = first; begin != last;) {
      Iterator end = begin + 1;
      while (end != last && sameKey(*begin, *end)) ++end;
      if (end - begin > 1) (*this)(begin, end);
      begin = end;
    }
  }
};

// Orders a group of lines whose keys agree in their first `offset` bytes
// by the rest of their keys (see keyBefore), equal keys as `equalKeys`
// says.
template <class Iterator, class KeyOf, class EqualKeysOrder>
void insertByKey(Iterator first, Iterator last, const KeyOf& keyOf, std::size_t offset,
                 const EqualKeysOrder& equalKeys) {
  auto restOf = [&keyOf, offset](const KeyedLine& entry) { return keyOf(entry.place).substr(offset); };
  for (Iterator next = first + 1; next < last; ++next) {
    KeyedLine entry = *next;
    std::string_view key = restOf(entry);
    Iterator at = next;
    for (; at != first && keyBefore(key, restOf(*(at - 1))); --at) *at = *(at - 1);
    *at = entry;
  }
  equalKeys.eachRun(first, last, [&restOf](const KeyedLine& a, const KeyedLine& b) { return restOf(a) == restOf(b); });
}

// Orders a group of lines whose keys agree in their first eight bytes
// (zero-padded) by the whole key, equal keys as `equalKeys` says (the
// radix sort left the group in bucket order). Eight bytes at a time: a key
// that ends within them is a prefix of every longer key of the group and
// comes first, shorter before longer; the longer keys are ordered by their
// next eight bytes, and their groups of equal bytes in turn. The groups
// wait in `pending`, not on the stack: keys alike over megabytes of a long
// comment would otherwise nest a call for every eight bytes.
template <class Iterator, class KeyOf, class EqualKeysOrder>
void sortGroup(Iterator first, Iterator last, const KeyOf& keyOf, const EqualKeysOrder& equalKeys,
               std::vector<KeyGroup<Iterator>>& pending) {
  pending.assign(1, {first, last, 0});
  while (!pending.empty()) {
    KeyGroup<Iterator> group = pending.back();
    pending.pop_back();
    const std::size_t end = group.offset + 8;
    std::ptrdiff_t ending = 0;  // keys that end within the group's eight bytes
    bool sameLength = true;
    const std::size_t length = keyOf(group.first->place).size();
    for (Iterator entry = group.first; entry != group.last; ++entry) {
      std::size_t other = keyOf(entry->place).size();
      ending += other <= end;
      sameLength &= other == length;
    }
    if (ending == group.last - group.first && sameLength) {
      equalKeys(group.first, group.last);  // the same key throughout, as a callsign worked again
      continue;
    }
    if (group.last - group.first <= kShortGroup) {
      insertByKey(group.first, group.last, keyOf, group.offset, equalKeys);
      continue;
    }
    Iterator longer = group.first;
    if (ending > 0) {
      longer = std::stable_partition(
          group.first, group.last, [&keyOf, end](const KeyedLine& entry) { return keyOf(entry.place).size() <= end; });
      auto size = [&keyOf](const KeyedLine& entry) { return keyOf(entry.place).size(); };
      std::stable_sort(group.first, longer,
                       [&size](const KeyedLine& a, const KeyedLine& b) { return size(a) < size(b); });
      // Keys that end within the same bytes and are as long are equal.
      equalKeys.eachRun(group.first, longer,
                        [&size](const KeyedLine& a, const KeyedLine& b) { return size(a) == size(b); });
    }
    if (group.last - longer < 2) continue;
    bool samePrefix = true;  // as under -comment, where comments begin alike
    for (Iterator entry = longer; entry != group.last; ++entry) {
      entry->prefix = keyPrefix(keyOf(entry->place).substr(end));
      samePrefix &= entry->prefix == longer->prefix;
    }
    if (!samePrefix) {
      std::stable_sort(longer, group.last, [](const KeyedLine& a, const KeyedLine& b) { return a.prefix < b.prefix; });
    }
    for (Iterator begin = longer; begin != group.last;) {
      Iterator groupEnd = begin + 1;
      while (groupEnd != group.last && groupEnd->prefix == begin->prefix) ++groupEnd;
      if (groupEnd - begin > 1) pending.push_back({begin, groupEnd, end});
      begin = groupEnd;
    }
  }
}

// Orders `keyed`, whose prefixes are set, in the order of compareInOrder,
// and with `unique` leaves out repeated lines, returning how many.
long sortKeyed(std::vector<KeyedLine>& keyed, const PackedLines& lines, bool unique, std::vector<KeyedLine>& scratch) {
  auto keyOf = [&lines](std::uint64_t place) { return lines.key(place); };
  // First by the first eight bytes of each key, read as one big-endian
  // number (zero-padded, which keeps the byte order), with a stable radix
  // sort; that settles nearly every callsign.
  radixSortByPrefix(keyed, scratch);

  // Then each group of equal prefixes by the whole key.
  std::vector<KeyGroup<std::vector<KeyedLine>::iterator>> pending;
  for (std::size_t begin = 0; begin < keyed.size();) {
    std::size_t end = begin + 1;
    while (end < keyed.size() && keyed[end].prefix == keyed[begin].prefix) ++end;
    if (end - begin > 1) {
      sortGroup(keyed.begin() + static_cast<std::ptrdiff_t>(begin), keyed.begin() + static_cast<std::ptrdiff_t>(end),
                keyOf, EqualKeys{lines, unique}, pending);
    }
    begin = end;
  }
  if (!unique) return 0;
  auto repeated =
      std::remove_if(keyed.begin(), keyed.end(), [](const KeyedLine& entry) { return entry.place == kRepeated; });
  const long dropped = keyed.end() - repeated;
  keyed.erase(repeated, keyed.end());
  return dropped;
}

// Puts the first lines of `content`, which ends with a new line, at most
// `mostLines` of them, in `keyed` with their key prefixes, in one pass;
// those too long for their entry also in `longLines`. Gives the bytes the
// lines take.
template <class KeyOfLine>
std::size_t keyLines(std::string_view content, const KeyOfLine& keyOfLine, OwnLines& own, std::size_t mostLines,
                     std::vector<KeyedLine>& keyed, std::vector<LongLine>& longLines) {
  keyed.clear();
  longLines.clear();
  const char* start = content.data();
  const char* end = start + content.size();
  const char* at = start;
  for (; at != end && keyed.size() < std::max<std::size_t>(mostLines, 1);) {
    const char* lineEnd = static_cast<const char*>(std::memchr(at, '\n', static_cast<std::size_t>(end - at)));
    std::string_view line(at, static_cast<std::size_t>(lineEnd - at));
    // Where lists end their lines with CR LF, the CR belongs to the line
    // end: a list sorts alike whichever line ends its bucket has.
    if (kCrLfLineEnds && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    const BucketLine read = mayCarry(line) ? readBucketLine(line) : BucketLine{line, std::string_view::npos, {}};
    const bool ownLine = static_cast<std::size_t>(at - start) >= own.from;
    if (ownLine && read.carriesCallsign()) own.lastCallsign = read.callsignAt;
    const std::size_t callsignAt = read.carriesCallsign() ? read.callsignAt
                                   : ownLine              ? own.lastCallsign
                                                          : std::string_view::npos;
    const std::string_view key = callsignAt != std::string_view::npos
                                     ? read.text.substr(std::min(callsignAt, read.text.size()))
                                     : keyOfLine(read.text);
    const LongLine place{static_cast<std::size_t>(at - start), read.text.size(), read.text.size() - key.size()};
    keyed.push_back({keyPrefix(key), PackedLines::pack(place)});
    if (PackedLines::isLong(place)) longLines.push_back(place);
    at = lineEnd + 1;
  }
  return static_cast<std::size_t>(at - start);
}

// The key of a line: from the 0-based `skip` on.
struct KeyAfter {
  std::size_t skip;
  std::string_view operator()(std::string_view line) const { return line.substr(std::min(skip, line.size())); }
};

// The key of a record line: from its callsign on.
struct KeyAtCallsign {
  const RecordLayout& layout;
  std::string_view operator()(std::string_view line) const { return line.substr(callsignStart(line, layout)); }
};

// Calls `use` with the key finder `key` asks for, each its own code: the
// usual one never looks at the bytes of a line to find its key.
template <class Use>
auto withKeyOf(const SortKey& key, const Use& use) {
  if (key.layout) return use(KeyAtCallsign{*key.layout});
  return use(KeyAfter{key.column > 1 ? static_cast<std::size_t>(key.column - 1) : 0});
}

}  // namespace

int compareInOrder(std::string_view a, std::string_view b, const SortKey& key, bool unique) {
  return withKeyOf(key, [&](const auto& keyOfLine) {
    const BucketLine lineA = readBucketLine(a), lineB = readBucketLine(b);
    auto keyOf = [&keyOfLine](const BucketLine& line) {
      return line.carriesCallsign() ? line.text.substr(line.callsignAt) : keyOfLine(line.text);
    };
    const std::string_view keyA = keyOf(lineA), keyB = keyOf(lineB);
    if (keyBefore(keyA, keyB)) return -1;
    if (keyBefore(keyB, keyA)) return 1;
    return unique ? compareBucketLines(lineA, lineB) : 0;
  });
}

std::size_t LineSorter::sort(std::string_view content, const SortKey& key, bool unique, std::size_t mostLines,
                             OwnLines* own) {
  content_ = content.data();
  OwnLines none;
  OwnLines& lines = own != nullptr ? *own : none;
  ownFrom_ = lines.from;
  const std::size_t taken = withKeyOf(
      key, [&](const auto& keyOfLine) { return keyLines(content, keyOfLine, lines, mostLines, keyed_, longLines_); });
  dropped_ = sortKeyed(keyed_, PackedLines{content_, longLines_}, unique, scratch_);
  return taken;
}

void LineSorter::reserve(std::size_t lines) {
  keyed_.clear();
  keyed_.reserve(lines);
  scratch_.reserve(lines);
}

std::string_view LineSorter::text(std::size_t i) const {
  return PackedLines{content_, longLines_}.line(keyed_[i].place);
}

std::size_t LineSorter::untoldCallsign(std::size_t i) const {
  const PackedLines lines{content_, longLines_};
  const LongLine line = lines.unpack(keyed_[i].place);
  if (line.start < ownFrom_ || !lines.carried(keyed_[i].place).empty()) return std::string_view::npos;
  return line.keyOffset;
}

std::string_view LineSorter::line(std::size_t i) const {
  const PackedLines lines{content_, longLines_};
  const std::string_view text = lines.line(keyed_[i].place);
  return std::string_view(text.data(), text.size() + lines.carried(keyed_[i].place).size());
}

}  // namespace quorvel
