// One of the three readers on an arbitrary log, held in memory: the first
// byte chooses the options, the rest is the log. QUORVEL_FUZZ_READER picks
// the reader: 0 ADIF, 1 Cabrillo, 2 column text. The log is read twice,
// the second time in small blocks on two threads.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_input.h"
#include "quorvel/run_context.h"
#include "readers/adif_reader.h"
#include "readers/cabrillo_reader.h"
#include "readers/column_reader.h"
#include "readers/line_reader.h"
#include "support/run_invariants.h"

namespace {

using namespace quorvel;

struct Reading {
  std::string failure;
  int sortColumn = 0;
  std::map<char, std::vector<std::string>> lines;
};

// Reads `log` with the reader under test, in blocks as `plan` says.
Reading readWith(std::string_view log, std::uint8_t optionsByte, const WorkPlan& plan) {
  static std::FILE* devNull = std::fopen("/dev/null", "w");
  Reading reading;
  int fd = fuzzing::memoryFile(log);
  if (fd < 0) std::abort();
  testing::RecordingSink sink;
  RunContext run;
  run.options = fuzzing::optionsFrom(optionsByte);
  run.work = plan;
  run.console = Console{devNull, devNull};
  run.sink = &sink;
  run.logName = "log";
  LineReader input(fd, "log");
  Line first;
  if (input.next(first)) {
    Status status = Status::ok();
    switch (QUORVEL_FUZZ_READER) {
      case 0:
        status = readAdifLog(input, first, run, optionsByte & 16 ? AdifStart::AtRecords : AdifStart::AtHeader);
        break;
      case 1: status = readCabrilloLog(input, first, run); break;
      default: status = readColumnLog(input, first, run); break;
    }
    reading.failure = status.message();
  }
  ::close(fd);
  reading.sortColumn = run.sortColumn;
  reading.lines = std::move(sink.lines);
  return reading;
}

}  // namespace

// The first byte's low bits choose the options; its top two bits how small
// the blocks of a second reading are, which must give the same.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::string_view log(reinterpret_cast<const char*>(data + 1), size - 1);
  Reading whole = readWith(log, data[0], WorkPlan{std::size_t{1} << 30, 1});
  if (!whole.failure.empty() && whole.failure != "quorvel: Internal Error - please e-mail log to QZ9ZZ!!\n") {
    fuzzing::fail("unexpected error");
  }
  bool anyLine = false;
  for (const auto& [bucket, lines] : whole.lines) {
    for (const std::string& line : lines) {
      anyLine = true;
      if (line.empty() || line.back() != '\n' || line.find('\n') != line.size() - 1) fuzzing::fail("record line shape");
    }
  }
  if (anyLine && whole.sortColumn < 9) fuzzing::fail("sort column");

  std::size_t blockBytes = std::size_t{1} << (2 * (data[0] >> 6));  // 1, 4, 16 or 64 bytes
  Reading inBlocks = readWith(log, data[0], WorkPlan{blockBytes, 2});
  if (inBlocks.failure != whole.failure || inBlocks.sortColumn != whole.sortColumn || inBlocks.lines != whole.lines) {
    fuzzing::fail("reading in blocks differs");
  }
  return 0;
}
