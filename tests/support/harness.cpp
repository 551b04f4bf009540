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
#include <tuple>

#include "base/ascii.h"
#include "base/files.h"
#include "driver/read_log.h"
#include "output/bucket_names.h"
#include "record/bucket_line.h"

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

std::string listOf(std::string content, SortKey key, bool unique, std::size_t ownFrom) {
  if (!content.empty() && content.back() != '\n') content.push_back('\n');
  struct Line {
    std::string_view text, carried, key;
  };
  std::vector<Line> lines;
  std::size_t told = std::string_view::npos;  // the last place a line of this run told
  for (std::string_view rest = content; !rest.empty(); rest.remove_prefix(rest.find('\n') + 1)) {
    const bool own = static_cast<std::size_t>(rest.data() - content.data()) >= ownFrom;
    std::string_view line = rest.substr(0, rest.find('\n'));
    if (kWindows && line.ends_with('\r')) line.remove_suffix(1);
    std::size_t skip = static_cast<std::size_t>(std::max(key.column, 1) - 1);
    // What a line carries: its callsign's place last, in up to seven
    // digits, after the mark or after the tab that ends a meaning behind
    // the mark; the place lies within the text before the mark.
    std::size_t digits = line.size();
    while (digits > 0 && line.size() - digits < 7 && line[digits - 1] >= '0' && line[digits - 1] <= '9') --digits;
    std::size_t mark = std::string_view::npos;
    if (digits > 0 && digits < line.size() && line[digits - 1] == '\x1F') mark = digits - 1;
    if (digits > 1 && digits < line.size() && line[digits - 1] == '\t') mark = line.rfind('\x1F', digits - 2);
    if (mark != std::string_view::npos && std::stoul(std::string(line.substr(digits))) < mark) {
      skip = std::stoul(std::string(line.substr(digits)));
      if (own) told = skip;
      const std::string_view meaning = line.substr(mark + 1, digits - 1 - std::min(digits - 1, mark + 1));
      lines.push_back({line.substr(0, mark), meaning, {}});
    } else {
      if (own && told != std::string_view::npos) {
        skip = told;
      } else if (key.layout) {
        skip = callsignStart(line, *key.layout);
      }
      lines.push_back({line, {}, {}});
    }
    lines.back().key = lines.back().text.size() > skip ? lines.back().text.substr(skip) : std::string_view();
  }
  auto order = [](const Line& a) { return std::tie(a.key, a.text, a.carried); };
  std::stable_sort(lines.begin(), lines.end(), [&order, unique](const Line& a, const Line& b) {
    return unique ? order(a) < order(b) : a.key < b.key;
  });
  if (unique) {
    lines.erase(std::unique(lines.begin(), lines.end(),
                            [&order](const Line& a, const Line& b) { return order(a) == order(b); }),
                lines.end());
  }
  std::string list;
  for (const Line& line : lines) list.append(line.text).push_back('\n');
  return list;
}

Files allBuckets(const std::string& extension, bool lowerCase) {
  Files files;
  for (char bucket : kBucketCharacters) {
    std::string name = std::string(1, bucket) + "." + extension;
    if (lowerCase) std::transform(name.begin(), name.end(), name.begin(), [](char c) { return toAsciiLower(c); });
    files[name] = "";
  }
  return files;
}

namespace {

// Keeps every line handed over, after its bucket key; the line numbered
// `failAt` (from 0) fails, as a full disk would.
struct TracingSink final : RecordSink {
  TracingSink(ReadTrace& trace, std::size_t failAt) : trace(trace), failAt(failAt) {}
  Status appendToBucket(char bucketKey, std::string_view line, std::size_t untoldCallsign) override {
    if (trace.lines.size() == failAt) return Status::failure("unable to create file X.TMP\n");
    const std::size_t end = line.size() - kLineEnd.size();
    // What a line carries, and its callsign's place whether told or not:
    // where a batch tells it depends on where the log's blocks were cut.
    const BucketLine read = untoldCallsign == std::string_view::npos
                                ? readBucketLine(line.substr(0, end))
                                : BucketLine{line.substr(0, end), untoldCallsign, {}};
    trace.lines.push_back(bucketKey + std::string(read.text) + std::string(line.substr(end)));
    trace.carried.push_back(std::string(read.meaning) + "@" + std::to_string(read.callsignAt));
    return Status::ok();
  }
  ReadTrace& trace;
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
  TracingSink sink(trace, failAt);
  RunLayout layout(options, RunLines{false, options.html     ? Meanings::ForPage
                                            : options.unique ? Meanings::ForRepeats
                                                             : Meanings::None});
  LogReading reading = readLog(input, layout, plan, console, sink);
  trace.failure = reading.status.message() + reading.fault;
  trace.accepted = layout.chosen().has_value();
  if (!trace.lines.empty()) trace.layout = layout.chosen();
  trace.out = readBack(console.out), trace.err = readBack(console.err);
  return trace;
}

}  // namespace quorvel::testing
