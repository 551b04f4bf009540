#include "output/sort_stage.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "detect/ascii.h"
#include "output/bucket_names.h"
#include "output/file_io.h"
#include "quorvel/unique_fd.h"

namespace quorvel {

namespace {

constexpr std::size_t kWriteBlock = 256 * 1024;

// Writes `lines` to `path`, each with its new line. False when the file
// cannot be created or does not take every byte.
bool writeLines(const std::string& path, const std::vector<std::string_view>& lines) {
  UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (!fd.valid()) return false;
  std::string block;
  block.reserve(kWriteBlock + 256);
  for (std::string_view line : lines) {
    block.append(line);
    block.push_back('\n');
    if (block.size() >= kWriteBlock) {
      if (writeFully(fd.get(), block) != block.size()) return false;
      block.clear();
    }
  }
  if (writeFully(fd.get(), block) != block.size()) return false;
  return fd.reset();
}

// Sorts one bucket file into its sorted file. The sorted file appears only
// once it is complete: it is written under a passing name and then renamed.
bool sortOneBucket(const std::string& bucketPath, const std::string& sortedPath, int sortColumn) {
  std::string content;
  if (!readWholeFile(bucketPath, content)) return false;
  std::vector<std::string_view> lines = splitLines(content);
  sortLinesByColumn(lines, sortColumn);
  std::string partPath = sortedPath + ".part";
  if (!writeLines(partPath, lines) || ::rename(partPath.c_str(), sortedPath.c_str()) != 0) {
    ::unlink(partPath.c_str());
    return false;
  }
  return true;
}

}  // namespace

std::vector<std::string_view> splitLines(std::string_view content) {
  std::vector<std::string_view> lines;
  lines.reserve(static_cast<std::size_t>(std::count(content.begin(), content.end(), '\n')) + 1);
  while (!content.empty()) {
    std::size_t end = content.find('\n');
    if (end == std::string_view::npos) {
      lines.push_back(content);
      break;
    }
    lines.push_back(content.substr(0, end));
    content.remove_prefix(end + 1);
  }
  return lines;
}

void sortLinesByColumn(std::vector<std::string_view>& lines, int sortColumn) {
  std::size_t skip = sortColumn > 1 ? static_cast<std::size_t>(sortColumn - 1) : 0;
  auto key = [skip](std::string_view line) { return line.size() > skip ? line.substr(skip) : std::string_view(); };
  // string_view compares its characters as unsigned bytes.
  std::stable_sort(lines.begin(), lines.end(),
                   [&key](std::string_view a, std::string_view b) { return key(a) < key(b); });
}

Status sortBuckets(const std::string& directory, bool lowerCaseNames, int sortColumn, const Console& console) {
  Status result = Status::ok();
  for (char bucket : kBucketCharacters) {
    std::fputc(lowerCaseNames ? toAsciiLower(bucket) : bucket, console.out);
    std::fflush(console.out);
    std::string bucketName = bucketFileName(bucket, lowerCaseNames);
    std::string bucketPath = directory + bucketName;
    if (!sortOneBucket(bucketPath, directory + sortedFileName(bucket, lowerCaseNames), sortColumn)) {
      result.absorb(Status::failure("unable to sort file " + bucketName + "\n"));
      continue;
    }
    if (::unlink(bucketPath.c_str()) != 0) {
      // A bucket file left behind would be appended to, and its lines
      // sorted a second time, by the next run.
      result.absorb(Status::failure("unable to delete file " + bucketName + "\n"));
    }
  }
  std::fputc('\n', console.out);
  std::fflush(console.out);
  return result;
}

}  // namespace quorvel
