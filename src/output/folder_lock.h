#pragma once

#include <string>

#include "base/checkpoint.h"
#include "base/console.h"
#include "base/files.h"
#include "base/status.h"
#include "output/run_folder.h"

namespace quorvel {

// One run at a time in a folder: two runs that appended to the same bucket
// files, or sorted one while the other appended, or undid each other's
// journal, would lose or double contacts. A run holds the operating
// system's lock on the lock file from before it looks at a journal or a
// bucket until its journal is gone; the system lets go of it when the run
// ends in any way, so a run that was killed never blocks the next.
class FolderLock {
 public:
  // The lock of `folder`, on its lock file (RunFolder::lockName).
  explicit FolderLock(RunFolder folder);
  ~FolderLock() { release(); }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  // Takes the lock, creating the lock file as every file the run writes
  // is created (never through a link, only as a regular file). When
  // another run holds it, says "waiting for another quorvel run in this
  // folder" on the console, tells `checkpoint` FolderBusy, and waits for
  // it. Fails with "unable to create file %s\n" or "unable to lock file
  // %s\n".
  Status take(const Console& console, const Checkpoint& checkpoint);

  // Removes the lock file and lets go of the lock: the run is over.
  void release();

 private:
  RunFolder folder_;
  std::string name_;
  std::string path_;
  File file_;
};

}  // namespace quorvel
