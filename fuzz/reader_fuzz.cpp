// A reader on an arbitrary log, behind a first line that makes the program
// take it for an ADIF, ADX, Cabrillo, REG1TEST or column text log. The first byte's low
// bits choose the options (and so how much meaning each line carries), its
// top two bits how small the blocks of a second reading on two threads
// are, which must give the same.
#include "fuzzing.h"
#include "support/harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvel;
  if (size == 0) return 0;
  std::string log = QUORVEL_FUZZ_FIRST_LINE + std::string(reinterpret_cast<const char*>(data + 1), size - 1);
  RunOptions options{(data[0] & 1) != 0, (data[0] & 2) != 0, (data[0] & 4) != 0, false,
                     (data[0] & 8) != 0, (data[0] & 16) != 0};
  testing::ReadTrace whole = testing::traceRead(log, options, WorkPlan{std::size_t{1} << 30, 1});
  check(whole.failure.empty() ||
            whole.failure.starts_with("quorvel: Internal Error - empty QSO: line in file log at line ") ||
            whole.failure.starts_with("no contact read from file log:") ||
            whole.failure.starts_with("error reading file log at line "),
        "error");
  for (const std::string& line : whole.lines) check(line.find('\n') == line.size() - 1, "record line shape");
  WorkPlan blocks{std::size_t{1} << (2 * (data[0] >> 6)), 2};  // of 1, 4, 16 or 64 bytes
  check(testing::traceRead(log, options, blocks) == whole, "reading in blocks differs");
  return 0;
}
