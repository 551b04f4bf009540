// One of the three readers on an arbitrary log, held in memory: the first
// byte chooses the options, the rest is the log. QUORVEL_FUZZ_READER picks
// the reader: 0 ADIF, 1 Cabrillo, 2 column text.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "fuzz_input.h"
#include "quorvel/run_context.h"
#include "readers/adif_reader.h"
#include "readers/cabrillo_reader.h"
#include "readers/column_reader.h"
#include "readers/line_reader.h"
#include "support/run_invariants.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvel;
  if (size == 0) return 0;
  std::string_view log(reinterpret_cast<const char*>(data + 1), size - 1);
  int fd = fuzzing::memoryFile(log);
  if (fd < 0) return 0;
  static std::FILE* devNull = std::fopen("/dev/null", "w");

  testing::RecordingSink sink;
  RunContext run;
  run.options = fuzzing::optionsFrom(data[0]);
  run.console = Console{devNull, devNull};
  run.sink = &sink;
  run.logName = "log";
  LineReader input(fd, "log");
  Line first;
  if (input.next(first)) {
    Status status = Status::ok();
    switch (QUORVEL_FUZZ_READER) {
      case 0: status = readAdifLog(input, first, run, data[0] & 16 ? AdifStart::AtRecords : AdifStart::AtHeader); break;
      case 1: status = readCabrilloLog(input, first, run); break;
      default: status = readColumnLog(input, first, run); break;
    }
    if (!status.isOk() && status.message() != "quorvel: Internal Error - please e-mail log to QZ9ZZ!!\n") {
      fuzzing::fail("unexpected error");
    }
  }
  bool anyLine = false;
  for (const auto& [bucket, lines] : sink.lines) {
    for (const std::string& line : lines) {
      anyLine = true;
      if (line.empty() || line.back() != '\n' || line.find('\n') != line.size() - 1) fuzzing::fail("record line shape");
    }
  }
  if (anyLine && run.sortColumn < 9) fuzzing::fail("sort column");
  ::close(fd);
  return 0;
}
