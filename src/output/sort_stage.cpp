#include "output/sort_stage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <future>
#include <utility>

#include "detect/ascii.h"
#include "output/bucket_names.h"
#include "output/copy_bytes.h"
#include "output/file_io.h"
#include "quorvel/unique_fd.h"
#include "quorvel/worker_pool.h"

namespace quorvel {

namespace {

constexpr std::size_t kWriteBlock = 256 * 1024;

// A line to sort: the first eight bytes of its key, and where the line is,
// in the way the caller's line finder (below) reads it.
struct KeyedLine {
  std::uint64_t prefix;
  std::uint64_t place;
};

// Finds the lines of a list by their index.
struct ListedLines {
  const std::vector<std::string_view>& lines;
  std::string_view operator()(std::uint64_t place) const { return lines[place]; }
};

// A line of a bucket too long for the length bits of its entry.
struct LongLine {
  std::size_t start;
  std::size_t length;
};

// Finds the lines of a bucket's content by their start and length packed
// into one number, so that writing them in sorted order fetches only the
// line itself. A line too long for the length bits has its length looked
// up among the long lines, which stand in the order of their starts.
struct PackedLines {
  static constexpr int kLengthBits = 16;
  static constexpr std::uint64_t kLongLine = (std::uint64_t{1} << kLengthBits) - 1;

  const char* content;
  const std::vector<LongLine>& longLines;

  static std::uint64_t pack(std::size_t start, std::size_t length) {
    return (static_cast<std::uint64_t>(start) << kLengthBits) | std::min<std::uint64_t>(length, kLongLine);
  }
  static std::size_t startOf(std::uint64_t place) { return static_cast<std::size_t>(place >> kLengthBits); }
  std::string_view operator()(std::uint64_t place) const {
    std::size_t start = startOf(place);
    std::size_t length = static_cast<std::size_t>(place & kLongLine);
    if (length == kLongLine) {
      length = std::lower_bound(longLines.begin(), longLines.end(), start, [](const LongLine& line, std::size_t at) {
                 return line.start < at;
               })->length;
    }
    return std::string_view(content + start, length);
  }
};

// What sorting a bucket works in, kept from one bucket to the next by the
// thread that sorts them, so that its memory is taken once.
struct SortBuffers {
  std::string content;
  std::vector<KeyedLine> keyed;
  std::vector<LongLine> longLines;
  std::vector<KeyedLine> scratch;
  std::string block;
};

std::uint64_t keyPrefix(std::string_view key) {
  std::uint64_t prefix = 0;
  if (key.size() >= 8) {
    unsigned char bytes[8];
    std::memcpy(bytes, key.data(), 8);
    for (unsigned char byte : bytes) prefix = (prefix << 8) | byte;
    return prefix;
  }
  // Most keys (a callsign) are shorter. Their bytes are put in place one by
  // one, in a register: gathered in memory first, they would be read back
  // as one word right after being stored one by one, which stalls.
  for (std::size_t i = 0; i < key.size(); ++i) {
    prefix |= std::uint64_t{static_cast<unsigned char>(key[i])} << (56 - 8 * i);
  }
  return prefix;
}

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

// Writes the lines of `content` to `path` in the order of `order`, each
// with the new line that stands right behind it. False when the file
// cannot be created or does not take every byte.
bool writeLines(const std::string& path, const std::vector<KeyedLine>& order, const PackedLines& lineOf,
                std::string& block) {
  UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (!fd.valid()) return false;
  block.resize(kWriteBlock);
  std::size_t used = 0;
  auto flush = [&] { return writeFully(fd.get(), std::string_view(block.data(), used)) == used; };
  for (std::size_t k = 0; k < order.size(); ++k) {
    // The lines are fetched in sorted order, from all over the bucket's
    // content: ask for them a little ahead.
    if (k + 8 < order.size()) __builtin_prefetch(lineOf.content + PackedLines::startOf(order[k + 8].place));
    std::string_view line = lineOf(order[k].place);
    std::size_t size = line.size() + 1;
    if (used + size > block.size()) {
      if (!flush()) return false;
      used = 0;
      if (size > block.size()) {
        if (writeFully(fd.get(), std::string_view(line.data(), size)) != size) return false;
        continue;
      }
    }
    copyBytes(block.data() + used, line.data(), size);
    used += size;
  }
  return flush() && fd.reset();
}

// A run of lines whose keys agree in their first `offset` + 8 bytes.
template <class Iterator>
struct EqualRun {
  Iterator first;
  Iterator last;
  std::size_t offset;
};

// Runs this short (a callsign worked a few times) are ordered by whole
// keys in place: cheaper than sorting them eight bytes at a time.
constexpr std::ptrdiff_t kShortRun = 16;

// Whether key `a` comes before key `b`: compared as unsigned bytes, the
// shorter first where one begins the other. Eight bytes at a time, in line:
// the keys of a run are short and mostly alike for their first bytes.
bool keyBefore(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  std::size_t at = 0;
  for (; at + 8 <= common; at += 8) {
    std::uint64_t x = loadEightBytes(a.data() + at);
    std::uint64_t y = loadEightBytes(b.data() + at);
    if (x != y) {
      // The first byte that differs, of the eight read lowest first.
      int shift = std::countr_zero(x ^ y) & ~7;
      return ((x >> shift) & 0xFF) < ((y >> shift) & 0xFF);
    }
  }
  for (; at < common; ++at) {
    if (a[at] != b[at]) return static_cast<unsigned char>(a[at]) < static_cast<unsigned char>(b[at]);
  }
  return a.size() < b.size();
}

// Orders a run of lines whose keys agree in their first `offset` bytes by
// the rest of their keys (see keyBefore); equal keys keep their order.
template <class Iterator, class KeyOf>
void insertByKey(Iterator first, Iterator last, const KeyOf& keyOf, std::size_t offset) {
  auto restOf = [&keyOf, offset](const KeyedLine& entry) { return keyOf(entry.place).substr(offset); };
  for (Iterator next = first + 1; next < last; ++next) {
    KeyedLine entry = *next;
    std::string_view key = restOf(entry);
    Iterator at = next;
    for (; at != first && keyBefore(key, restOf(*(at - 1))); --at) *at = *(at - 1);
    *at = entry;
  }
}

// Orders a run of lines whose keys agree in their first eight bytes
// (zero-padded) by the whole key, keeping equal keys in their order (the
// radix sort left the run in bucket order). Eight bytes at a time: a key
// that ends within them is a prefix of every longer key of the run and
// comes first, shorter before longer; the longer keys are ordered by their
// next eight bytes, and their runs of equal bytes in turn. The runs wait in
// `pending`, not on the stack: keys alike over megabytes of a long comment
// would otherwise nest a call for every eight bytes.
template <class Iterator, class KeyOf>
void sortRun(Iterator first, Iterator last, const KeyOf& keyOf, std::vector<EqualRun<Iterator>>& pending) {
  pending.assign(1, {first, last, 0});
  while (!pending.empty()) {
    EqualRun<Iterator> run = pending.back();
    pending.pop_back();
    const std::size_t end = run.offset + 8;
    std::ptrdiff_t ending = 0;  // keys that end within the run's eight bytes
    bool sameLength = true;
    const std::size_t length = keyOf(run.first->place).size();
    for (Iterator entry = run.first; entry != run.last; ++entry) {
      std::size_t other = keyOf(entry->place).size();
      ending += other <= end;
      sameLength &= other == length;
    }
    if (ending == run.last - run.first && sameLength) continue;  // the same key throughout, as a callsign worked again
    if (run.last - run.first <= kShortRun) {
      insertByKey(run.first, run.last, keyOf, run.offset);
      continue;
    }
    Iterator longer = run.first;
    if (ending > 0) {
      longer = std::stable_partition(
          run.first, run.last, [&keyOf, end](const KeyedLine& entry) { return keyOf(entry.place).size() <= end; });
      std::stable_sort(run.first, longer, [&keyOf](const KeyedLine& a, const KeyedLine& b) {
        return keyOf(a.place).size() < keyOf(b.place).size();
      });
    }
    if (run.last - longer < 2) continue;
    bool samePrefix = true;  // as under -comment, where comments begin alike
    for (Iterator entry = longer; entry != run.last; ++entry) {
      entry->prefix = keyPrefix(keyOf(entry->place).substr(end));
      samePrefix &= entry->prefix == longer->prefix;
    }
    if (!samePrefix) {
      std::stable_sort(longer, run.last, [](const KeyedLine& a, const KeyedLine& b) { return a.prefix < b.prefix; });
    }
    for (Iterator begin = longer; begin != run.last;) {
      Iterator runEnd = begin + 1;
      while (runEnd != run.last && runEnd->prefix == begin->prefix) ++runEnd;
      if (runEnd - begin > 1) pending.push_back({begin, runEnd, end});
      begin = runEnd;
    }
  }
}

// The part of a line that orders it: from the 0-based `skip` on.
std::string_view keyAfter(std::string_view line, std::size_t skip) {
  return line.size() > skip ? line.substr(skip) : std::string_view();
}

std::size_t skipOf(int sortColumn) { return sortColumn > 1 ? static_cast<std::size_t>(sortColumn - 1) : 0; }

// Orders `keyed`, whose prefixes are set, the way sortLinesByColumn orders
// lines; `lineOf` finds the line of an entry.
template <class LineOf>
void sortKeyed(std::vector<KeyedLine>& keyed, const LineOf& lineOf, std::size_t skip, std::vector<KeyedLine>& scratch) {
  auto keyOf = [&lineOf, skip](std::uint64_t place) { return keyAfter(lineOf(place), skip); };
  // First by the first eight bytes of each key, read as one big-endian
  // number (zero-padded, which keeps the byte order), with a stable radix
  // sort; that settles nearly every callsign.
  radixSortByPrefix(keyed, scratch);

  // Then each run of equal prefixes by the whole key.
  std::vector<EqualRun<std::vector<KeyedLine>::iterator>> pending;
  for (std::size_t begin = 0; begin < keyed.size();) {
    std::size_t end = begin + 1;
    while (end < keyed.size() && keyed[end].prefix == keyed[begin].prefix) ++end;
    if (end - begin > 1) {
      sortRun(keyed.begin() + static_cast<std::ptrdiff_t>(begin), keyed.begin() + static_cast<std::ptrdiff_t>(end),
              keyOf, pending);
    }
    begin = end;
  }
}

// Puts the lines of `content`, which ends with a new line, in `keyed` with
// their key prefixes, in one pass; those too long for their entry also in
// `longLines`.
void keyLines(std::string_view content, std::size_t skip, std::vector<KeyedLine>& keyed,
              std::vector<LongLine>& longLines) {
  keyed.clear();
  longLines.clear();
  const char* start = content.data();
  const char* end = start + content.size();
  for (const char* at = start; at != end;) {
    const char* lineEnd = static_cast<const char*>(std::memchr(at, '\n', static_cast<std::size_t>(end - at)));
    std::string_view line(at, static_cast<std::size_t>(lineEnd - at));
    std::size_t offset = static_cast<std::size_t>(at - start);
    keyed.push_back({keyPrefix(keyAfter(line, skip)), PackedLines::pack(offset, line.size())});
    if (line.size() >= PackedLines::kLongLine) longLines.push_back({offset, line.size()});
    at = lineEnd + 1;
  }
}

// Sorts one bucket file into its sorted file. The sorted file appears only
// once it is complete: it is written under a passing name and then renamed.
bool sortOneBucket(const std::string& bucketPath, const std::string& sortedPath, int sortColumn, SortBuffers& buffers) {
  if (!readWholeFile(bucketPath, buffers.content)) return false;
  // Every line then has its new line right behind it, also a last line
  // that was cut short, and is written out together with it.
  if (!buffers.content.empty() && buffers.content.back() != '\n') buffers.content.push_back('\n');
  const std::size_t skip = skipOf(sortColumn);
  keyLines(buffers.content, skip, buffers.keyed, buffers.longLines);
  PackedLines lineOf{buffers.content.data(), buffers.longLines};
  sortKeyed(buffers.keyed, lineOf, skip, buffers.scratch);
  std::string partPath = sortedPath + ".part";
  if (!writeLines(partPath, buffers.keyed, lineOf, buffers.block) ||
      ::rename(partPath.c_str(), sortedPath.c_str()) != 0) {
    ::unlink(partPath.c_str());
    return false;
  }
  return true;
}

}  // namespace

void sortLinesByColumn(std::vector<std::string_view>& lines, int sortColumn) {
  const std::size_t skip = skipOf(sortColumn);
  std::vector<KeyedLine> keyed;
  std::vector<KeyedLine> scratch;
  keyed.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) keyed.push_back({keyPrefix(keyAfter(lines[i], skip)), i});
  sortKeyed(keyed, ListedLines{lines}, skip, scratch);
  std::vector<std::string_view> sorted;
  sorted.reserve(lines.size());
  for (const KeyedLine& entry : keyed) sorted.push_back(lines[entry.place]);
  lines.swap(sorted);
}

namespace {

enum class BucketOutcome { Sorted, CannotSort, CannotDelete };

BucketOutcome sortAndDelete(const std::string& directory, char bucket, bool lowerCaseNames, int sortColumn,
                            SortBuffers& buffers) {
  std::string bucketPath = directory + bucketFileName(bucket, lowerCaseNames);
  if (!sortOneBucket(bucketPath, directory + sortedFileName(bucket, lowerCaseNames), sortColumn, buffers)) {
    return BucketOutcome::CannotSort;
  }
  // A bucket file left behind would be appended to, and its lines sorted a
  // second time, by the next run.
  return ::unlink(bucketPath.c_str()) == 0 ? BucketOutcome::Sorted : BucketOutcome::CannotDelete;
}

// The bucket indexes by the size of their bucket files, largest first.
std::array<std::size_t, kBucketCharacters.size()> largestFirst(const std::string& directory, bool lowerCaseNames) {
  std::array<std::size_t, kBucketCharacters.size()> order{};
  std::array<off_t, kBucketCharacters.size()> sizes{};
  for (std::size_t i = 0; i < order.size(); ++i) {
    order[i] = i;
    struct stat info {};
    std::string path = directory + bucketFileName(kBucketCharacters[i], lowerCaseNames);
    if (::stat(path.c_str(), &info) == 0) sizes[i] = info.st_size;
  }
  std::stable_sort(order.begin(), order.end(), [&sizes](std::size_t a, std::size_t b) { return sizes[a] > sizes[b]; });
  return order;
}

}  // namespace

Status sortBuckets(const std::string& directory, bool lowerCaseNames, int sortColumn, const Console& console,
                   unsigned threads) {
  // The buckets are independent: each thread takes the next bucket not yet
  // taken, largest first so that no thread is left with a big one at the
  // end, and the row still shows them in order.
  constexpr std::size_t kBuckets = kBucketCharacters.size();
  std::array<std::promise<BucketOutcome>, kBuckets> outcomes;
  std::array<std::size_t, kBuckets> order = largestFirst(directory, lowerCaseNames);
  std::atomic<std::size_t> next{0};
  WorkerPool pool(threads);
  for (std::size_t lane = 0; lane < pool.size(); ++lane) {
    (void)pool.submit([&] {
      SortBuffers buffers;
      for (std::size_t taken; (taken = next++) < kBuckets;) {
        std::size_t i = order[taken];
        try {
          outcomes[i].set_value(sortAndDelete(directory, kBucketCharacters[i], lowerCaseNames, sortColumn, buffers));
        } catch (...) {
          outcomes[i].set_exception(std::current_exception());
        }
      }
    });
  }
  Status result = Status::ok();
  for (std::size_t i = 0; i < kBuckets; ++i) {
    char bucket = kBucketCharacters[i];
    std::fputc(lowerCaseNames ? toAsciiLower(bucket) : bucket, console.out);
    std::fflush(console.out);
    std::string bucketName = bucketFileName(bucket, lowerCaseNames);
    switch (outcomes[i].get_future().get()) {
      case BucketOutcome::Sorted: break;
      case BucketOutcome::CannotSort: result.absorb(Status::failure("unable to sort file " + bucketName + "\n")); break;
      case BucketOutcome::CannotDelete:
        result.absorb(Status::failure("unable to delete file " + bucketName + "\n"));
        break;
    }
  }
  std::fputc('\n', console.out);
  std::fflush(console.out);
  return result;
}

}  // namespace quorvel
