#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/console.h"
#include "base/status.h"
#include "output/bucket_names.h"
#include "output/run_folder.h"

namespace quorvel {

// A run's rollback journal, "QUORVEL.JNL" ("quorvel.jnl" with -lower)
// beside the bucket files. Before its first append a run records there the
// size of every bucket file as it found it; a run that ends, well or with
// a reported failure, removes it. So a journal that a run finds was left by
// a run that was interrupted (a kill, a closed console, a power cut), and
// cutting the buckets back to its sizes undoes that run's appends, a torn
// last line with them. Once every list is written, a run marks in the
// journal which buckets it is about to delete: an interrupted deletion is
// then finished, not undone.

// What a journal holds.
struct JournalRecord {
  std::array<std::int64_t, kBucketCharacters.size()> sizes{};  // as the run found them
  std::optional<std::string> deleting;                         // the buckets whose lists were written, once marked
};

// The text of a journal of `sizes`, the bucket files named as `folder` names them.
std::string formatJournal(const JournalRecord& record, const RunFolder& folder);

// The record a journal's text holds; nothing when it is not a whole journal.
// A mark cut short (no new line) counts as none: its run deleted nothing.
std::optional<JournalRecord> parseJournal(std::string_view text);

// What taking a failed run's appends back came to: whether any bucket
// held one, or why a bucket could not be cut back.
struct TakenBack {
  Status status = Status::ok();
  bool any = false;
};

class BucketJournal {
 public:
  // The journal of the run writing in `folder`.
  explicit BucketJournal(RunFolder folder);

  // Puts right what an interrupted run left, when its journal stands: cuts
  // every bucket file back to its size in the journal and says "an
  // interrupted run was undone", or, when the journal marks its lists
  // written, deletes the buckets it names and says "an interrupted run was
  // finished"; then removes the journal. A journal that cannot be read, or
  // that names a bucket longer than it is, is reported and nothing changes.
  Status recover(const Console& console) const;

  // Records the size of every bucket file as it stands, written out to the
  // disk before it returns, so that a journal is never missing while the
  // run's appends are.
  Status begin();

  // Takes this run's appends out of the bucket files again, a run that
  // failed with a reported error: each bucket but those whose characters
  // are in `listed` (their lists were written) is cut back to the size
  // begin() found, leftover lines of earlier runs kept, so that the same
  // run made again once the cause is gone gives the lists of one run.
  // Tells whether any bucket held an append; fails with "unable to take
  // this run's contacts out of the bucket files again" when a bucket
  // cannot be cut.
  TakenBack takeBack(std::string_view listed) const;

  // Marks that every list is written and the bucket files of the
  // characters `deleting` are about to be deleted.
  Status markDeleting(std::string_view deleting) const;

  // Removes the journal: the run is over.
  Status end() const;

  // The size of each bucket file as begin() found it: what earlier runs
  // left there, before this run's lines.
  const std::array<std::int64_t, kBucketCharacters.size()>& foundSizes() const { return record_.sizes; }

 private:
  Status undo(const JournalRecord& record) const;
  // Cuts bucket `index` back to `size` bytes, out on the disk; fails with
  // `failing` (what could not be done), the bucket's name and the reason.
  Status cutBack(std::size_t index, std::int64_t size, std::string_view failing) const;
  Status finish(const JournalRecord& record) const;
  Status writeOut(const std::string& text) const;
  std::string bucketPath(std::size_t index) const;

  RunFolder folder_;
  std::string name_;
  JournalRecord record_;
};

}  // namespace quorvel
