// Every log excerpt, console transcript and output file the README shows is
// checked against the bundled examples and the real program.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "e2e/scratch_run.h"

namespace quorvel::testing {
namespace {

// One block of the README behind a "<!-- kind: example options -->" mark.
struct Shown {
  std::string kind;
  std::string example;
  std::vector<std::string> options;
  std::vector<std::string> lines;  // the block's lines, without new lines
};

std::vector<Shown> shownBlocks() {
  std::istringstream readme(readFile(QUORVEL_SOURCE_DIR "/README.md"));
  std::vector<Shown> blocks;
  std::string line;
  while (std::getline(readme, line)) {
    if (line.rfind("<!-- ", 0) != 0) continue;
    std::istringstream mark(line.substr(5));
    Shown shown;
    mark >> shown.kind >> shown.example;
    shown.kind.pop_back();  // its ":"
    for (std::string word; mark >> word && word != "-->";) shown.options.push_back(word);
    std::getline(readme, line);  // the opening fence
    while (std::getline(readme, line) && line.rfind("```", 0) != 0) shown.lines.push_back(line);
    blocks.push_back(shown);
  }
  return blocks;
}

std::string joined(std::vector<std::string>::const_iterator begin, std::vector<std::string>::const_iterator end) {
  std::string text;
  for (auto it = begin; it != end; ++it) text += *it + "\n";
  return text;
}

RunResult runExample(const Shown& shown, ScratchDir& dir) {
  dir.write(shown.example, readFile(QUORVEL_EXAMPLES "/" + shown.example));
  std::vector<std::string> arguments = shown.options;
  arguments.push_back(shown.example);
  RunLimits limits;
  limits.mergeStreams = true;
  return runQuorvel(dir, arguments, limits);
}

TEST(ReadmeE2e, ShowsRealLogsAndRealOutput) {
  std::vector<Shown> blocks = shownBlocks();
  ASSERT_GE(blocks.size(), 9u);
  for (const Shown& shown : blocks) {
    SCOPED_TRACE(shown.kind + " " + shown.example);
    ASSERT_FALSE(shown.lines.empty());
    if (shown.kind == "log") {
      std::string log = readFile(QUORVEL_EXAMPLES "/" + shown.example);
      EXPECT_EQ(log.substr(0, joined(shown.lines.begin(), shown.lines.end()).size()),
                joined(shown.lines.begin(), shown.lines.end()));
      continue;
    }
    ScratchDir dir;
    RunResult result = runExample(shown, dir);
    EXPECT_EQ(result.exitStatus, 0);
    if (shown.kind == "console") {
      std::string command = "$ quorvel";
      for (const std::string& option : shown.options) command += " " + option;
      EXPECT_EQ(shown.lines.front(), command + " " + shown.example);
      EXPECT_EQ(joined(shown.lines.begin() + 1, shown.lines.end()), result.out);
    } else {
      ASSERT_EQ(shown.kind, "files");
      auto files = dir.files();
      for (auto it = shown.lines.begin(); it != shown.lines.end();) {
        ASSERT_EQ(it->rfind("$ cat ", 0), 0u) << *it;
        std::string name = it->substr(6);
        auto end =
            std::find_if(it + 1, shown.lines.end(), [](const std::string& l) { return l.rfind("$ cat ", 0) == 0; });
        EXPECT_EQ(joined(it + 1, end), files[name]) << name;
        it = end;
      }
    }
  }
}

}  // namespace
}  // namespace quorvel::testing
