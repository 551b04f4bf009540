#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "output/record_line.h"
#include "quorvel/run_context.h"
#include "quorvel/status.h"

namespace quorvel {

// What a reader made of a run of lines, kept for the bucket files: the
// record lines in order, each with the number the reader counted it as
// (counting from the start of the run of lines), and how the run ended.
class ContactBatch {
 public:
  enum class End {
    Open,      // every line was read; the log may go on
    Finished,  // the log ends here (Cabrillo "END-OF-LOG:")
    Failed,    // the log cannot be read on: `failure` says why
  };

  // Counts one line or record that gives no record line.
  void count() { ++counted_; }
  // Counts a contact and keeps its record line, `fields` in `layout`, for
  // the bucket of `bucketKey`; with `upperCase`, its letters a-z are made
  // upper case by settle().
  void add(char bucketKey, const RecordLayout& layout, const RecordFields& fields, bool upperCase = false);
  // Upper-cases the lines added with `upperCase` since the last call, in
  // one pass. Done right as each line is written, it would read back bytes
  // just stored in small pieces, which stalls the processor; a reader calls
  // it when it has read its lines, and replay() does it for the rest.
  void settle();
  void finish() { end_ = End::Finished; }
  void fail(Status failure);
  void clear();

  End end() const { return end_; }
  long counted() const { return counted_; }

  // Hands the record lines to the run's sink in order, marking progress by
  // their number counted on from `countBefore`. Stops at the first bucket
  // that cannot be written, or returns the failure the batch ended with.
  Status replay(RunContext& run, long countBefore);

 private:
  Status handOver(RunContext& run, long countBefore) const;

  struct Contact {
    std::size_t end;  // of its record line in text_
    long number;
    char bucketKey;
  };

  // The record lines fill text_ from the front, up to used_; the rest is
  // room, grown by doubling, that no line has to clear first.
  std::string text_;
  std::size_t used_ = 0;
  static constexpr std::size_t kNone = SIZE_MAX;
  std::size_t upperFrom_ = kNone;  // where the lines still to upper-case begin
  std::vector<Contact> contacts_;
  long counted_ = 0;
  int sortColumn_ = 0;
  End end_ = End::Open;
  Status failure_ = Status::ok();
};

}  // namespace quorvel
