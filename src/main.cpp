#include "base/arguments.h"
#include "driver/run.h"

int main(int argc, char** argv) {
  const auto arguments = quorvel::commandLineArguments(argc, argv);
  return quorvel::runQuorvel(arguments, quorvel::Console{}) == quorvel::ExitStatus::Success ? 0 : 1;
}
