#include "readers/line_reader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

namespace quorvel {
namespace {

// The lines `content` falls into, each followed by "|" when it ended in a
// new line.
std::vector<std::string> linesOf(const std::string& content) {
  std::FILE* file = std::tmpfile();
  std::fwrite(content.data(), 1, content.size(), file);
  std::fflush(file);
  std::rewind(file);
  LineReader reader(::fileno(file), "log");
  std::vector<std::string> lines;
  Line line;
  while (reader.next(line)) lines.push_back(std::string(line.text) + (line.endsWithNewline ? "|" : ""));
  EXPECT_FALSE(reader.failed());
  std::fclose(file);
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
  std::FILE* file = std::tmpfile();
  std::fputs("first\nsecond\n", file);
  std::fflush(file);
  std::rewind(file);
  LineReader reader(::fileno(file), "log");
  EXPECT_EQ(reader.peek(8), "first\nse");
  EXPECT_EQ(reader.peek(100), "first\nsecond\n");
  Line line;
  ASSERT_TRUE(reader.next(line));
  EXPECT_EQ(line.text, "first");
  std::fclose(file);
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
