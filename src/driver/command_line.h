#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "driver/run_options.h"

namespace quorvel {

inline constexpr std::string_view kUsageText =
    "usage: quorvel [-nodate -notime -comment -lower] filename\n\n"
    "       -nodate:  produce output files with no date information\n"
    "       -notime:  produce output files with no time information\n"
    "       -comment: leave ADIF commemt lines in the output files\n"
    "       -lower:   create output files with lower case filenames\n"
    "       -unique:  write a line that stands more than once in a list once\n"
    "       -html:    also write LOOKUP.HTM, a page to look callsigns up in a browser\n"
    "       several logs may be named: all are read into the same lists\n";

// What a window of the program's own shows besides (a double-click, or
// logs dropped on the program, on Windows).
inline constexpr std::string_view kDropHint = "to read a log, drop its file on quorvel.exe\n";
inline constexpr std::string_view kCloseHint = "press Enter to close this window\n";

inline constexpr std::string_view kBanner = "QZ9ZZ quorvel: Version 1.17 - 22/JUN/2002\n";

// What the command line asks for.
struct CommandLine {
  enum class Action {
    Run,      // read the logs named
    Usage,    // print the usage text and fail (no log named, or -help)
    Banner,   // print the version banner and succeed (first argument -v...)
    Help,     // --help, /? or -?: the usage text on standard output, and succeed
    Version,  // --version: the banner on standard output, and succeed
  };

  Action action = Action::Run;
  RunOptions options;
  std::vector<std::string> logNames;  // the arguments not starting with "-", in order
  // Arguments starting with "-" that name no option, in order: named on
  // standard error, and the run goes on without them.
  std::vector<std::string> unknownOptions;
};

// Reads the arguments that follow the program name. Options may be written
// in any letter case, with one dash or two, and anywhere; unknown ones are
// collected. Only the first argument can ask for the banner with -v.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

}  // namespace quorvel
