#include "driver/run.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "detect/ascii.h"
#include "detect/screen_line.h"
#include "driver/adif_probe.h"
#include "driver/command_line.h"
#include "output/bucket_files.h"
#include "output/console.h"
#include "output/sort_stage.h"
#include "quorvel/unique_fd.h"
#include "readers/adif_reader.h"
#include "readers/cabrillo_reader.h"
#include "readers/column_reader.h"
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

Status dispatch(ScreenResult kind, LineReader& input, const Line& firstLine, RunContext& run) {
  switch (kind) {
    case ScreenResult::Adif: return readAdifLog(input, firstLine, run);
    case ScreenResult::Cabrillo: return readCabrilloLog(input, firstLine, run);
    case ScreenResult::Data:
    case ScreenResult::Reject: break;
  }
  return readColumnLog(input, firstLine, run);
}

// Hands an ADIF log that the start of the file gave away to the ADIF reader,
// from its first line that is not empty.
Status readProbedAdif(LineReader& input, RunContext& run, AdifStart start, bool& accepted) {
  Line line;
  while (input.next(line)) {
    if (line.rawLength() < 2) continue;
    accepted = true;
    return readAdifLog(input, line, run, start);
  }
  return input.status();
}

// Reads the log from its first line to its end: screening until a line is
// accepted, then the reader that line picks. Sets `accepted` when a line was.
Status readLog(LineReader& input, RunContext& run, bool& accepted) {
  switch (probeAdif(input.peek(kAdifProbeSize))) {
    case AdifProbe::WithHeader: return readProbedAdif(input, run, AdifStart::AtHeader, accepted);
    case AdifProbe::Headerless: return readProbedAdif(input, run, AdifStart::AtRecords, accepted);
    case AdifProbe::NotAdif: break;
  }
  Line line;
  std::string upper;
  while (input.next(line)) {
    upperCaseInto(line.text, upper);
    ScreenResult kind = screenLine(upper);
    if (kind == ScreenResult::Reject) continue;
    accepted = true;
    return dispatch(kind, input, line, run);
  }
  return input.status();
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
  return sortBuckets(kWorkingDirectory, run.options.lowerCaseNames, run.sortColumn, run.console);
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
