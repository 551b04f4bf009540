#include "output/folder_lock.h"

#include <chrono>
#include <optional>
#include <thread>

namespace quorvel {

namespace {

// The run that held the lock removes the lock file as it ends; on Windows
// the name stays taken until the last run that had it open lets go of it.
constexpr int kOpenTries = 500;
constexpr auto kOpenPause = std::chrono::milliseconds(10);

}  // namespace

FolderLock::FolderLock(RunFolder folder)
    : folder_(std::move(folder)), name_(folder_.lockName()), path_(folder_.path(name_)) {}

Status FolderLock::take(const Console& console, const Checkpoint& checkpoint) {
  bool waited = false;
  SystemError error;
  for (int tries = 0; tries < kOpenTries; ++tries) {
    File file = openForAppending(path_);
    if (!file.isOpen()) {
      error = lastSystemError();
      // A name that holds nothing could not be made: no run is ending.
      if (sizeOf(path_) < 0) break;
      std::this_thread::sleep_for(kOpenPause);
      continue;
    }
    LockOutcome outcome = lockFile(file, LockWait::No);
    if (outcome == LockOutcome::Busy) {
      if (!waited) {
        printMessage(console, "waiting for another quorvel run in this folder\n");
        if (checkpoint) checkpoint(RunPoint::FolderBusy);
        waited = true;
      }
      outcome = lockFile(file, LockWait::UntilFree);
    }
    if (outcome != LockOutcome::Taken) return folder_.failure("lock", name_);
    // The run that held the lock may have removed the file as it ended: a
    // lock on a file no longer at the name locks nothing.
    const std::optional<FileIdentity> locked = identityOf(file);
    if (locked && locked == identityOf(path_)) {
      file_ = std::move(file);
      return Status::ok();
    }
  }
  return folder_.failure("create", name_, error);
}

void FolderLock::release() {
  if (!file_.isOpen()) return;
  // Removed while still held, so that no run takes a lock on it once it
  // is gone from the folder.
  (void)removeFile(path_);
  (void)file_.close();
}

}  // namespace quorvel
