#include "driver/run.h"

#include <algorithm>
#include <optional>

#include "base/files.h"
#include "driver/command_line.h"
#include "driver/read_log.h"
#include "output/bucket_files.h"
#include "output/bucket_names.h"
#include "output/sort_stage.h"
#include "readers/line_reader.h"
#include "record/console_texts.h"

namespace quorvel {

namespace {

// Bucket and sorted files go to the current directory.
const std::string kWorkingDirectory;

// Opens every log before a bucket file is touched, so that a name that
// cannot be read changes nothing in the directory.
Status openLogs(const std::vector<std::string>& names, std::vector<File>& logs) {
  Status status = Status::ok();
  for (const std::string& name : names) {
    logs.push_back(openLog(name));
    if (!logs.back().isOpen()) status.absorb(Status::failure("unable to open file " + name + "\n"));
  }
  return status;
}

// A log that is one of the files the run writes would be lost: a bucket
// file's lines join its list and it is deleted, a list is replaced. On
// Windows, where names are alike in any case, a log named k.txt is the
// list K.TXT. Such a log is refused before anything is written.
Status refuseOwnFiles(const std::vector<std::string>& names, const std::vector<File>& logs, bool lowerCase) {
  std::vector<FileIdentity> written;
  for (char bucket : kBucketCharacters) {
    for (const std::string& name : {bucketFileName(bucket, lowerCase), sortedFileName(bucket, lowerCase)}) {
      if (std::optional<FileIdentity> identity = identityOf(name)) written.push_back(*identity);
    }
  }
  Status status = Status::ok();
  for (std::size_t i = 0; i < logs.size() && !written.empty(); ++i) {
    std::optional<FileIdentity> identity = identityOf(logs[i]);
    if (identity && std::find(written.begin(), written.end(), *identity) != written.end()) {
      status.absorb(Status::failure("unable to read file " + names[i] + ": the run writes to it\n"));
    }
  }
  return status;
}

Status runLogs(const CommandLine& command, const Console& console, const WorkPlan& work) {
  std::vector<File> logs;
  if (Status opened = openLogs(command.logNames, logs); !opened.isOk()) return opened;
  if (Status own = refuseOwnFiles(command.logNames, logs, command.options.lowerCaseNames); !own.isOk()) return own;

  BucketFiles buckets(kWorkingDirectory, command.options.lowerCaseNames);
  if (Status created = buckets.create(); !created.isOk()) return created;

  // Several logs share the lists: their record lines must all have their
  // callsigns at one column, so text logs get the wide band field too.
  const bool shared = logs.size() > 1;
  std::optional<RecordLayout> layout;
  long counted = 0;
  for (std::size_t i = 0; i < logs.size(); ++i) {
    LineReader input(logs[i], command.logNames[i]);
    LogReading reading = readLog(input, command.options, shared, work, console, buckets);
    (void)logs[i].close();
    if (!reading.status.isOk()) {
      // What the reader managed to hand over reaches its bucket file: a
      // later run appends to it.
      (void)buckets.close();
      return reading.status;
    }
    if (reading.layout) layout = reading.layout;
    counted += reading.counted;
  }
  if (Status closed = buckets.close(); !closed.isOk()) return closed;
  if (!layout) return Status::ok();

  printMessage(console, kSortingMessage);
  // Leftover bucket lines, when this run wrote none, are sorted as whole
  // lines. Lines of several logs are compared from their callsigns on.
  const bool handedOver = buckets.linesHandedOver() > 0;
  SortSettings settings{SortKey{handedOver ? layout->sortColumn() : 0, handedOver && shared},
                        command.options.lowerCaseNames, command.options.unique, work.threadCount(), work.sortMemory};
  SortOutcome sorted = sortBuckets(kWorkingDirectory, settings, console);
  if (shared || command.options.unique) {
    std::string summary = std::to_string(counted) + " QSOs read from " + std::to_string(logs.size()) +
                          (logs.size() == 1 ? " log" : " logs");
    if (command.options.unique) summary += ", " + std::to_string(sorted.dropped) + " repeated lines dropped";
    printMessage(console, summary + "\n");
  }
  return sorted.status;
}

}  // namespace

ExitStatus runQuorvel(const std::vector<std::string>& arguments, const Console& console, const WorkPlan& work) {
  CommandLine command = parseCommandLine(arguments);
  switch (command.action) {
    case CommandLine::Action::Usage: printMessage(console, kUsageText); return ExitStatus::Failure;
    case CommandLine::Action::Banner: printMessage(console, kBanner); return ExitStatus::Success;
    case CommandLine::Action::Help: printOutput(console, kUsageText); return ExitStatus::Success;
    case CommandLine::Action::Version: printOutput(console, kBanner); return ExitStatus::Success;
    case CommandLine::Action::Run: break;
  }
  Status status = runLogs(command, console, work);
  if (!status.isOk()) {
    printMessage(console, status.message());
    return ExitStatus::Failure;
  }
  return ExitStatus::Success;
}

}  // namespace quorvel
