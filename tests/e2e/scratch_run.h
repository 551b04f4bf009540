#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "support/run_invariants.h"

namespace quorvel::testing {

// A fresh directory for one end-to-end run, removed with everything in it
// when the test ends. The program runs in work(); its console output is kept
// beside it, so work() holds exactly the files the program left.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& work() const { return work_; }
  const std::string& root() const { return root_; }

  void write(const std::string& name, const std::string& content) const;
  void makeDirectory(const std::string& name) const;

  // Every entry of work(): a file's content, or "<dir>" for a directory.
  std::map<std::string, std::string> files() const;

 private:
  std::string root_;
  std::string work_;
};

struct RunResult {
  int exitStatus = -1;  // the exit status, or 128 + signal when killed
  std::string out;
  std::string err;
};

struct RunLimits {
  std::optional<long> fileSizeBytes;  // RLIMIT_FSIZE for the child, SIGXFSZ ignored
  bool mergeStreams = false;          // standard error into `out`, as a terminal shows both
};

// Runs the built quorvel in `dir.work()` with `arguments`, no shell between.
RunResult runQuorvel(const ScratchDir& dir, const std::vector<std::string>& arguments, RunLimits limits = {});

// The 36 sorted file names, with their contents all empty.
std::map<std::string, std::string> emptySortedFiles(bool lowerCase = false);
std::map<std::string, std::string> emptyBucketFiles(bool lowerCase = false);

// The row of bucket characters the sort stage writes.
std::string bucketRow(bool lowerCase = false);

// One run on `log` (saved as "log") with `arguments` before its name.
struct LogRun {
  RunResult result;
  std::map<std::string, std::string> files;  // every file left, the log included
};
LogRun runOnLog(const std::string& log, const std::vector<std::string>& arguments = {});

// A run expected to complete with status 0: its messages and the sorted
// files that are not empty.
struct CompletedRun {
  const char* name;
  std::string log;
  std::vector<std::string> options;
  std::string err;
  std::map<std::string, std::string> sorted;
};

// Runs `expected.log` and checks status, both streams and every file left.
void expectCompletedRun(const CompletedRun& expected);

// The files a completed run leaves: the log, the 36 sorted files, empty but
// for `sorted`.
std::map<std::string, std::string> filesAfterRun(const std::string& log,
                                                 const std::map<std::string, std::string>& sorted,
                                                 bool lowerCase = false);

}  // namespace quorvel::testing
