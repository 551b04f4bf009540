#include <string>
#include <vector>

#include "driver/run.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  return quorvel::runQuorvel(arguments, quorvel::Console{}) == quorvel::ExitStatus::Success ? 0 : 1;
}
