#pragma once

#include <functional>

namespace quorvel {

// The moments of a run at which a test may end the program dead, as a kill
// or a power cut would, to see that the next run puts right what it left,
// or hold it, to see what a second run in the same folder does meanwhile.
// A run without a checkpoint goes through them without a stop.
enum class RunPoint {
  BucketWritten,  // a bucket file has taken a batch of record lines
  ListWritten,    // one list is complete under its own name
  BucketDeleted,  // every list is written, and one bucket file is gone
  FolderBusy,     // another run holds the folder: this one is about to wait for it
  RunEnding,      // every file is written: the journal and the folder's lock go next
};

using Checkpoint = std::function<void(RunPoint)>;

}  // namespace quorvel
