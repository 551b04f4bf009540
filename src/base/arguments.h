#pragma once

#include <string>
#include <vector>

namespace quorvel {

// The program's arguments, its name left out, as UTF-8 as the user typed
// them. On Windows they come from the wide command line, and one holding
// "*" or "?" stands for the files it matches, as a POSIX shell would have
// made it. Also makes the console streams write bytes as they are.
std::vector<std::string> commandLineArguments(int argc, char** argv);

}  // namespace quorvel
