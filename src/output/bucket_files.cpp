#include "output/bucket_files.h"

namespace quorvel {

namespace {
// Enough to make each write a large one, small enough that 36 of them cost
// little memory.
constexpr std::size_t kFlushSize = 64 * 1024;
}  // namespace

BucketFiles::BucketFiles(RunFolder folder, Checkpoint checkpoint)
    : folder_(std::move(folder)), checkpoint_(std::move(checkpoint)) {}

BucketFiles::~BucketFiles() { (void)close(); }

Status BucketFiles::create() {
  for (std::size_t i = 0; i < buckets_.size(); ++i) {
    buckets_[i].file = openForAppending(folder_.path(folder_.bucketName(kBucketCharacters[i])));
    if (!buckets_[i].file.isOpen()) return cannotWrite(i);
    if (Status ended = endLastLine(i); !ended.isOk()) return ended;
  }
  return Status::ok();
}

// A leftover bucket file whose last line lacks its new line (an edited or
// foreign file) gets one, so the first line appended stays a line of its own.
Status BucketFiles::endLastLine(std::size_t index) {
  const File& file = buckets_[index].file;
  std::int64_t size = sizeOf(file);
  if (size < 0) return cannotWrite(index);
  if (size == 0) return Status::ok();
  char last = '\n';
  if (!readByteAt(file, size - 1, last)) return cannotWrite(index);
  if (last != '\n' && !writeFully(file, kLineEnd)) return cannotWrite(index);
  return Status::ok();
}

Status BucketFiles::appendToBucket(char bucketKey, std::string_view line, std::size_t untoldCallsign) {
  return append(bucketKey, line, untoldCallsign, mayCarry(line.substr(0, line.size() - kLineEnd.size())));
}

Status BucketFiles::append(char bucketKey, std::string_view line, std::size_t untoldCallsign, bool lineMayCarry) {
  ++linesHandedOver_;
  int index = bucketIndex(bucketKey);
  if (index < 0) return Status::ok();
  Bucket& bucket = buckets_[static_cast<std::size_t>(index)];
  const std::string_view body = line.substr(0, line.size() - kLineEnd.size());
  if (const std::string_view told = bucket.places.tell(body, untoldCallsign, lineMayCarry); told.empty()) {
    bucket.pending.append(line);
  } else {
    bucket.pending.append(body).append(told).append(kLineEnd);
  }
  if (bucket.pending.size() >= kFlushSize) return flush(static_cast<std::size_t>(index));
  return Status::ok();
}

Status BucketFiles::appendLines(std::string_view text, std::span<const HandedLine> lines, std::size_t& taken) {
  std::size_t begin = 0;
  for (taken = 0; taken < lines.size(); ++taken) {
    const HandedLine& line = lines[taken];
    Status status =
        append(line.bucketKey, text.substr(begin, line.end - begin), line.untoldCallsign, line.lineMayCarry);
    if (!status.isOk()) return status;
    begin = line.end;
  }
  return Status::ok();
}

Status BucketFiles::flush(std::size_t index) {
  Bucket& bucket = buckets_[index];
  if (bucket.pending.empty()) return Status::ok();
  if (!bucket.file.isOpen()) return cannotWrite(index);
  std::int64_t before = sizeOf(bucket.file);
  if (before < 0) return cannotWrite(index);
  if (writeFully(bucket.file, bucket.pending)) {
    bucket.pending.clear();
    if (checkpoint_) checkpoint_(RunPoint::BucketWritten);
    return Status::ok();
  }
  const SystemError error = lastSystemError();
  // Keep the lines that reached the file whole and take back the piece of
  // the one that did not.
  std::int64_t after = sizeOf(bucket.file);
  std::size_t written = after > before ? static_cast<std::size_t>(after - before) : 0;
  std::size_t lastNewline = std::string_view(bucket.pending).substr(0, written).rfind('\n');
  std::size_t keep = lastNewline == std::string_view::npos ? 0 : lastNewline + 1;
  // Should the cut fail, nothing more can be done for this file; it is
  // reported all the same.
  (void)truncateTo(bucket.file, before + static_cast<std::int64_t>(keep));
  bucket.pending.clear();
  return cannotWrite(index, error);
}

Status BucketFiles::close() {
  Status result = Status::ok();
  for (std::size_t i = 0; i < buckets_.size(); ++i) {
    if (!buckets_[i].file.isOpen()) continue;
    Status flushed = flush(i);
    bool closed = buckets_[i].file.close();
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

Status BucketFiles::cannotWrite(std::size_t index, const SystemError& error) const {
  return folder_.failure("create", folder_.bucketName(kBucketCharacters[index]), error);
}

void removeEmptyBucketFiles(const RunFolder& folder) {
  for (char bucket : kBucketCharacters) {
    const std::string path = folder.path(folder.bucketName(bucket));
    // Only a regular file opens for reading: a pipe or a folder planted at
    // the name stays.
    File file = openForReading(path);
    if (file.isOpen() && sizeOf(file) == 0 && file.close()) (void)removeFile(path);
  }
}

}  // namespace quorvel
