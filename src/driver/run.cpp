#include "driver/run.h"

#include "base/files.h"
#include "driver/command_line.h"
#include "driver/read_log.h"
#include "output/bucket_files.h"
#include "output/sort_stage.h"
#include "readers/line_reader.h"
#include "record/console_texts.h"

namespace quorvel {

namespace {

// Bucket and sorted files go to the current directory.
const std::string kWorkingDirectory;

Status runLog(const CommandLine& command, const Console& console, const WorkPlan& work) {
  File log = openLog(command.fileName);
  if (!log.isOpen()) return Status::failure("unable to open file " + command.fileName + "\n");

  BucketFiles buckets(kWorkingDirectory, command.options.lowerCaseNames);
  if (Status created = buckets.create(); !created.isOk()) return created;

  LineReader input(log, command.fileName);
  LogReading reading = readLog(input, command.options, work, console, buckets);
  // Whatever the reader managed to hand over reaches its bucket file, also
  // when the run cannot go on: a later run appends to it.
  Status closed = buckets.close();
  if (!reading.status.isOk()) return reading.status;
  if (!closed.isOk()) return closed;
  if (!reading.layout) return Status::ok();

  (void)log.close();
  printMessage(console, kSortingMessage);
  // Leftover bucket lines, when this run wrote none, are sorted as whole lines.
  int sortColumn = buckets.linesHandedOver() > 0 ? reading.layout->sortColumn() : 0;
  return sortBuckets(kWorkingDirectory, command.options.lowerCaseNames, sortColumn, console, work.threadCount());
}

}  // namespace

ExitStatus runQuorvel(const std::vector<std::string>& arguments, const Console& console, const WorkPlan& work) {
  CommandLine command = parseCommandLine(arguments);
  switch (command.action) {
    case CommandLine::Action::Usage: printMessage(console, kUsageText); return ExitStatus::Failure;
    case CommandLine::Action::Banner: printMessage(console, kBanner); return ExitStatus::Success;
    case CommandLine::Action::Run: break;
  }
  Status status = runLog(command, console, work);
  if (!status.isOk()) {
    printMessage(console, status.message());
    return ExitStatus::Failure;
  }
  return ExitStatus::Success;
}

}  // namespace quorvel
