#include "output/sort_stage.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <exception>
#include <future>
#include <optional>

#include "base/ascii.h"
#include "base/bytes.h"
#include "base/files.h"
#include "base/worker_pool.h"
#include "output/bucket_names.h"
#include "output/line_sort.h"
#include "output/merge_runs.h"
#include "output/sorted_output.h"

namespace quorvel {

namespace {

constexpr std::size_t kWriteBlock = 256 * 1024;

// What sorting a bucket works in, kept from one bucket to the next by the
// thread that sorts them, so that its memory is taken once.
struct SortBuffers {
  std::string content;
  LineSorter sorter;
  SortedOutput::Blocks blocks;
};

// What one thread may hold while it sorts a bucket: the bytes of lines at
// once, how many lines, and, while runs merge, how many runs at once and
// the buffer each is read through.
struct SortShare {
  std::size_t usable;        // for the bytes and the lines of a bucket
  std::size_t wholeBytes;    // of a bucket read whole, which leaves room for the entries of most
  std::size_t contentBytes;  // of lines read at once, with room for their entries
  std::size_t mostLines;
  std::size_t fanIn;
  std::size_t mergeBuffer;

  explicit SortShare(std::size_t memory) {
    usable = memory > 2 * kWriteBlock ? memory - kWriteBlock : memory / 2;
    wholeBytes = usable / 3 * 2;
    contentBytes = std::max<std::size_t>(usable / 2, 1);
    mostLines = std::max<std::size_t>((usable - contentBytes) / LineSorter::kLineCost, 1);
    fanIn = std::clamp<std::size_t>(usable / (64 * 1024), 2, 512);
    mergeBuffer = usable / fanIn;
  }
};

// Writes the lines `sorter` holds, in their order, to `output`. False
// when a file does not take every byte.
bool writeSorted(SortedOutput output, const LineSorter& sorter) {
  if (!output.isOpen()) return false;
  const bool whole = output.wantsWhole();
  for (std::size_t k = 0; k < sorter.size(); ++k) {
    if (!output.add(sorter.text(k), whole ? sorter.line(k) : std::string_view(),
                    whole ? sorter.untoldCallsign(k) : std::string_view::npos)) {
      return false;
    }
  }
  return output.close();
}

// A new file at `path`, and its output as `kind`, with a page file at
// `pagePath` unless "". When one of them cannot be made, the output is not
// open, and the system's reason is the one its making gave.
SortedOutput outputAt(SortedOutput::Kind kind, const std::string& path, const std::string& pagePath,
                      SortedOutput::Blocks& blocks, std::size_t blockBytes) {
  File file = createNew(path);
  File page;
  if (file.isOpen() && !pagePath.empty() && !(page = createNew(pagePath)).isOpen()) file = File();
  return SortedOutput(kind, std::move(file), std::move(page), blocks, blockBytes);
}

// The sorted runs of a bucket too large to sort at once, each a file
// beside the bucket named after it (RunFolder::sortRunName). A file of that
// name left by an interrupted run is replaced, or else ignored. Every run
// file made for the bucket is gone when it is done, sorted or not.
class RunFiles {
 public:
  RunFiles(const RunFolder& folder, char bucket) : folder_(folder), bucket_(bucket) {}
  ~RunFiles() {
    for (const std::string& path : made_) (void)removeFile(path);
  }
  RunFiles(const RunFiles&) = delete;
  RunFiles& operator=(const RunFiles&) = delete;

  bool empty() const { return runs_.empty(); }

  // Writes the lines of `sorter` as the next run.
  bool add(const LineSorter& sorter, SortedOutput::Blocks& blocks) {
    runs_.push_back(nextName());
    SortedOutput run = outputAt(SortedOutput::Kind::Run, runs_.back(), "", blocks, kWriteBlock);
    return writeSorted(std::move(run), sorter);
  }

  // Merges the runs into a new list at `output` (and page file at
  // `pagePath`, unless ""): `share.fanIn` runs at a time, neighbours into
  // one, until one pass merges them all.
  bool mergeInto(const std::string& output, const std::string& pagePath, const SortSettings& settings,
                 const SortShare& share, SortedOutput::Blocks& blocks, long& dropped) {
    auto merge = [&](const std::vector<std::string>& runs, SortedOutput into) {
      return mergeRuns(runs, std::move(into), settings.key, settings.unique, share.mergeBuffer, dropped);
    };
    while (runs_.size() > share.fanIn) {
      std::vector<std::string> merged;
      for (auto first = runs_.begin(); first != runs_.end();) {
        auto last = first + static_cast<std::ptrdiff_t>(std::min<std::size_t>(share.fanIn, runs_.end() - first));
        std::vector<std::string> group(first, last);
        first = last;
        if (group.size() == 1) {
          merged.push_back(group[0]);
          continue;
        }
        merged.push_back(nextName());
        if (!merge(group, outputAt(SortedOutput::Kind::Run, merged.back(), "", blocks, share.mergeBuffer)))
          return false;
        for (const std::string& path : group) (void)removeFile(path);
      }
      runs_ = std::move(merged);
    }
    return merge(runs_, outputAt(SortedOutput::Kind::List, output, pagePath, blocks, share.mergeBuffer));
  }

 private:
  std::string nextName() {
    made_.push_back(folder_.path(folder_.sortRunName(bucket_, made_.size() + 1)));
    return made_.back();
  }

  const RunFolder& folder_;
  char bucket_;
  std::vector<std::string> made_;  // every run file made, to remove at the end
  std::vector<std::string> runs_;  // the runs still to merge, in bucket order
};

// Reads the bucket on into `content` until it holds `bytes` or the bucket
// ends, when `ended` is set; false on a read error.
bool readOn(const File& bucket, std::string& content, std::size_t bytes, bool& ended) {
  std::size_t have = content.size();
  content.resize(std::max(bytes, have));
  while (have < content.size()) {
    const std::int64_t got = readSome(bucket, content.data() + have, content.size() - have);
    if (got < 0) return false;
    if (got == 0) {
      ended = true;
      break;
    }
    have += static_cast<std::size_t>(got);
  }
  content.resize(have);
  return true;
}

// Reads on from the bucket until `content` begins with lines that can be
// sorted whole, and sets `lines` to the bytes they take; false on a read
// error. A line longer than the share is held whole.
bool readLines(const File& bucket, std::string& content, const SortShare& share, bool& ended, std::size_t& lines) {
  for (std::size_t want = share.contentBytes;; want = 2 * content.size()) {
    if (!ended && !readOn(bucket, content, want, ended)) return false;
    // Every line then has its new line right behind it, also a last line
    // that was cut short, and is written out together with it.
    if (ended && !content.empty() && content.back() != '\n') content.push_back('\n');
    lines = ended ? content.size() : content.rfind('\n') + 1;  // npos + 1 is 0
    if (lines > 0 || ended) return true;
  }
}

// Sorts the whole `content` of a bucket, its lines from byte `ownFrom` on
// this run's, when its lines fit in the share beside it; false when there
// are too many.
bool sortsWhole(std::string& content, std::size_t ownFrom, const SortSettings& settings, const SortShare& share,
                LineSorter& sorter) {
  // Every line then has its new line right behind it, also a last line
  // that was cut short, and is written out together with it.
  if (!content.empty() && content.back() != '\n') content.push_back('\n');
  const std::size_t room = share.usable - std::min(share.usable, content.size());
  if (content.size() > share.contentBytes / 2) {
    // Entries that grow take their room twice for a while: for a bucket
    // this large, the room its lines need is taken at once.
    const auto lines = static_cast<std::size_t>(std::count(content.begin(), content.end(), '\n'));
    if (lines * LineSorter::kLineCost > room) return false;
    sorter.reserve(lines);
  }
  OwnLines own{ownFrom};
  return sorter.sort(content, settings.key, settings.unique, room / LineSorter::kLineCost, &own) == content.size();
}

// Sorts a bucket in runs that fit in the share, read from `bucket` one
// after another, and merges them into a new list at `output` and page
// file at `pagePath` (unless "").
bool sortInRuns(const File& bucket, const RunFolder& folder, char bucketCharacter, std::size_t ownFrom,
                const std::string& output, const std::string& pagePath, const SortSettings& settings,
                const SortShare& share, SortBuffers& buffers, long& dropped) {
  std::string& content = buffers.content;
  content.clear();
  bool ended = false;
  RunFiles runs(folder, bucketCharacter);
  buffers.sorter.reserve(share.mostLines);
  OwnLines own{ownFrom};
  while (!ended || !content.empty()) {
    std::size_t lines = 0;
    if (!readLines(bucket, content, share, ended, lines)) return false;
    const std::size_t taken = buffers.sorter.sort(std::string_view(content).substr(0, lines), settings.key,
                                                  settings.unique, share.mostLines, &own);
    dropped += buffers.sorter.dropped();
    if (!runs.add(buffers.sorter, buffers.blocks)) return false;
    content.erase(0, taken);
    own.from -= std::min(own.from, taken);
  }
  return runs.mergeInto(output, pagePath, settings, share, buffers.blocks, dropped);
}

// Sorts one bucket file into its list, written whole or not at all
// (RunFolder::writeWhole). A bucket that fits in the thread's share is
// sorted at once; a larger one in runs that do, which are then merged.
// Where the run makes a page, the lines go whole to the page file at
// `pagePath` too, which a failed sort leaves no more. Gives why it failed,
// or nothing.
std::optional<SystemError> sortOneBucket(const RunFolder& folder, char bucketCharacter, std::size_t ownFrom,
                                         const std::string& pagePath, const SortSettings& settings,
                                         const SortShare& share, SortBuffers& buffers, long& dropped) {
  const std::string bucketPath = folder.path(folder.bucketName(bucketCharacter));
  File bucket = openForReading(bucketPath);
  if (!bucket.isOpen()) return lastSystemError();  // before another call replaces the reason
  const std::int64_t size = sizeOf(bucket);
  if (size < 0) return lastSystemError();
  // Room for the most the thread reads at once, taken at once: a buffer
  // that grew would for a while take its room twice.
  buffers.content.reserve(share.contentBytes + 1);
  const std::string listName = folder.listName(bucketCharacter);
  std::optional<WholeFileFailure> failed = folder.writeWhole(listName, [&](const std::string& partPath) {
    if (static_cast<std::uint64_t>(size) < share.wholeBytes && readWholeFile(bucket, buffers.content) &&
        sortsWhole(buffers.content, ownFrom, settings, share, buffers.sorter)) {
      dropped += buffers.sorter.dropped();
      return writeSorted(outputAt(SortedOutput::Kind::List, partPath, pagePath, buffers.blocks, kWriteBlock),
                         buffers.sorter);
    }
    // A bucket read whole but too many lines for the share: its runs are
    // read into no more room than they take.
    if (buffers.content.capacity() > share.contentBytes + 1) std::string().swap(buffers.content);
    bucket = openForReading(bucketPath);  // from its start again
    return sortInRuns(bucket, folder, bucketCharacter, ownFrom, partPath, pagePath, settings, share, buffers, dropped);
  });
  if (!failed) return std::nullopt;
  if (!pagePath.empty()) (void)removeFile(pagePath);
  if (failed->renaming) failed->error.reason = listName + ": " + failed->error.reason;
  return failed->error;
}

// Sorts one bucket into its list. A list another program holds open (a
// spreadsheet showing it) is named, since that program must let it go.
Status sortBucket(const RunFolder& folder, std::size_t index, const SortSettings& settings, const SortShare& share,
                  SortBuffers& buffers, long& dropped) {
  const char bucket = kBucketCharacters[index];
  const std::size_t ownFrom = static_cast<std::size_t>(std::min<std::uint64_t>(settings.earlierBytes[index], SIZE_MAX));
  const std::string pagePath = settings.pageFiles ? folder.path(folder.pageLinesName(bucket)) : std::string();
  if (std::optional<SystemError> failed =
          sortOneBucket(folder, bucket, ownFrom, pagePath, settings, share, buffers, dropped)) {
    if (failed->heldByAnother) failed->reason = "another program has " + folder.listName(bucket) + " open";
    return folder.failure("sort", folder.bucketName(bucket), *failed);
  }
  if (settings.checkpoint) settings.checkpoint(RunPoint::ListWritten);
  return Status::ok();
}

// The bucket indexes by the size of their bucket files, largest first.
std::array<std::size_t, kBucketCharacters.size()> largestFirst(const RunFolder& folder) {
  std::array<std::size_t, kBucketCharacters.size()> order{};
  std::array<std::int64_t, kBucketCharacters.size()> sizes{};
  for (std::size_t i = 0; i < order.size(); ++i) {
    order[i] = i;
    sizes[i] = sizeOf(folder.path(folder.bucketName(kBucketCharacters[i])));
  }
  std::stable_sort(order.begin(), order.end(), [&sizes](std::size_t a, std::size_t b) { return sizes[a] > sizes[b]; });
  return order;
}

}  // namespace

SortOutcome sortBuckets(const RunFolder& folder, const SortSettings& settings, const Console& console) {
  // The buckets are independent: each thread takes the next bucket not yet
  // taken, largest first so that no thread is left with a big one at the
  // end, and the row still shows them in order.
  constexpr std::size_t kBuckets = kBucketCharacters.size();
  std::array<std::promise<Status>, kBuckets> outcomes;
  std::array<long, kBuckets> dropped{};
  std::array<std::size_t, kBuckets> order = largestFirst(folder);
  std::atomic<std::size_t> next{0};
  WorkerPool pool(settings.threads);
  const SortShare share(settings.memory / pool.size());
  for (std::size_t lane = 0; lane < pool.size(); ++lane) {
    (void)pool.submit([&] {
      SortBuffers buffers;
      for (std::size_t taken; (taken = next++) < kBuckets;) {
        std::size_t i = order[taken];
        try {
          outcomes[i].set_value(sortBucket(folder, i, settings, share, buffers, dropped[i]));
        } catch (...) {
          outcomes[i].set_exception(std::current_exception());
        }
      }
    });
  }
  SortOutcome result;
  for (std::size_t i = 0; i < kBuckets; ++i) {
    char bucket = kBucketCharacters[i];
    std::fputc(folder.lowerCaseNames() ? toAsciiLower(bucket) : bucket, console.out);
    std::fflush(console.out);
    result.buckets.push_back(outcomes[i].get_future().get());
    result.dropped += dropped[i];
  }
  std::fputc('\n', console.out);
  std::fflush(console.out);
  return result;
}

std::string SortOutcome::listed() const {
  std::string characters;
  for (std::size_t i = 0; i < buckets.size(); ++i) {
    if (buckets[i].isOk()) characters += kBucketCharacters[i];
  }
  return characters;
}

Status deleteSortedBuckets(const RunFolder& folder, const SortSettings& settings, const SortOutcome& sorted) {
  // The file system takes a while to free a large file: the buckets go on
  // every thread at once.
  std::array<bool, kBucketCharacters.size()> deleted{};
  std::array<SystemError, kBucketCharacters.size()> reasons;
  std::atomic<std::size_t> next{0};
  {
    WorkerPool pool(settings.threads);
    for (std::size_t lane = 0; lane < pool.size(); ++lane) {
      (void)pool.submit([&] {
        for (std::size_t i; (i = next++) < sorted.buckets.size();) {
          if (!sorted.buckets[i].isOk()) continue;
          deleted[i] = removeFile(folder.path(folder.bucketName(kBucketCharacters[i])));
          if (!deleted[i]) reasons[i] = lastSystemError();
          if (deleted[i] && settings.checkpoint) settings.checkpoint(RunPoint::BucketDeleted);
        }
      });
    }
  }
  Status status = Status::ok();
  for (std::size_t i = 0; i < sorted.buckets.size(); ++i) {
    if (!sorted.buckets[i].isOk()) {
      status.absorb(sorted.buckets[i]);
    } else if (!deleted[i]) {
      status.absorb(folder.failure("delete", folder.bucketName(kBucketCharacters[i]), reasons[i]));
    }
  }
  return status;
}

}  // namespace quorvel
