#include "driver/command_line.h"

#include "base/ascii.h"

namespace quorvel {

namespace {

bool isVersionRequest(std::string_view argument) {
  return argument.size() >= 2 && argument[0] == '-' && (argument[1] == 'v' || argument[1] == 'V');
}

// Sets the option `upperOption` names, written with one dash or, as GNU
// tools write options, two; false for none.
bool setOption(std::string_view upperOption, RunOptions& options) {
  if (upperOption.starts_with("--")) upperOption.remove_prefix(1);
  bool* const set = upperOption == "-NODATE"    ? &options.noDate
                    : upperOption == "-NOTIME"  ? &options.noTime
                    : upperOption == "-COMMENT" ? &options.keepComments
                    : upperOption == "-LOWER"   ? &options.lowerCaseNames
                    : upperOption == "-UNIQUE"  ? &options.unique
                    : upperOption == "-HTML"    ? &options.html
                                                : nullptr;
  if (set != nullptr) *set = true;
  return set != nullptr;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine command;
  if (arguments.empty()) {
    command.action = CommandLine::Action::Usage;
    return command;
  }
  if (isVersionRequest(arguments.front())) {
    command.action = CommandLine::Action::Banner;
    return command;
  }
  for (const std::string& argument : arguments) {
    // Windows programs answer /? with their usage.
    if (argument == "/?" || argument == "-?") {
      command.action = CommandLine::Action::Help;
      return command;
    }
    if (argument.empty() || argument[0] != '-') {
      command.logNames.push_back(argument);
      continue;
    }
    std::string option;
    upperCaseInto(argument, option);
    if (setOption(option, command.options)) continue;
    for (auto [name, action] :
         {std::pair{"-HELP", CommandLine::Action::Usage}, std::pair{"--HELP", CommandLine::Action::Help},
          std::pair{"--VERSION", CommandLine::Action::Version}}) {
      if (option == name) {
        command.action = action;
        return command;
      }
    }
    command.unknownOptions.push_back(argument);
  }
  // A command line of options alone names nothing to read.
  if (command.logNames.empty()) command.action = CommandLine::Action::Usage;
  return command;
}

}  // namespace quorvel
