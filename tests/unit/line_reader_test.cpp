// The line reader: lines and blocks of whole lines however a log is cut,
// and logs in UTF-16 read as UTF-8.

#include "readers/line_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/files.h"
#include "detect/text_encoding.h"
#include "readers/utf16_decoder.h"
#include "support/harness.h"

namespace quorvel {
namespace {

using namespace std::literals;

using Texts = std::vector<std::string>;

// The lines and the blocks `content` falls into: lines followed by "|"
// when they ended in a new line, blocks of `size` bytes cut after a line
// ending in ";" where one is near. Every text is followed by padding.
std::pair<Texts, Texts> linesAndBlocks(const std::string& content, std::size_t size) {
  testing::ScratchDir dir;
  dir.write("log", content);
  File log = openLog(dir.path() + "/log");
  LineReader lines(log, "log");
  Texts texts, blocks;
  for (Line line; lines.next(line);) {
    texts.push_back(std::string(line.text) + (line.endsWithNewline ? "|" : ""));
    [[maybe_unused]] volatile char padding = line.text.data()[line.text.size() + kReadPadding - 1];
  }
  log = openLog(dir.path() + "/log");
  LineReader cuts(log, "log");
  auto endsWithSemicolon = [](std::string_view line) { return !line.empty() && line.back() == ';'; };
  for (LineBlock block; cuts.nextBlock(size, endsWithSemicolon, block);) {
    blocks.emplace_back(block.text());
    EXPECT_GE(block.storage.size(), block.end + kReadPadding);
  }
  EXPECT_TRUE(cuts.exhausted() && lines.status().isOk());
  return {texts, blocks};
}

TEST(LineReader, LinesAndBlocksOfWholeLines) {
  const std::tuple<std::string, std::size_t, Texts, Texts> cases[] = {
      {"a\r\n\r\nb\rc", 100, {"a|", "|", "b\rc"}, {"a\r\n\r\n", "b\rc"}},  // a lone carriage return is data
      {std::string("a\0b\nc", 5), 1, {std::string("a\0b|", 4), "c"}, {std::string("a\0b\n", 4), "c"}},
      {"abc\nd;\ne\n", 2, {"abc|", "d;|", "e|"}, {"abc\nd;\n", "e\n"}},  // no line ends within the size: on to a ";"
      {"a\nb;\r\nc\nd\nlast", 9, {"a|", "b;|", "c|", "d|", "last"}, {"a\nb;\r\n", "c\nd\n", "last"}},
  };
  for (const auto& [content, size, lines, blocks] : cases) {
    EXPECT_EQ(linesAndBlocks(content, size), std::pair(lines, blocks)) << content;
  }
  // A log whose start ends its lines with CR alone: a CR LF after it is
  // one line end.
  const std::string filler(kEncodingProbeSize, 'x');
  EXPECT_EQ(linesAndBlocks("a\r" + filler + "\r\nb\rc", 1 << 20).first, (Texts{"a|", filler + "|", "b|", "c"}));
  std::string longLine(3 * 1024 * 1024, 'x');
  EXPECT_EQ(linesAndBlocks("a\n" + longLine + "\nb;\n", 1).second, (Texts{"a\n", longLine + "\nb;\n"}));
  File broken;
  Line line;
  LineReader reader(broken, "broken.log");
  EXPECT_FALSE(reader.next(line));
  EXPECT_EQ(reader.status().message(), std::string("error reading file broken.log: ") +
                                           (testing::kWindows ? "Invalid handle." : "Bad file descriptor") + "\n");
}

// UTF-16 as Windows tools save it: told by its mark or by the NULs beside
// ASCII text, and decoded the same whole or cut in two anywhere; what is
// not UTF-16 becomes U+FFFD.
TEST(Utf16, DetectedAndDecodedHoweverCut) {
  const std::string bad = "\xEF\xBF\xBD";
  struct Case {
    std::string bytes;
    TextEncoding encoding;
    std::size_t mark;
    std::string text;
  } const cases[] = {
      {"\xFF\xFE\x41\0\xE9\0"s, TextEncoding::Utf16LittleEndian, 2, "A\xC3\xA9"},
      {"\xFE\xFF\0A\x65\xE5"s, TextEncoding::Utf16BigEndian, 2, "A\xE6\x97\xA5"},
      {"<\0E\0O\0H\0>\0\n\0\xE5\x65\x2C\x67"s, TextEncoding::Utf16LittleEndian, 0, "<EOH>\n\xE6\x97\xA5\xE6\x9C\xAC"},
      {"\0<\0E\0O\0H\0>\0\n\xD8\x3D\xDE\x00"s, TextEncoding::Utf16BigEndian, 0, "<EOH>\n\xF0\x9F\x98\x80"},
      {"\xFF\xFE\x3D\xD8\x41\0\x00\xDE\x3D\xD8"s, TextEncoding::Utf16LittleEndian, 2, bad + "A" + bad + bad},
      {"\xFF\xFE\x41\0\x42"s, TextEncoding::Utf16LittleEndian, 2, "A" + bad},
      {"\xFF\xFE\x00\xD8\x00\xDC"s, TextEncoding::Utf16LittleEndian, 2, "\xF0\x90\x80\x80"},  // U+D800 U+DC00
      {"\xEF\xBB\xBF<EOH>"s, TextEncoding::Bytes, 3, ""},
      {"A\0"s, TextEncoding::Bytes, 0, ""},
      {"\xFE\xFEXYZ"s, TextEncoding::Bytes, 0, ""},  // a Latin-1 log that begins with thorns
      {"<CALL:4>K1AB\0\0\0"s, TextEncoding::Bytes, 0, ""},
  };
  for (const Case& c : cases) {
    EncodingFound found = detectTextEncoding(c.bytes);
    EXPECT_EQ(found.encoding, c.encoding) << c.bytes;
    EXPECT_EQ(found.markLength, c.mark) << c.bytes;
    if (c.encoding == TextEncoding::Bytes) continue;
    for (std::size_t cut = c.mark; cut <= c.bytes.size(); ++cut) {
      Utf16Decoder decoder(c.encoding == TextEncoding::Utf16BigEndian);
      std::string text;
      decoder.decode(c.bytes.substr(c.mark, cut - c.mark), text);
      decoder.decode(c.bytes.substr(cut), text);
      decoder.finish(text);
      EXPECT_EQ(text, c.text) << c.bytes << " cut at " << cut;
    }
  }
}

// A UTF-16 log far longer than the pieces it is decoded in gives the
// lines and blocks of the same log in UTF-8, characters of two, three
// and four bytes falling across every boundary.
TEST(LineReader, Utf16LogsReadAsUtf8) {
  std::string utf8, utf16 = "\xFF\xFE";
  for (int i = 0; i < 40000; ++i) {
    const std::string pad(static_cast<std::size_t>(i % 7), 'x');
    utf8 += "K1AB" + pad + " \xC3\xA9 \xE6\x97\xA5\xF0\x9F\x98\x80;\r\n";
    for (char c : "K1AB" + pad + " ") utf16 += std::string{c, '\0'};
    utf16 += "\xE9\0 \0\xE5\x65\x3D\xD8\x00\xDE;\0\r\0\n\0"s;
  }
  EXPECT_EQ(linesAndBlocks(utf16, 1000), linesAndBlocks(utf8, 1000));
}

}  // namespace
}  // namespace quorvel
