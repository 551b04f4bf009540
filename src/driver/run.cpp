#include "driver/run.h"

#include <algorithm>
#include <optional>

#include "base/console_texts.h"
#include "base/file_failure.h"
#include "base/files.h"
#include "base/system_error.h"
#include "base/visible_text.h"
#include "driver/command_line.h"
#include "driver/read_log.h"
#include "driver/run_layout.h"
#include "output/bucket_files.h"
#include "output/bucket_journal.h"
#include "output/folder_lock.h"
#include "output/run_folder.h"
#include "output/sort_stage.h"
#include "page/lookup_page.h"
#include "readers/line_reader.h"

namespace quorvel {

namespace {

// Where the run's files go: the current folder, as for any command; but
// when the program was started on its own with logs dropped on it,
// Windows chose the current folder, not the user, and the lists go beside
// the first log. "" for the current folder, else ending in a separator.
std::string workFolder(const CommandLine& command, const Console& console) {
  if (!console.ownWindow || command.logNames.empty()) return "";
  const std::string& first = command.logNames.front();
  const std::size_t separator = first.find_last_of("/\\");
  return separator == std::string::npos ? "" : first.substr(0, separator + 1);
}

// Opens every log before a bucket file is touched, so that a name that
// cannot be read changes nothing in the directory.
Status openLogs(const std::vector<std::string>& names, std::vector<File>& logs) {
  Status status = Status::ok();
  for (const std::string& name : names) {
    logs.push_back(openLog(name));
    if (!logs.back().isOpen()) status.absorb(logFailure("open", name));
  }
  return status;
}

// A log that is one of the files the run writes would be lost: a bucket
// file's lines join its list and it is deleted, a list is replaced. On
// Windows, where names are alike in any case, a log named k.txt is the
// list K.TXT. Such a log is refused before anything is written.
Status refuseOwnFiles(const RunFolder& folder, const std::vector<std::string>& names, const std::vector<File>& logs) {
  std::vector<FileIdentity> written;
  for (const std::string& name : folder.ownNames()) {
    if (std::optional<FileIdentity> identity = identityOf(folder.path(name))) written.push_back(*identity);
  }
  Status status = Status::ok();
  for (std::size_t i = 0; i < logs.size() && !written.empty(); ++i) {
    std::optional<FileIdentity> identity = identityOf(logs[i]);
    if (identity && std::find(written.begin(), written.end(), *identity) != written.end()) {
      status.absorb(Status::failure("unable to read file " + shownName(names[i]) + ": the run writes to it\n"));
    }
  }
  return status;
}

// The page and -unique ask each bucket line to carry its contact's
// meaning. Several logs share the lists: their record lines must all
// have their callsigns at one column, so text logs get the wide band field
// too.
RunLines runLines(const CommandLine& command, bool page) {
  return {command.logNames.size() > 1, page                     ? Meanings::ForPage
                                       : command.options.unique ? Meanings::ForRepeats
                                                                : Meanings::None};
}

// What reading the logs came to.
struct LogsRead {
  long counted = 0;     // contacts their readers counted
  bool unread = false;  // a log gave no contact, or was read in part
};

// Reads every log into `buckets`, its record lines in the layout `layout`
// picks for it. A log that gives no contact, or is read in part, is
// reported where it was read, and the others are read all the same. Fails
// at a log that cannot be read on or a bucket that cannot be written.
Status readLogsInto(BucketFiles& buckets, RunLayout& layout, const CommandLine& command, std::vector<File>& logs,
                    const Console& console, const WorkPlan& work, LogsRead& read) {
  for (std::size_t i = 0; i < logs.size(); ++i) {
    LineReader input(logs[i], shownName(command.logNames[i]));
    LogReading reading = readLog(input, layout, work, console, buckets);
    (void)logs[i].close();
    // What the reader managed to hand over reaches its bucket file: a
    // later run appends to it.
    if (!reading.status.isOk()) return reading.status;
    read.counted += reading.counted;
    if (!reading.fault.empty()) printMessage(console, reading.fault);
    read.unread = read.unread || !reading.fault.empty();
  }
  return Status::ok();
}

// Sorts the buckets into the lists, and once every list is written marks
// the journal before the buckets go. `listed` gets the characters of the
// buckets whose lists were written.
Status sortIntoLists(const RunFolder& folder, const SortSettings& settings, const BucketJournal& journal,
                     const Console& console, long& dropped, std::string& listed) {
  printMessage(console, kSortingMessage);
  SortOutcome sorted = sortBuckets(folder, settings, console);
  listed = sorted.listed();
  dropped = sorted.dropped;
  // Should the mark not reach the journal, the buckets still go: only a
  // run interrupted while it deletes them would then be undone instead of
  // finished, and the next run would report that it cannot be.
  (void)journal.markDeleting(sorted.listed());
  return deleteSortedBuckets(folder, settings, sorted);
}

// Reads every log into the bucket files and sorts them into the lists;
// writes the lookup page beside them with -html, or when an earlier run
// left one there, which would otherwise show lists that are gone.
// `listed` gets the characters of the buckets whose lists were written.
Status fillAndSort(const RunFolder& folder, const CommandLine& command, std::vector<File>& logs,
                   const BucketJournal& journal, const Console& console, const WorkPlan& work, std::string& listed) {
  BucketFiles buckets(folder, work.checkpoint);
  if (Status created = buckets.create(); !created.isOk()) return created;
  const bool staleSoon = !command.options.html && sizeOf(folder.path(folder.pageName())) >= 0;
  const bool page = command.options.html || staleSoon;
  RunLayout layout(command.options, runLines(command, page));
  LogsRead read;
  if (Status filled = readLogsInto(buckets, layout, command, logs, console, work, read); !filled.isOk()) {
    (void)buckets.close();
    return filled;
  }
  if (Status closed = buckets.close(); !closed.isOk()) return closed;
  // A log that gave no contact fails the run once the others are sorted.
  Status status = read.unread ? Status::reported() : Status::ok();
  if (!layout.chosen()) return status;

  SortSettings settings{layout.sortKey(buckets.linesHandedOver() > 0),
                        command.options.unique,
                        work.threadCount(),
                        work.sortMemory,
                        work.checkpoint,
                        page};
  for (std::size_t i = 0; i < settings.earlierBytes.size(); ++i) {
    settings.earlierBytes[i] = static_cast<std::uint64_t>(journal.foundSizes()[i]);
  }
  long dropped = 0;
  status.absorb(sortIntoLists(folder, settings, journal, console, dropped, listed));
  if (page) {
    Status written = writeLookupPage(folder, layout.forPage());
    if (written.isOk() && staleSoon) {
      printMessage(console, shownName(nameInMessages(folder.directory(), folder.pageName())) +
                                " written anew: it showed the lists this run replaced\n");
    }
    status.absorb(written);
  }
  if (logs.size() > 1 || command.options.unique) {
    std::string summary = std::to_string(read.counted) + " QSOs read from " + std::to_string(logs.size()) +
                          (logs.size() == 1 ? " log" : " logs");
    if (command.options.unique) summary += ", " + std::to_string(dropped) + " repeated lines dropped";
    printMessage(console, summary + "\n");
  }
  return status;
}

// A run that failed takes its appends out of the buckets whose lists it
// did not write, so that the same run made again counts them once.
void takeBackAppends(const BucketJournal& journal, std::string_view listed, Status& status) {
  const TakenBack taken = journal.takeBack(listed);
  status.absorb(taken.status);
  if (taken.status.isOk() && taken.any) {
    status.absorb(Status::failure(
        "this run's contacts were taken out of the bucket files again: run it again once the cause is mended\n"));
  }
}

// The run holds its folder's lock from before it looks at a journal or a
// bucket until its journal is gone. A run's appends are recorded in the
// journal before the first of them, and the journal goes once the run has
// ended, well or with a reported failure: a journal found at the start was
// left by an interrupted run.
Status runLogs(const RunFolder& folder, const CommandLine& command, const Console& console, const WorkPlan& work) {
  std::vector<File> logs;
  if (Status opened = openLogs(command.logNames, logs); !opened.isOk()) return opened;
  FolderLock lock(folder);
  if (Status locked = lock.take(console, work.checkpoint); !locked.isOk()) return locked;
  if (Status own = refuseOwnFiles(folder, command.logNames, logs); !own.isOk()) return own;

  BucketJournal journal(folder);
  if (Status recovered = journal.recover(console); !recovered.isOk()) return recovered;
  if (Status begun = journal.begin(); !begun.isOk()) return begun;
  std::string listed;
  Status status = fillAndSort(folder, command, logs, journal, console, work, listed);
  if (!status.isOk()) takeBackAppends(journal, listed, status);
  if (listed.empty()) removeEmptyBucketFiles(folder);
  if (work.checkpoint) work.checkpoint(RunPoint::RunEnding);
  status.absorb(journal.end());
  lock.release();
  return status;
}

// What a run that was asked for no logs prints, and how it ends.
ExitStatus answer(const CommandLine& command, const Console& console) {
  switch (command.action) {
    case CommandLine::Action::Usage:
      printMessage(console, kUsageText);
      // A double-click: the window shows what to do instead.
      if (console.ownWindow) printMessage(console, kDropHint);
      return ExitStatus::Failure;
    case CommandLine::Action::Banner: printMessage(console, kBanner); return ExitStatus::Success;
    case CommandLine::Action::Help: printOutput(console, kUsageText); return ExitStatus::Success;
    case CommandLine::Action::Version: printOutput(console, kBanner); return ExitStatus::Success;
    case CommandLine::Action::Run: break;
  }
  return ExitStatus::Success;
}

// Reads the logs and says how that ended; in a window of its own, where
// the lists went too, since the user did not choose the folder.
ExitStatus readLogs(const CommandLine& command, const Console& console, const WorkPlan& work) {
  const RunFolder folder(workFolder(command, console), command.options.lowerCaseNames);
  Status status = runLogs(folder, command, console, work);
  if (!status.isOk()) {
    if (!status.wasReported()) printMessage(console, status.message());
    return ExitStatus::Failure;
  }
  if (console.ownWindow) {
    printMessage(console, "the lists are in " +
                              shownName(nameInMessages(folder.directory().empty() ? "./" : folder.directory(), "")) +
                              "\n");
  }
  return ExitStatus::Success;
}

}  // namespace

ExitStatus runQuorvel(const std::vector<std::string>& arguments, const Console& console, const WorkPlan& work) {
  CommandLine command = parseCommandLine(arguments);
  // An option mistyped is named, and the run goes on as scripts that pass
  // one expect.
  for (const std::string& unknown : command.unknownOptions) {
    printMessage(console, "unknown option " + shownName(unknown) + " ignored\n");
  }
  const ExitStatus status =
      command.action == CommandLine::Action::Run ? readLogs(command, console, work) : answer(command, console);
  // A window of the program's own closes as the program ends: it stays
  // until what it shows has been read.
  if (console.ownWindow) {
    printMessage(console, kCloseHint);
    waitForEnter();
  }
  return status;
}

}  // namespace quorvel
