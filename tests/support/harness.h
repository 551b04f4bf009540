#pragma once

// What the tests and the fuzz targets share: scratch folders, runs of the
// built program, and reading a log in this process. What speaks to the
// operating system is in system_posix.cpp and system_win32.cpp.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/checkpoint.h"
#include "base/files.h"
#include "base/work_plan.h"
#include "driver/run_options.h"
#include "output/line_sort.h"

namespace quorvel::testing {

// Whether the tests run on Windows, where the program ends the lines of the
// files it writes with CR LF and a few POSIX tricks (named pipes, links,
// file-size limits) have no twin.
inline constexpr bool kWindows = QUORVEL_WINDOWS;

// Makes a named pipe at `path`; false where there are none.
bool makePipe(const std::string& path);

// Whether the programs this process starts take themselves for started on
// their own, in a console window of their own, as Explorer starts a
// double-click or a drop on Windows (through the program's seam for
// tests). False, changing nothing, where there is no such start.
bool startProgramsAlone(bool alone);

// An open file holding `content`, to be read from its start.
File fileHolding(std::string_view content);

using Files = std::map<std::string, std::string>;  // name -> content, "<dir>" for a folder

std::string readFile(const std::string& path);

// A fresh folder, removed with everything in it when it goes.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  const std::string& path() const { return path_; }
  // Makes `name` a file holding `content`, or, when `content` says so, a
  // "<dir>", a "<fifo>" or a "<link:TARGET>", as files() tells them.
  void write(const std::string& name, const std::string& content) const;
  // Makes `name` a file holding `bytes` as they stand, whatever they read
  // like: for arbitrary content, as a fuzz target has.
  void put(const std::string& name, const std::string& bytes) const;
  Files files() const;  // every entry of the folder
  // How the program's failure messages name its file `name` here: by the
  // name on POSIX systems, by the full path on Windows.
  std::string shown(const std::string& name) const;

 private:
  std::string path_;
};

struct Outcome {
  int status = -1;  // the exit status, or 128 + signal when killed
  std::string out, err;
};

// Runs the built program in `dir` with `arguments`, no shell between. With
// `fileSizeLimit`, files it writes may not grow beyond that many bytes; with
// `mergeStreams` standard error goes to `out` too, as a terminal shows both.
Outcome runProgram(const ScratchDir& dir, const std::vector<std::string>& arguments, long fileSizeLimit = 0,
                   bool mergeStreams = false);

// Runs the program as above, in a folder of the system's.
Outcome runProgram(const std::string& folder, const std::vector<std::string>& arguments);

// Runs `binary` as runProgram() runs the program, in `folder`.
Outcome runBinary(const char* binary, const std::string& folder, const std::vector<std::string>& arguments,
                  long fileSizeLimit, bool mergeStreams);

// Runs the program as runProgram() does, but ends it dead, as a kill
// would, the `count`-th time the run reaches `point`: status 137.
Outcome runKilledAt(const ScratchDir& dir, RunPoint point, int count, const std::vector<std::string>& arguments);

// Runs the program as runProgram() does, but the `count`-th time the run
// reaches `point` it makes the file `held` in `dir` and waits there until
// the file is gone.
Outcome runHeldAt(const ScratchDir& dir, RunPoint point, int count, const std::string& held,
                  const std::vector<std::string>& arguments);

// Waits until the file `name` stands in `dir`; false after ten seconds.
bool waitForFile(const ScratchDir& dir, const std::string& name);

// A stream to write to and read back, in a folder of this process's own.
// (The C library's tmpfile() on Windows makes the same names in every
// process, so two test processes at once would take each other's.)
std::FILE* scratchStream();

// The row of bucket characters the sort stage writes.
std::string bucketRow(bool lowerCase = false);

// The list the sort stage is to make of a bucket holding `content`: the
// texts of its lines, a last one without a new line given one, in the
// order of a plain stable sort by `key` (from the callsign where a line
// carries its place, and, for a line from byte `ownFrom` on that carries
// nothing, where the line before it carried it), or with `unique` of a
// plain sort by key, text and what a line carries, each line once. The
// plain twin of the line sort.
std::string listOf(std::string content, SortKey key, bool unique = false, std::size_t ownFrom = SIZE_MAX);

// The 36 file names of "TMP" or "TXT", each empty.
Files allBuckets(const std::string& extension, bool lowerCase = false);

// Everything reading a log in this process shows: the outcome, the console
// and each record line handed over, in order, after its bucket key, with
// what its bucket line carries beside it (bucket_line.h).
struct ReadTrace {
  std::string failure;  // the message of a failed read, or of a log that gave no contact, else ""
  bool accepted = false;
  std::optional<RecordLayout> layout;  // the lines were written in, when any were
  std::string out, err;
  std::vector<std::string> lines;
  std::vector<std::string> carried;
  bool operator==(const ReadTrace&) const = default;
};

// Reads `log` with `options`, in blocks as `plan` says; handing over the
// record line numbered `failAt` (from 0) fails as a full disk would.
ReadTrace traceRead(std::string_view log, const RunOptions& options, const WorkPlan& plan,
                    std::size_t failAt = SIZE_MAX);

}  // namespace quorvel::testing
