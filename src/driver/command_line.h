#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "quorvel/run_options.h"

namespace quorvel {

inline constexpr std::string_view kUsageText =
    "usage: quorvel [-nodate -notime -comment -lower] filename\n\n"
    "       -nodate:  produce output files with no date information\n"
    "       -notime:  produce output files with no time information\n"
    "       -comment: leave ADIF commemt lines in the output files\n"
    "       -lower:   create output files with lower case filenames\n";

inline constexpr std::string_view kBanner = "QZ9ZZ quorvel: Version 1.17 - 22/JUN/2002\n";

// What the command line asks for.
struct CommandLine {
  enum class Action {
    Run,     // read the log named by fileName
    Usage,   // print the usage text and fail (no argument, or -help)
    Banner,  // print the version banner and succeed (first argument -v...)
  };

  Action action = Action::Run;
  RunOptions options;
  std::string fileName;  // the last argument not starting with "-"; may be empty
};

// Reads the arguments that follow the program name. Options may be written
// in any letter case; unknown ones are ignored. Only the first argument can
// ask for the banner.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

}  // namespace quorvel
