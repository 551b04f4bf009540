#include "output/sort_stage.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <exception>
#include <future>

#include "base/ascii.h"
#include "base/bytes.h"
#include "base/files.h"
#include "base/worker_pool.h"
#include "output/bucket_names.h"
#include "output/line_sort.h"

namespace quorvel {

namespace {

constexpr std::size_t kWriteBlock = 256 * 1024;

// What sorting a bucket works in, kept from one bucket to the next by the
// thread that sorts them, so that its memory is taken once.
struct SortBuffers {
  std::string content;
  LineSorter sorter;
  std::string block;
};

// Writes the lines `sorter` holds, in their order, to a new file at
// `path`. False when the file cannot be created or does not take every byte.
bool writeSorted(const std::string& path, const LineSorter& sorter, std::string& block) {
  File file = createNew(path);
  if (!file.isOpen()) return false;
  block.resize(kWriteBlock);
  std::size_t used = 0;
  auto flush = [&] { return writeFully(file, std::string_view(block.data(), used)); };
  for (std::size_t k = 0; k < sorter.size(); ++k) {
    std::string_view line = sorter.line(k);
    if (used + line.size() > block.size()) {
      if (!flush()) return false;
      used = 0;
      if (line.size() > block.size()) {
        if (!writeFully(file, line)) return false;
        continue;
      }
    }
    copyBytes(block.data() + used, line.data(), line.size());
    used += line.size();
  }
  return flush() && file.close();
}

// Sorts one bucket file into its sorted file, written under a passing name
// and renamed over the sorted file once complete (temporary file and
// rename), so the sorted file is never seen half-written.
bool sortOneBucket(const std::string& bucketPath, const std::string& sortedPath, const SortSettings& settings,
                   SortBuffers& buffers) {
  if (!readWholeFile(bucketPath, buffers.content)) return false;
  // Every line then has its new line right behind it, also a last line
  // that was cut short, and is written out together with it.
  if (!buffers.content.empty() && buffers.content.back() != '\n') buffers.content.push_back('\n');
  buffers.sorter.sort(buffers.content, settings.key, settings.unique);
  std::string partPath = sortedPath + ".part";
  if (!writeSorted(partPath, buffers.sorter, buffers.block) || !replaceFile(partPath, sortedPath)) {
    (void)removeFile(partPath);
    return false;
  }
  return true;
}

// Sorts one bucket and deletes its bucket file.
SortOutcome sortAndDelete(const std::string& directory, char bucket, const SortSettings& settings,
                          SortBuffers& buffers) {
  std::string bucketName = bucketFileName(bucket, settings.lowerCaseNames);
  std::string bucketPath = directory + bucketName;
  if (!sortOneBucket(bucketPath, directory + sortedFileName(bucket, settings.lowerCaseNames), settings, buffers)) {
    return {Status::failure("unable to sort file " + bucketName + "\n")};
  }
  // A bucket file left behind would be appended to, and its lines sorted a
  // second time, by the next run.
  if (!removeFile(bucketPath)) return {Status::failure("unable to delete file " + bucketName + "\n")};
  return {Status::ok(), buffers.sorter.dropped()};
}

// The bucket indexes by the size of their bucket files, largest first.
std::array<std::size_t, kBucketCharacters.size()> largestFirst(const std::string& directory, bool lowerCaseNames) {
  std::array<std::size_t, kBucketCharacters.size()> order{};
  std::array<std::int64_t, kBucketCharacters.size()> sizes{};
  for (std::size_t i = 0; i < order.size(); ++i) {
    order[i] = i;
    sizes[i] = sizeOf(directory + bucketFileName(kBucketCharacters[i], lowerCaseNames));
  }
  std::stable_sort(order.begin(), order.end(), [&sizes](std::size_t a, std::size_t b) { return sizes[a] > sizes[b]; });
  return order;
}

}  // namespace

SortOutcome sortBuckets(const std::string& directory, const SortSettings& settings, const Console& console) {
  // The buckets are independent: each thread takes the next bucket not yet
  // taken, largest first so that no thread is left with a big one at the
  // end, and the row still shows them in order.
  constexpr std::size_t kBuckets = kBucketCharacters.size();
  std::array<std::promise<SortOutcome>, kBuckets> outcomes;
  std::array<std::size_t, kBuckets> order = largestFirst(directory, settings.lowerCaseNames);
  std::atomic<std::size_t> next{0};
  WorkerPool pool(settings.threads);
  for (std::size_t lane = 0; lane < pool.size(); ++lane) {
    (void)pool.submit([&] {
      SortBuffers buffers;
      for (std::size_t taken; (taken = next++) < kBuckets;) {
        std::size_t i = order[taken];
        try {
          outcomes[i].set_value(sortAndDelete(directory, kBucketCharacters[i], settings, buffers));
        } catch (...) {
          outcomes[i].set_exception(std::current_exception());
        }
      }
    });
  }
  SortOutcome result;
  for (std::size_t i = 0; i < kBuckets; ++i) {
    char bucket = kBucketCharacters[i];
    std::fputc(settings.lowerCaseNames ? toAsciiLower(bucket) : bucket, console.out);
    std::fflush(console.out);
    SortOutcome sorted = outcomes[i].get_future().get();
    result.status.absorb(sorted.status);
    result.dropped += sorted.dropped;
  }
  std::fputc('\n', console.out);
  std::fflush(console.out);
  return result;
}

}  // namespace quorvel
