#include "driver/command_line.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

using Action = CommandLine::Action;

TEST(ParseCommandLine, Actions) {
  EXPECT_EQ(parseCommandLine({}).action, Action::Usage);
  EXPECT_EQ(parseCommandLine({"-v", "log.adi"}).action, Action::Banner);
  EXPECT_EQ(parseCommandLine({"-Version"}).action, Action::Banner);
  EXPECT_EQ(parseCommandLine({"log.adi", "-v"}).action, Action::Run);  // only the first argument asks
  EXPECT_EQ(parseCommandLine({"log.adi", "-Help"}).action, Action::Usage);
  EXPECT_EQ(parseCommandLine({"-x", "log.adi"}).action, Action::Run);
}

TEST(ParseCommandLine, OptionsInAnyCaseAndTheLastFileName) {
  CommandLine command = parseCommandLine({"-Lower", "first.log", "-comment", "second.log", "-NoDate"});
  EXPECT_TRUE(command.options.lowerCaseNames);
  EXPECT_TRUE(command.options.keepComments);
  EXPECT_TRUE(command.options.noDate);
  EXPECT_FALSE(command.options.noTime);
  EXPECT_EQ(command.fileName, "second.log");

  command = parseCommandLine({"-notime", "-nodatex"});
  EXPECT_TRUE(command.options.noTime);
  EXPECT_FALSE(command.options.noDate);
  EXPECT_EQ(command.fileName, "");
}

}  // namespace
}  // namespace quorvel
