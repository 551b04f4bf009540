#include "driver/run.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "driver/command_line.h"
#include "driver/read_log.h"
#include "output/bucket_files.h"
#include "output/console.h"
#include "output/sort_stage.h"
#include "quorvel/unique_fd.h"
#include "readers/line_reader.h"

namespace quorvel {

namespace {

// Bucket and sorted files go to the current directory.
const std::string kWorkingDirectory;

Status openLog(const std::string& fileName, UniqueFd& log) {
  log = UniqueFd(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (!log.valid() || ::fstat(log.get(), &info) != 0 || S_ISDIR(info.st_mode)) {
    return Status::failure("unable to open file " + fileName + "\n");
  }
  return Status::ok();
}

Status runLog(RunContext& run) {
  UniqueFd log;
  if (Status opened = openLog(run.logName, log); !opened.isOk()) return opened;

  BucketFiles buckets(kWorkingDirectory, run.options.lowerCaseNames);
  if (Status created = buckets.create(); !created.isOk()) return created;
  run.sink = &buckets;

  LineReader input(log.get(), run.logName);
  bool accepted = false;
  Status read = readLog(input, run, accepted);
  // Whatever the reader managed to hand over reaches its bucket file, also
  // when the run cannot go on: a later run appends to it.
  Status closed = buckets.close();
  run.sink = nullptr;
  if (!read.isOk()) return read;
  if (!closed.isOk()) return closed;
  if (!accepted) return Status::ok();

  log.reset();
  printMessage(run.console, "\nSorting logs....\n");
  return sortBuckets(kWorkingDirectory, run.options.lowerCaseNames, run.sortColumn, run.console,
                     run.work.threadCount());
}

}  // namespace

ExitStatus runQuorvel(const std::vector<std::string>& arguments, const Console& console) {
  CommandLine command = parseCommandLine(arguments);
  switch (command.action) {
    case CommandLine::Action::Usage: printMessage(console, kUsageText); return ExitStatus::Failure;
    case CommandLine::Action::Banner: printMessage(console, kBanner); return ExitStatus::Success;
    case CommandLine::Action::Run: break;
  }
  RunContext run;
  run.options = command.options;
  run.console = console;
  run.logName = command.fileName;
  Status status = runLog(run);
  if (!status.isOk()) {
    printMessage(console, status.message());
    return ExitStatus::Failure;
  }
  return ExitStatus::Success;
}

}  // namespace quorvel
