#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "quorvel/record_sink.h"
#include "quorvel/run_context.h"
#include "quorvel/run_options.h"

namespace quorvel::testing {

// Keeps every record line a reader hands over, by the bucket it selects;
// lines whose key selects no bucket are dropped, as the bucket files do.
class RecordingSink final : public RecordSink {
 public:
  Status appendToBucket(char bucketKey, std::string_view line) override;

  std::map<char, std::vector<std::string>> lines;  // bucket character -> lines
};

// What reading a log yields without any file being written.
struct ExpectedRun {
  bool failed = false;    // the reader reported an error
  bool accepted = false;  // some line was accepted, so the sort stage runs
  int sortColumn = 0;
  std::map<char, std::vector<std::string>> lines;
};

// Everything reading a log in this process shows: the outcome, the console's
// text, and each record line handed over, in order, after its bucket key.
struct ReadTrace {
  std::string failure;  // the message of a failed read, else ""
  bool accepted = false;
  int sortColumn = 0;
  std::string out, err;
  std::vector<std::string> appended;
  bool operator==(const ReadTrace&) const = default;
};

// Reads the log at `path` with `options` in this process, in blocks as
// `plan` says. Handing over the record line numbered `failAt` (from 0)
// fails as a full disk would.
ReadTrace traceRead(const std::string& path, const RunOptions& options, const WorkPlan& plan,
                    std::size_t failAt = SIZE_MAX);

// The whole content of the file at `path` ("" if it cannot be read).
std::string readFile(const std::string& path);

// The command line that asks for `options` and names the log `logName`.
std::vector<std::string> argumentsFor(const RunOptions& options, const std::string& logName);

// Reads the log at `path` in this process, through the same detection and
// readers as the program, into a RecordingSink.
ExpectedRun readExpected(const std::string& path, const RunOptions& options);

// The lines of `content`, each with its new line (a last line without one
// is given one), sorted.
std::vector<std::string> sortedLines(const std::string& content);

// Checks what a run of the program with `options` left in `dir`, given its
// exit status, what reading the log yields, and the bucket files that
// stood in `dir` before the run (`leftovers`, by file name):
// - the status is 0 or 1;
// - after status 0 with an accepted line, no bucket file remains and
//   exactly the 36 sorted files exist;
// - every bucket and sorted file consists of whole lines;
// - the lines of each bucket's files are this run's record lines and the
//   leftover lines, nothing else and nothing twice (all of them after
//   status 0);
// - each sorted file is in order of its sort key.
// Returns a description of each violation; empty when all hold.
std::vector<std::string> checkRun(const std::string& dir, const RunOptions& options, int exitStatus,
                                  const ExpectedRun& expected, const std::map<std::string, std::string>& leftovers);

}  // namespace quorvel::testing
