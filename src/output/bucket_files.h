#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "base/checkpoint.h"
#include "base/files.h"
#include "base/status.h"
#include "base/system_error.h"
#include "output/bucket_names.h"
#include "output/run_folder.h"
#include "record/bucket_line.h"
#include "record/record_sink.h"

namespace quorvel {

// The 36 bucket files of a run, kept open from creation to the sort stage.
// Record lines collect in a buffer per bucket and reach their file in whole
// lines only: when a file takes only part of a batch (disk full), it is cut
// back to the last whole line and the run fails. A line's callsign place
// is written only where the line before it in its bucket does not tell it
// (BucketPlaces).
class BucketFiles final : public RecordSink {
 public:
  // The files are `folder`'s buckets; `checkpoint` is told of each batch a
  // bucket file takes.
  explicit BucketFiles(RunFolder folder, Checkpoint checkpoint = {});
  ~BucketFiles() override;

  // Opens every bucket file for appending, creating the missing ones and
  // keeping what leftover ones hold. Fails with "unable to create file %s\n"
  // at the first that cannot be opened; those opened before stay on disk.
  Status create();

  Status appendToBucket(char bucketKey, std::string_view line, std::size_t untoldCallsign) override;
  Status appendLines(std::string_view text, std::span<const HandedLine> lines, std::size_t& taken) override;

  // How many record lines were handed over, whether or not their key
  // selects a bucket.
  long linesHandedOver() const { return linesHandedOver_; }

  // Writes what is still buffered and closes every file. Goes on past a
  // failing bucket so the others keep their lines; reports the first failure.
  Status close();

 private:
  struct Bucket {
    File file;
    std::string pending;
    BucketPlaces places;
  };

  // appendToBucket() for a line whose text's mayCarry() is known.
  Status append(char bucketKey, std::string_view line, std::size_t untoldCallsign, bool lineMayCarry);
  Status endLastLine(std::size_t index);
  Status flush(std::size_t index);
  // "unable to create file", with the reason of the call that failed.
  Status cannotWrite(std::size_t index, const SystemError& error = lastSystemError()) const;

  RunFolder folder_;
  Checkpoint checkpoint_;
  long linesHandedOver_ = 0;
  std::array<Bucket, kBucketCharacters.size()> buckets_;
};

// Deletes every bucket file in `folder` that is a regular file holding
// nothing. A run that writes no list
// leaves no empty bucket behind: an empty bucket and a missing one are
// the same to every later run.
void removeEmptyBucketFiles(const RunFolder& folder);

}  // namespace quorvel
