#include "output/bucket_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "output/file_io.h"

namespace quorvel {

namespace {
// Enough to make each write a large one, small enough that 36 of them cost
// little memory.
constexpr std::size_t kFlushSize = 64 * 1024;
}  // namespace

BucketFiles::BucketFiles(std::string directory, bool lowerCaseNames)
    : directory_(std::move(directory)), lowerCaseNames_(lowerCaseNames) {}

BucketFiles::~BucketFiles() { (void)close(); }

Status BucketFiles::create() {
  for (std::size_t i = 0; i < buckets_.size(); ++i) {
    std::string path = directory_ + bucketFileName(kBucketCharacters[i], lowerCaseNames_);
    buckets_[i].fd = UniqueFd(::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
    if (!buckets_[i].fd.valid()) return cannotWrite(i);
    if (Status ended = endLastLine(i); !ended.isOk()) return ended;
  }
  return Status::ok();
}

// A leftover bucket file whose last line lacks its new line (an edited or
// foreign file) gets one, so the first line appended stays a line of its own.
Status BucketFiles::endLastLine(std::size_t index) {
  int fd = buckets_[index].fd.get();
  struct stat info {};
  if (::fstat(fd, &info) != 0) return cannotWrite(index);
  if (info.st_size == 0) return Status::ok();
  char last = '\n';
  if (::pread(fd, &last, 1, info.st_size - 1) != 1) return cannotWrite(index);
  if (last != '\n' && writeFully(fd, "\n") != 1) return cannotWrite(index);
  return Status::ok();
}

Status BucketFiles::appendToBucket(char bucketKey, std::string_view line) {
  int index = bucketIndex(bucketKey);
  if (index < 0) return Status::ok();
  Bucket& bucket = buckets_[static_cast<std::size_t>(index)];
  bucket.pending.append(line);
  if (bucket.pending.size() >= kFlushSize) return flush(static_cast<std::size_t>(index));
  return Status::ok();
}

Status BucketFiles::flush(std::size_t index) {
  Bucket& bucket = buckets_[index];
  if (bucket.pending.empty()) return Status::ok();
  if (!bucket.fd.valid()) return cannotWrite(index);
  struct stat before {};
  if (::fstat(bucket.fd.get(), &before) != 0) return cannotWrite(index);
  std::size_t written = writeFully(bucket.fd.get(), bucket.pending);
  if (written == bucket.pending.size()) {
    bucket.pending.clear();
    return Status::ok();
  }
  // Keep the lines that reached the file whole and take back the piece of
  // the one that did not.
  std::size_t lastNewline = std::string_view(bucket.pending).substr(0, written).rfind('\n');
  std::size_t keep = lastNewline == std::string_view::npos ? 0 : lastNewline + 1;
  if (::ftruncate(bucket.fd.get(), before.st_size + static_cast<off_t>(keep)) != 0) {
    // Nothing more can be done for this file; it is reported all the same.
  }
  bucket.pending.clear();
  return cannotWrite(index);
}

Status BucketFiles::close() {
  Status result = Status::ok();
  for (std::size_t i = 0; i < buckets_.size(); ++i) {
    if (!buckets_[i].fd.valid()) continue;
    Status flushed = flush(i);
    bool closed = buckets_[i].fd.reset();
    if (result.isOk()) {
      if (!flushed.isOk()) {
        result = flushed;
      } else if (!closed) {
        result = cannotWrite(i);
      }
    }
  }
  return result;
}

Status BucketFiles::cannotWrite(std::size_t index) const {
  return Status::failure("unable to create file " + bucketFileName(kBucketCharacters[index], lowerCaseNames_) + "\n");
}

}  // namespace quorvel
