#include "support/harness.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "base/ascii.h"
#include "base/files.h"
#include "driver/read_log.h"
#include "output/bucket_names.h"

namespace quorvel::testing {

namespace fs = std::filesystem;

namespace {

// Names are UTF-8 in the tests, as in the program; a path made of them
// must say so on Windows, whose narrow names are in another code page.
fs::path pathOf(const std::string& name) { return fs::path(std::u8string(name.begin(), name.end())); }

std::string utf8Of(const fs::path& path) {
  const std::u8string name = path.u8string();
  return std::string(name.begin(), name.end());
}

// Whether `name` is that of a bucket file or a list, whose lines end with
// CR LF on Windows.
bool listOrBucket(const std::string& name) {
  std::string extension = name.size() == 5 ? name.substr(1) : "";
  for (char& c : extension) c = toAsciiUpper(c);
  return extension == ".TXT" || extension == ".TMP";
}

}  // namespace

std::string readFile(const std::string& path) {
  std::ostringstream content;
  content << std::ifstream(pathOf(path), std::ios::binary).rdbuf();
  return content.str();
}

// A new folder of a random name in the temporary folder: made only where
// nothing stands, so nothing planted there decides where a test writes.
ScratchDir::ScratchDir() {
  std::random_device seed;
  for (fs::path path; path_.empty();) {
    path = fs::temp_directory_path() / ("quorvel-test-" + std::to_string(seed()) + std::to_string(seed()));
    if (fs::create_directory(path)) path_ = utf8Of(path);
  }
}

ScratchDir::~ScratchDir() { fs::remove_all(pathOf(path_)); }

std::string ScratchDir::shown(const std::string& name) const {
  return kWindows ? utf8Of((pathOf(path_) / pathOf(name)).make_preferred()) : name;
}

void ScratchDir::write(const std::string& name, const std::string& content) const {
  std::string path = path_ + "/" + name;
  if (content == "<dir>") return (void)fs::create_directory(pathOf(path));
  if (content == "<fifo>") return (void)(makePipe(path) || (std::abort(), false));
  if (content.rfind("<link:", 0) == 0) return fs::create_symlink(content.substr(6, content.size() - 7), pathOf(path));
  put(name, content);
}

void ScratchDir::put(const std::string& name, const std::string& bytes) const {
  std::ofstream(pathOf(path_ + "/" + name), std::ios::binary) << bytes;
}

Files ScratchDir::files() const {
  Files files;
  for (const auto& entry : fs::directory_iterator(pathOf(path_))) {
    const std::string name = utf8Of(entry.path().filename());
    std::string& content = files[name];
    content = entry.is_symlink()     ? "<link:" + fs::read_symlink(entry.path()).string() + ">"
              : entry.is_fifo()      ? "<fifo>"
              : entry.is_directory() ? "<dir>"
                                     : readFile(path_ + "/" + name);
    if (kWindows && listOrBucket(name)) std::erase(content, '\r');  // CR LF line ends read as "\n"
  }
  return files;
}

Outcome runProgram(const ScratchDir& dir, const std::vector<std::string>& arguments, long fileSizeLimit,
                   bool mergeStreams) {
  return runBinary(QUORVEL_BINARY, dir.path(), arguments, fileSizeLimit, mergeStreams);
}

Outcome runProgram(const std::string& folder, const std::vector<std::string>& arguments) {
  return runBinary(QUORVEL_BINARY, folder, arguments, 0, false);
}

Outcome runKilledAt(const ScratchDir& dir, RunPoint point, int count, const std::vector<std::string>& arguments) {
  std::vector<std::string> all = {std::to_string(static_cast<int>(point)), std::to_string(count)};
  all.insert(all.end(), arguments.begin(), arguments.end());
  return runBinary(QUORVEL_KILLABLE, dir.path(), all, 0, false);
}

Outcome runHeldAt(const ScratchDir& dir, RunPoint point, int count, const std::string& held,
                  const std::vector<std::string>& arguments) {
  std::vector<std::string> all = {"hold", std::to_string(static_cast<int>(point)), std::to_string(count), held};
  all.insert(all.end(), arguments.begin(), arguments.end());
  return runBinary(QUORVEL_KILLABLE, dir.path(), all, 0, false);
}

bool waitForFile(const ScratchDir& dir, const std::string& name) {
  for (int tries = 0; tries < 2000; ++tries) {
    if (std::filesystem::exists(std::filesystem::path(dir.path()) / name)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
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
  auto keyOf = [&key](std::string_view line) {
    std::size_t skip = static_cast<std::size_t>(std::max(key.column, 1) - 1);
    if (key.layout) skip = callsignStart(line, *key.layout);
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

// All that was written to `stream`, which is closed after.
std::string readBack(std::FILE* stream) {
  std::string text(static_cast<std::size_t>(std::ftell(stream)), '\0');
  std::rewind(stream);
  text.resize(std::fread(text.data(), 1, text.size(), stream));
  std::fclose(stream);
  return text;
}

}  // namespace

std::FILE* scratchStream() {
  static const ScratchDir folder;
  static std::atomic<int> made{0};
  return std::fopen((folder.path() + "/stream" + std::to_string(made++)).c_str(), "w+b");
}

ReadTrace traceRead(std::string_view log, const RunOptions& options, const WorkPlan& plan, std::size_t failAt) {
  File file = fileHolding(log);
  LineReader input(file, "log");
  Console console{scratchStream(), scratchStream()};
  ReadTrace trace;
  TracingSink sink(trace.lines, failAt);
  LogReading reading = readLog(input, options, false, plan, console, sink);
  trace.failure = reading.status.message() + reading.fault;
  trace.accepted = reading.layout.has_value();
  if (!trace.lines.empty()) trace.layout = reading.layout;
  trace.out = readBack(console.out), trace.err = readBack(console.err);
  return trace;
}

}  // namespace quorvel::testing
