#include "driver/command_line.h"

#include "base/ascii.h"

namespace quorvel {

namespace {

bool isVersionRequest(std::string_view argument) {
  return argument.size() >= 2 && argument[0] == '-' && (argument[1] == 'v' || argument[1] == 'V');
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
    if (option == "-NODATE") command.options.noDate = true;
    if (option == "-NOTIME") command.options.noTime = true;
    if (option == "-COMMENT") command.options.keepComments = true;
    if (option == "-LOWER") command.options.lowerCaseNames = true;
    if (option == "-UNIQUE") command.options.unique = true;
    if (option == "-HTML") command.options.html = true;
    for (auto [name, action] :
         {std::pair{"-HELP", CommandLine::Action::Usage}, std::pair{"--HELP", CommandLine::Action::Help},
          std::pair{"--VERSION", CommandLine::Action::Version}}) {
      if (option == name) {
        command.action = action;
        return command;
      }
    }
  }
  // A command line of options alone names nothing to read.
  if (command.logNames.empty()) command.action = CommandLine::Action::Usage;
  return command;
}

}  // namespace quorvel
