// The whole program on an arbitrary log in a scratch directory, with the
// options the first byte chooses and, when the second byte says so,
// leftover bucket files; what the run leaves is checked against what
// reading the log yields.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "driver/run.h"
#include "fuzz_input.h"
#include "support/run_invariants.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvel;
  if (size < 2) return 0;
  static const std::string scratch = fuzzing::scratchDirectory();
  static std::FILE* devNull = std::fopen("/dev/null", "w");

  std::string dir = fuzzing::freshRunDirectory(scratch);
  RunOptions options = fuzzing::optionsFrom(data[0]);
  std::string log(reinterpret_cast<const char*>(data + 2), size - 2);
  std::ofstream(dir + "log", std::ios::binary) << log;
  std::map<std::string, std::string> leftovers;
  if (data[1] & 1) {
    std::string name = options.lowerCaseNames ? "k.tmp" : "K.TMP";
    leftovers[name] = std::string(log.substr(0, log.size() / 3));
    std::ofstream(dir + name, std::ios::binary) << leftovers[name];
  }

  testing::ExpectedRun expected = testing::readExpected(dir + "log", options);
  std::vector<std::string> arguments = testing::argumentsFor(options, "log");

  fs::path back = fs::current_path();
  fs::current_path(dir);
  ExitStatus status = runQuorvel(arguments, Console{devNull, devNull});
  fs::current_path(back);

  int exitStatus = status == ExitStatus::Success ? 0 : 1;
  if (exitStatus != (expected.failed ? 1 : 0)) fuzzing::fail("exit status differs from the reader's outcome");
  std::vector<std::string> problems = testing::checkRun(dir, options, exitStatus, expected, leftovers);
  if (!problems.empty()) {
    std::fprintf(stderr, "%s\n", problems.front().c_str());
    fuzzing::fail("run invariant");
  }
  return 0;
}
