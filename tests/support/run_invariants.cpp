#include "support/run_invariants.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "driver/read_log.h"
#include "output/bucket_names.h"
#include "quorvel/run_context.h"
#include "quorvel/unique_fd.h"
#include "readers/line_reader.h"

namespace quorvel::testing {

namespace fs = std::filesystem;

namespace {

std::string keyOf(const std::string& line, int sortColumn) {
  std::size_t skip = sortColumn > 1 ? static_cast<std::size_t>(sortColumn - 1) : 0;
  std::string withoutEnd = line.substr(0, line.size() - 1);
  return withoutEnd.size() > skip ? withoutEnd.substr(skip) : std::string();
}

// Whether every line of `part` can be taken from `whole`, each at most once.
bool isSubMultiset(const std::vector<std::string>& part, const std::vector<std::string>& whole) {
  return std::includes(whole.begin(), whole.end(), part.begin(), part.end());
}

}  // namespace

std::string readFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

Status RecordingSink::appendToBucket(char bucketKey, std::string_view line) {
  int index = bucketIndex(bucketKey);
  if (index >= 0) lines[kBucketCharacters[static_cast<std::size_t>(index)]].emplace_back(line);
  return Status::ok();
}

std::vector<std::string> argumentsFor(const RunOptions& options, const std::string& logName) {
  std::vector<std::string> arguments;
  if (options.noDate) arguments.push_back("-nodate");
  if (options.noTime) arguments.push_back("-NoTime");
  if (options.keepComments) arguments.push_back("-comment");
  if (options.lowerCaseNames) arguments.push_back("-Lower");
  arguments.push_back(logName);
  return arguments;
}

ExpectedRun readExpected(const std::string& path, const RunOptions& options) {
  ExpectedRun expected;
  UniqueFd log(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  std::FILE* devNull = std::fopen("/dev/null", "w");
  RecordingSink sink;
  RunContext run;
  run.options = options;
  run.console = Console{devNull, devNull};
  run.sink = &sink;
  run.logName = path;
  LineReader input(log.get(), path);
  expected.failed = !readLog(input, run, expected.accepted).isOk();
  std::fclose(devNull);
  expected.sortColumn = run.sortColumn;
  expected.lines = std::move(sink.lines);
  return expected;
}

namespace {

// Keeps every line handed over, in order, after its bucket key; the
// line numbered `failAt` (from 0) fails, as a full disk would.
class TracingSink final : public RecordSink {
 public:
  TracingSink(std::vector<std::string>& lines, std::size_t failAt) : lines_(lines), failAt_(failAt) {}
  Status appendToBucket(char bucketKey, std::string_view line) override {
    if (lines_.size() == failAt_) return Status::failure("unable to create file X.TMP\n");
    lines_.push_back(bucketKey + std::string(line));
    return Status::ok();
  }

 private:
  std::vector<std::string>& lines_;
  std::size_t failAt_;
};

// A console stream that collects what is written to it.
class CapturedStream {
 public:
  CapturedStream() : file_(open_memstream(&data_, &size_)) {}
  ~CapturedStream() {
    if (file_ != nullptr) std::fclose(file_);
    std::free(data_);
  }
  std::FILE* file() const { return file_; }
  std::string take() {
    std::fclose(std::exchange(file_, nullptr));
    return std::string(data_, size_);
  }

 private:
  char* data_ = nullptr;
  std::size_t size_ = 0;
  std::FILE* file_;
};

}  // namespace

ReadTrace traceRead(const std::string& path, const RunOptions& options, const WorkPlan& plan, std::size_t failAt) {
  ReadTrace trace;
  UniqueFd log(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  CapturedStream out, err;
  TracingSink sink(trace.appended, failAt);
  RunContext run;
  run.options = options;
  run.work = plan;
  run.console = Console{out.file(), err.file()};
  run.sink = &sink;
  run.logName = path;
  LineReader input(log.get(), path);
  Status status = readLog(input, run, trace.accepted);
  trace.failure = status.message();
  trace.sortColumn = run.sortColumn;
  trace.out = out.take();
  trace.err = err.take();
  return trace;
}

std::vector<std::string> sortedLines(const std::string& content) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find('\n', start);
    if (end == std::string::npos) {
      lines.push_back(content.substr(start) + "\n");  // a cut last line gets its end
      break;
    }
    lines.push_back(content.substr(start, end - start + 1));
    start = end + 1;
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

std::vector<std::string> checkRun(const std::string& dir, const RunOptions& options, int exitStatus,
                                  const ExpectedRun& expected, const std::map<std::string, std::string>& leftovers) {
  std::vector<std::string> problems;
  if (exitStatus != 0 && exitStatus != 1) problems.push_back("exit status " + std::to_string(exitStatus));
  const bool lower = options.lowerCaseNames;
  const bool completed = exitStatus == 0 && expected.accepted;

  int sortedFiles = 0;
  int bucketFiles = 0;
  for (char bucket : kBucketCharacters) {
    fs::path bucketPath = fs::path(dir) / bucketFileName(bucket, lower);
    fs::path sortedPath = fs::path(dir) / sortedFileName(bucket, lower);
    std::vector<std::string> produced;
    for (const fs::path& path : {bucketPath, sortedPath}) {
      if (!fs::is_regular_file(path)) continue;
      (path == bucketPath ? bucketFiles : sortedFiles)++;
      std::string content = readFile(path.string());
      if (!content.empty() && content.back() != '\n') problems.push_back(path.string() + ": last line cut");
      std::vector<std::string> lines = sortedLines(content);
      produced.insert(produced.end(), lines.begin(), lines.end());
      if (path == sortedPath) {
        // In order of the key: compare neighbours as the file stands.
        std::vector<std::string> inOrder;
        std::istringstream stream(content);
        for (std::string line; std::getline(stream, line);) inOrder.push_back(line + "\n");
        for (std::size_t i = 1; i < inOrder.size(); ++i) {
          if (keyOf(inOrder[i], expected.sortColumn) < keyOf(inOrder[i - 1], expected.sortColumn)) {
            problems.push_back(path.string() + ": out of order at line " + std::to_string(i + 1));
            break;
          }
        }
      }
    }
    std::vector<std::string> allowed;
    auto found = expected.lines.find(bucket);
    if (found != expected.lines.end()) allowed = found->second;
    auto leftover = leftovers.find(bucketFileName(bucket, lower));
    if (leftover != leftovers.end()) {
      std::vector<std::string> old = sortedLines(leftover->second);
      allowed.insert(allowed.end(), old.begin(), old.end());
    }
    std::sort(allowed.begin(), allowed.end());
    std::sort(produced.begin(), produced.end());
    if (completed ? produced != allowed : !isSubMultiset(produced, allowed)) {
      problems.push_back(std::string("bucket ") + bucket + ": lines differ from the run's record lines");
    }
  }
  if (completed && (bucketFiles != 0 || sortedFiles != 36)) {
    problems.push_back(std::to_string(bucketFiles) + " bucket files and " + std::to_string(sortedFiles) +
                       " sorted files after a completed run");
  }
  return problems;
}

}  // namespace quorvel::testing
