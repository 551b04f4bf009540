#include <cstdio>

#include "base/arguments.h"
#include "base/console.h"
#include "driver/run.h"

int main(int argc, char** argv) {
  const auto arguments = quorvel::commandLineArguments(argc, argv);
  const quorvel::Console console{stdout, stderr, quorvel::startedOnItsOwn()};
  return quorvel::runQuorvel(arguments, console) == quorvel::ExitStatus::Success ? 0 : 1;
}
