// quorvel that ends dead, as a kill or a power cut would, at a chosen
// moment of its run: `quorvel_killable POINT COUNT ARGUMENTS...` runs as
// `quorvel ARGUMENTS...` until it reaches the RunPoint numbered POINT for
// the COUNT-th time, and there stops with status 137, no destructor run,
// no buffer written out.
#include <atomic>
#include <cstdlib>
#include <string>

#include "base/arguments.h"
#include "driver/run.h"

int main(int argc, char** argv) {
  using namespace quorvel;
  std::vector<std::string> arguments = commandLineArguments(argc, argv);
  if (arguments.size() < 2) return 2;
  const auto point = static_cast<RunPoint>(std::stoi(arguments[0]));
  const long count = std::stol(arguments[1]);
  arguments.erase(arguments.begin(), arguments.begin() + 2);
  std::atomic<long> reached{0};
  WorkPlan plan;
  plan.checkpoint = [&](RunPoint at) {
    if (at == point && ++reached == count) std::_Exit(137);
  };
  return runQuorvel(arguments, Console{}, plan) == ExitStatus::Success ? 0 : 1;
}
