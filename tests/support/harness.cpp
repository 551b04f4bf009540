#include "support/harness.h"

#include <signal.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/ascii.h"
#include "base/files.h"
#include "driver/read_log.h"
#include "output/bucket_names.h"

namespace quorvel::testing {

namespace fs = std::filesystem;

std::string readFile(const std::string& path) {
  std::ostringstream content;
  content << std::ifstream(path, std::ios::binary).rdbuf();
  return content.str();
}

ScratchDir::ScratchDir() : path_((fs::temp_directory_path() / "quorvel-test-XXXXXX").string()) {
  if (::mkdtemp(path_.data()) == nullptr) std::abort();
}

ScratchDir::~ScratchDir() { fs::remove_all(path_); }

void ScratchDir::write(const std::string& name, const std::string& content) const {
  std::string path = path_ + "/" + name;
  if (content == "<dir>") return (void)fs::create_directory(path);
  if (content == "<fifo>") return (void)::mkfifo(path.c_str(), 0666);
  if (content.rfind("<link:", 0) == 0) return fs::create_symlink(content.substr(6, content.size() - 7), path);
  std::ofstream(path, std::ios::binary) << content;
}

Files ScratchDir::files() const {
  Files files;
  for (const auto& entry : fs::directory_iterator(path_)) {
    std::string path = entry.path().string();
    files[entry.path().filename().string()] = entry.is_symlink()     ? "<link:" + fs::read_symlink(path).string() + ">"
                                              : entry.is_fifo()      ? "<fifo>"
                                              : entry.is_directory() ? "<dir>"
                                                                     : readFile(path);
  }
  return files;
}

Outcome runProgram(const ScratchDir& dir, const std::vector<std::string>& arguments, long fileSizeLimit,
                   bool mergeStreams) {
  std::vector<char*> argv = {const_cast<char*>(QUORVEL_BINARY)};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  int out[2], err[2];
  if (::pipe(out) != 0 || ::pipe(err) != 0) std::abort();
  pid_t child = ::fork();
  if (child == 0) {
    // Pipes, unlike files, are not held to the file-size limit.
    ::dup2(out[1], 1);
    ::dup2(mergeStreams ? out[1] : err[1], 2);
    for (int fd : {out[0], out[1], err[0], err[1]}) ::close(fd);
    struct rlimit limit {};
    limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(fileSizeLimit);
    if (fileSizeLimit > 0) ::signal(SIGXFSZ, SIG_IGN), ::setrlimit(RLIMIT_FSIZE, &limit);
    ::alarm(10);  // a run that hangs is killed, and its status tells
    if (::chdir(dir.path().c_str()) == 0) ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(out[1]);
  ::close(err[1]);
  // Standard output to its end first: the program writes far less on
  // standard error than a pipe holds.
  Outcome outcome;
  for (auto [fd, text] : {std::pair{out[0], &outcome.out}, std::pair{err[0], &outcome.err}}) {
    char buffer[65536];
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;)
      text->append(buffer, static_cast<std::size_t>(got));
    ::close(fd);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return outcome;
}

std::string bucketRow(bool lowerCase) {
  std::string row;
  for (char bucket : kBucketCharacters) row.push_back(lowerCase ? toAsciiLower(bucket) : bucket);
  return row + "\n";
}

std::string listOf(std::string content, SortKey key, bool unique) {
  if (!content.empty() && content.back() != '\n') content.push_back('\n');
  std::vector<std::string_view> lines;
  for (std::string_view rest = content; !rest.empty(); rest.remove_prefix(lines.back().size() + 1)) {
    lines.push_back(rest.substr(0, rest.find('\n')));
  }
  auto keyOf = [key](std::string_view line) {
    std::size_t skip = static_cast<std::size_t>(std::max(key.column, 1) - 1);
    while (key.pastBlanks && skip < line.size() && line[skip] == ' ') ++skip;
    return line.size() > skip ? line.substr(skip) : std::string_view();
  };
  std::stable_sort(lines.begin(), lines.end(), [&keyOf, unique](std::string_view a, std::string_view b) {
    return keyOf(a) < keyOf(b) || (unique && keyOf(a) == keyOf(b) && a < b);
  });
  if (unique) lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
  std::string list;
  for (std::string_view line : lines) list.append(line).push_back('\n');
  return list;
}

Files allBuckets(const std::string& extension, bool lowerCase) {
  Files files;
  for (char bucket : kBucketCharacters) {
    files[extension == "TMP" ? bucketFileName(bucket, lowerCase) : sortedFileName(bucket, lowerCase)] = "";
  }
  return files;
}

namespace {

// Keeps every line handed over, after its bucket key; the line numbered
// `failAt` (from 0) fails, as a full disk would.
struct TracingSink final : RecordSink {
  TracingSink(std::vector<std::string>& lines, std::size_t failAt) : lines(lines), failAt(failAt) {}
  Status appendToBucket(char bucketKey, std::string_view line) override {
    if (lines.size() == failAt) return Status::failure("unable to create file X.TMP\n");
    lines.push_back(bucketKey + std::string(line));
    return Status::ok();
  }
  std::vector<std::string>& lines;
  std::size_t failAt;
};

}  // namespace

ReadTrace traceRead(std::string_view log, const RunOptions& options, const WorkPlan& plan, std::size_t failAt) {
  // In memory, not on disk: the fuzz targets read a log thousands of times a second.
  File file(::memfd_create("log", 0));
  if (::write(file.descriptor(), log.data(), log.size()) != static_cast<ssize_t>(log.size())) std::abort();
  ::lseek(file.descriptor(), 0, SEEK_SET);
  LineReader input(file, "log");
  char *out = nullptr, *err = nullptr;
  std::size_t outSize = 0, errSize = 0;
  Console console{::open_memstream(&out, &outSize), ::open_memstream(&err, &errSize)};
  ReadTrace trace;
  TracingSink sink(trace.lines, failAt);
  LogReading reading = readLog(input, options, false, plan, console, sink);
  trace.failure = reading.status.message();
  trace.accepted = reading.layout.has_value();
  trace.sortColumn = reading.layout && !trace.lines.empty() ? reading.layout->sortColumn() : 0;
  std::fclose(console.out), std::fclose(console.err);
  trace.out.assign(out, outSize), trace.err.assign(err, errSize);
  std::free(out), std::free(err);
  return trace;
}

}  // namespace quorvel::testing
