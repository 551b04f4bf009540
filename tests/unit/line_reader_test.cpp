#include "readers/line_reader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

namespace quorvel {
namespace {

// A temporary file holding `content`, read from its start.
class LogFile {
 public:
  explicit LogFile(const std::string& content) : file_(std::tmpfile()) {
    std::fwrite(content.data(), 1, content.size(), file_);
    std::fflush(file_);
    std::rewind(file_);
  }
  ~LogFile() { std::fclose(file_); }
  LogFile(const LogFile&) = delete;
  LogFile& operator=(const LogFile&) = delete;
  int fd() const { return ::fileno(file_); }

 private:
  std::FILE* file_;
};

// The lines `content` falls into, each followed by "|" when it ended in a
// new line.
std::vector<std::string> linesOf(const std::string& content) {
  LogFile file(content);
  LineReader reader(file.fd(), "log");
  std::vector<std::string> lines;
  Line line;
  while (reader.next(line)) lines.push_back(std::string(line.text) + (line.endsWithNewline ? "|" : ""));
  EXPECT_FALSE(reader.failed());
  return lines;
}

using Lines = std::vector<std::string>;

TEST(LineReader, LineEnds) {
  EXPECT_EQ(linesOf(""), Lines{});
  EXPECT_EQ(linesOf("\n"), Lines{"|"});
  EXPECT_EQ(linesOf("a\nb"), (Lines{"a|", "b"}));
  EXPECT_EQ(linesOf("a\r\nb\r\n"), (Lines{"a|", "b|"}));
  EXPECT_EQ(linesOf("a\rb\n"), Lines{"a\rb|"});  // a lone carriage return is data
  EXPECT_EQ(linesOf("\r\n\r\n"), (Lines{"|", "|"}));
  EXPECT_EQ(linesOf(std::string("a\0b\n", 4)), Lines{std::string("a\0b|", 4)});
}

TEST(LineReader, LongLinesComeWhole) {
  std::string longLine(3 * 1024 * 1024 + 7, 'x');
  Lines lines = linesOf("short\n" + longLine + "\r\nend");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], longLine + "|");
  EXPECT_EQ(lines[2], "end");
}

TEST(LineReader, PeekLeavesTheLinesInPlace) {
  LogFile file("first\nsecond\n");
  LineReader reader(file.fd(), "log");
  EXPECT_EQ(reader.peek(8), "first\nse");
  EXPECT_EQ(reader.peek(100), "first\nsecond\n");
  Line line;
  ASSERT_TRUE(reader.next(line));
  EXPECT_EQ(line.text, "first");
}

// The blocks `content` is taken in, `size` bytes at a time, cut after a
// line ending in ";" where one is near.
std::vector<std::string> blocksOf(const std::string& content, std::size_t size) {
  LogFile file(content);
  LineReader reader(file.fd(), "log");
  std::vector<std::string> blocks;
  LineBlock block;
  auto endsWithSemicolon = [](std::string_view line) { return !line.empty() && line.back() == ';'; };
  while (reader.takeBlock(size, endsWithSemicolon, block)) blocks.emplace_back(block.text());
  EXPECT_TRUE(reader.exhausted());
  return blocks;
}

TEST(LineReader, BlocksHoldWholeLines) {
  using Blocks = std::vector<std::string>;
  struct Case {
    std::string content;
    std::size_t size;
    Blocks blocks;
  };
  const std::vector<Case> cases = {
      {"", 4, {}},
      {"ab\n", 100, {"ab\n"}},  // the first block takes all: nothing is left to look at
      {"a\nb\nc", 1, {"a\n", "b\n", "c"}},
      {"abc\nd;\ne\n", 2, {"abc\nd;\n", "e\n"}},                    // no line ends within the size: on to a ";"
      {"a\nb;\r\nc\nd\nlast", 9, {"a\nb;\r\n", "c\nd\n", "last"}},  // back to a ";", else to a line end
      {"a;\nb\nc\nd;\ne\n", 6, {"a;\n", "b\nc\n", "d;\n", "e\n"}},
  };
  for (const Case& c : cases) EXPECT_EQ(blocksOf(c.content, c.size), c.blocks) << c.content;

  std::string longLine(700 * 1024, 'x');
  EXPECT_EQ(blocksOf("a\n" + longLine + "\nb;\n", 1), (Blocks{"a\n", longLine + "\nb;\n"}));
  std::string many;
  for (int i = 0; i <= 99995; ++i) many += std::to_string(i) + (i % 7 == 0 ? ";\n" : "\n");
  Blocks blocks = blocksOf(many, 64 * 1024);
  std::string joined;
  for (const std::string& block : blocks) {
    EXPECT_EQ(block.substr(block.size() - 2), ";\n");
    joined += block;
  }
  EXPECT_EQ(joined, many);
}

TEST(LineReader, ReportsAReadError) {
  LineReader reader(-1, "broken.log");
  Line line;
  EXPECT_FALSE(reader.next(line));
  EXPECT_TRUE(reader.failed());
  EXPECT_EQ(reader.status().message(), "error reading file broken.log\n");
}

}  // namespace
}  // namespace quorvel
