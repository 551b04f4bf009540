#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "base/system_error.h"
#include "output/bucket_names.h"

namespace quorvel {

// Why a file could not be written whole: the system's reason, and whether
// it was the rename over the old file that failed (the passing file was
// whole then, and the old file is as it was).
struct WholeFileFailure {
  SystemError error;
  bool renaming = false;
};

// The folder a run writes in, and the name of every file it writes there:
// the 36 bucket files and their lists, the sorted runs of a large bucket,
// the page files beside the lists, the journal, the lock and the lookup
// page, each in upper case, or in lower case with -lower. Every writer of
// the run takes its names from here, so that a log can be checked against
// all of them (ownNames) and no two writers name one file two ways.
class RunFolder {
 public:
  // `directory` is "" for the current directory, else a path ending in a
  // separator.
  explicit RunFolder(std::string directory = "", bool lowerCaseNames = false);

  const std::string& directory() const { return directory_; }
  bool lowerCaseNames() const { return lowerCaseNames_; }
  // The path of the file `name` in the folder.
  std::string path(std::string_view name) const { return directory_ + std::string(name); }

  std::string bucketName(char bucket) const;     // "A.TMP": where a bucket collects its record lines
  std::string listName(char bucket) const;       // "A.TXT": the bucket's sorted list
  std::string pageLinesName(char bucket) const;  // "A.TMP.page": the list's lines with what they carry
  // "A.TMP.run1", ...: the sorted runs of a bucket too large to sort at once.
  std::string sortRunName(char bucket, std::size_t number) const;
  std::string journalName() const;  // "QUORVEL.JNL"
  std::string lockName() const;     // "QUORVEL.LCK"
  std::string pageName() const;     // "LOOKUP.HTM"

  // The bucket files, lists, journal, lock and lookup page: the files a
  // log must not be, since the run replaces or deletes them.
  std::vector<std::string> ownNames() const;

  // "unable to <doing> file <name>: <reason>\n" for the file `name` here.
  Status failure(std::string_view doing, const std::string& name, const SystemError& error = lastSystemError()) const;

  // Writes the file `name` whole or not at all: `write` makes and fills a
  // new file at the passing path it is given (the name and ".part"), which
  // is then renamed over the old file in one step, so that the name never
  // stands for a half-written file. On failure the passing file is gone.
  std::optional<WholeFileFailure> writeWhole(const std::string& name,
                                             const std::function<bool(const std::string& passingPath)>& write) const;

 private:
  std::string named(std::string_view upperName) const;

  std::string directory_;
  bool lowerCaseNames_;
};

}  // namespace quorvel
