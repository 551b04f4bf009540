#include "output/run_folder.h"

#include "base/ascii.h"
#include "base/file_failure.h"
#include "base/files.h"

namespace quorvel {

RunFolder::RunFolder(std::string directory, bool lowerCaseNames)
    : directory_(std::move(directory)), lowerCaseNames_(lowerCaseNames) {}

std::string RunFolder::named(std::string_view upperName) const {
  std::string name(upperName);
  if (lowerCaseNames_) {
    for (char& c : name) c = toAsciiLower(c);
  }
  return name;
}

std::string RunFolder::bucketName(char bucket) const { return named(std::string(1, bucket) + ".TMP"); }

std::string RunFolder::listName(char bucket) const { return named(std::string(1, bucket) + ".TXT"); }

std::string RunFolder::pageLinesName(char bucket) const { return bucketName(bucket) + ".page"; }

std::string RunFolder::sortRunName(char bucket, std::size_t number) const {
  return bucketName(bucket) + ".run" + std::to_string(number);
}

std::string RunFolder::journalName() const { return named("QUORVEL.JNL"); }

std::string RunFolder::lockName() const { return named("QUORVEL.LCK"); }

std::string RunFolder::pageName() const { return named("LOOKUP.HTM"); }

std::vector<std::string> RunFolder::ownNames() const {
  std::vector<std::string> names{journalName(), pageName(), lockName()};
  for (char bucket : kBucketCharacters) {
    names.push_back(bucketName(bucket));
    names.push_back(listName(bucket));
  }
  return names;
}

Status RunFolder::failure(std::string_view doing, const std::string& name, const SystemError& error) const {
  return fileFailure(doing, directory_, name, error);
}

std::optional<WholeFileFailure> RunFolder::writeWhole(
    const std::string& name, const std::function<bool(const std::string& passingPath)>& write) const {
  const std::string finalPath = path(name);
  const std::string passingPath = finalPath + ".part";
  std::optional<WholeFileFailure> failed;
  // The reason is taken before another call can replace it.
  if (!write(passingPath)) {
    failed = WholeFileFailure{lastSystemError(), false};
  } else if (!replaceFile(passingPath, finalPath)) {
    failed = WholeFileFailure{lastSystemError(), true};
  }
  if (failed) (void)removeFile(passingPath);
  return failed;
}

}  // namespace quorvel
