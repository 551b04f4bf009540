// quorvel that ends dead, as a kill or a power cut would, or waits, at a
// chosen moment of its run:
//   quorvel_killable POINT COUNT ARGUMENTS...
// runs as `quorvel ARGUMENTS...` until it reaches the RunPoint numbered
// POINT for the COUNT-th time, and there stops with status 137, no
// destructor run, no buffer written out;
//   quorvel_killable hold POINT COUNT FILE ARGUMENTS...
// there instead makes FILE in its folder and waits until it is gone, so
// that a test can see what a second run does meanwhile.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "base/arguments.h"
#include "driver/run.h"

int main(int argc, char** argv) {
  using namespace quorvel;
  std::vector<std::string> arguments = commandLineArguments(argc, argv);
  const bool hold = !arguments.empty() && arguments[0] == "hold";
  if (hold) arguments.erase(arguments.begin());
  if (arguments.size() < (hold ? 3u : 2u)) return 2;
  const auto point = static_cast<RunPoint>(std::stoi(arguments[0]));
  const long count = std::stol(arguments[1]);
  const std::string held = hold ? arguments[2] : "";
  arguments.erase(arguments.begin(), arguments.begin() + (hold ? 3 : 2));
  std::atomic<long> reached{0};
  WorkPlan plan;
  plan.checkpoint = [&](RunPoint at) {
    if (at != point || ++reached != count) return;
    if (!hold) std::_Exit(137);
    // Made whole under another name, so that the test never finds it open:
    // Windows cannot delete a file another process holds open.
    if (std::FILE* file = std::fopen((held + ".part").c_str(), "w")) std::fclose(file);
    std::filesystem::rename(held + ".part", held);
    while (std::filesystem::exists(held)) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  };
  return runQuorvel(arguments, Console{}, plan) == ExitStatus::Success ? 0 : 1;
}
