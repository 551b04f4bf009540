#include "output/sort_stage.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "output/bucket_names.h"

namespace quorvel {
namespace {

std::vector<std::string_view> sorted(std::vector<std::string_view> lines, int column) {
  sortLinesByColumn(lines, column);
  return lines;
}

using Lines = std::vector<std::string_view>;

TEST(SortLinesByColumn, OrdersByTextFromTheColumn) {
  EXPECT_EQ(sorted({"9 K1B", "1 K1C", "5 K1A"}, 3), (Lines{"5 K1A", "9 K1B", "1 K1C"}));
  // Column 1, and columns below 1, compare whole lines.
  EXPECT_EQ(sorted({"B", "A", "C"}, 1), (Lines{"A", "B", "C"}));
  EXPECT_EQ(sorted({"B", "A", "C"}, 0), (Lines{"A", "B", "C"}));
  EXPECT_EQ(sorted({"B", "A", "C"}, -4), (Lines{"A", "B", "C"}));
}

TEST(SortLinesByColumn, TiesKeepTheirOrderAndShortLinesComeFirst) {
  EXPECT_EQ(sorted({"3 K1A", "1 K1A", "2 K1A"}, 3), (Lines{"3 K1A", "1 K1A", "2 K1A"}));
  EXPECT_EQ(sorted({"9 K1A", "", "ZZ", "1 K1A"}, 3), (Lines{"", "ZZ", "9 K1A", "1 K1A"}));
}

// Keys pieced together from a few pieces, zero bytes among them, share
// long prefixes and differ only in length or far in; the order must be that of
// a plain stable sort by key all the same.
TEST(SortLinesByColumn, AgreesWithAStableSortOfTheKeys) {
  const std::vector<std::string> pieces = {"AAAAAAAA", "AAAA", std::string(1, '\0'), "\xFF", "A"};
  std::uint32_t state = 12345;
  auto next = [&state](std::uint32_t bound) {
    state = state * 1103515245u + 12345u;
    return (state >> 16) % bound;
  };
  for (int column : {1, 3}) {
    std::vector<std::string> texts;
    for (int i = 0; i < 2000; ++i) {
      // Two characters that tell equal keys apart, then the key.
      std::string line{static_cast<char>('a' + i % 26), static_cast<char>('a' + i / 26 % 26)};
      std::uint32_t count = next(6);
      for (std::uint32_t c = 0; c < count; ++c) line += pieces[next(static_cast<std::uint32_t>(pieces.size()))];
      texts.push_back(line);
    }
    Lines lines(texts.begin(), texts.end());
    Lines expected = lines;
    std::size_t skip = static_cast<std::size_t>(column - 1);
    auto keyOf = [skip](std::string_view line) { return line.size() > skip ? line.substr(skip) : std::string_view(); };
    std::stable_sort(expected.begin(), expected.end(), [&keyOf](std::string_view a, std::string_view b) {
      return std::lexicographical_compare(
          keyOf(a).begin(), keyOf(a).end(), keyOf(b).begin(), keyOf(b).end(),
          [](char x, char y) { return static_cast<unsigned char>(x) < static_cast<unsigned char>(y); });
    });
    EXPECT_EQ(sorted(lines, column), expected) << "column " << column;
  }
}

TEST(SortLinesByColumn, ComparesBytesUnsigned) { EXPECT_EQ(sorted({"\xC4", "Z", "a"}, 1), (Lines{"Z", "a", "\xC4"})); }

// A bucket file is sorted whole: lines of every length, up to and past
// the longest the sort keeps track of without looking for its end, and a
// last line without its new line.
TEST(SortBuckets, SortsABucketFileWhateverItsLineLengths) {
  char pattern[] = "/tmp/quorvel-sort-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  const std::string dir = std::string(pattern) + "/";
  std::vector<std::string> lines;
  for (std::size_t length : {65534u, 3u, 65535u, 70000u, 65536u, 0u, 65535u, 10u}) {
    std::string line = std::to_string(lines.size()) + " ";
    line.resize(std::max(length, line.size()), static_cast<char>('Z' - length % 7));
    lines.push_back(line);
  }
  std::string content;
  for (const std::string& line : lines) content += line + "\n";
  content.pop_back();
  for (char bucket : kBucketCharacters) std::ofstream(dir + bucketFileName(bucket, false), std::ios::binary);
  std::ofstream(dir + bucketFileName('K', false), std::ios::binary) << content;
  // Keys alike over megabytes (a long comment worked again and again) are
  // compared to their end without running out of stack, both in a run of
  // two and in a run too long to be ordered by whole keys.
  std::string twins = "2 " + std::string(2000000, 'C') + "\n1 " + std::string(2000000, 'C') + "\n";
  for (int i = 0; i < 20; ++i) twins += std::to_string(i % 10) + " " + std::string(600000, 'D') + "\n";
  std::ofstream(dir + bucketFileName('W', false), std::ios::binary) << twins;

  std::FILE* devNull = std::fopen("/dev/null", "w");
  EXPECT_TRUE(sortBuckets(dir, false, 3, Console{devNull, devNull}).isOk());
  std::fclose(devNull);

  Lines expected(lines.begin(), lines.end());
  sortLinesByColumn(expected, 3);
  std::string wanted;
  for (std::string_view line : expected) wanted.append(line).push_back('\n');
  std::ifstream sortedFile(dir + sortedFileName('K', false), std::ios::binary);
  std::string got((std::istreambuf_iterator<char>(sortedFile)), std::istreambuf_iterator<char>());
  EXPECT_TRUE(got == wanted) << got.size() << " bytes against " << wanted.size();
  std::ifstream twinsFile(dir + sortedFileName('W', false), std::ios::binary);
  EXPECT_TRUE(std::string((std::istreambuf_iterator<char>(twinsFile)), std::istreambuf_iterator<char>()) == twins);
  std::filesystem::remove_all(pattern);
}

}  // namespace
}  // namespace quorvel
