#include "output/sort_stage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

TEST(SortLinesByColumn, ComparesBytesUnsigned) { EXPECT_EQ(sorted({"\xC4", "Z", "a"}, 1), (Lines{"Z", "a", "\xC4"})); }

TEST(SplitLines, KeepsEveryLineWhole) {
  EXPECT_EQ(splitLines(""), Lines{});
  EXPECT_EQ(splitLines("A\nB\n"), (Lines{"A", "B"}));
  EXPECT_EQ(splitLines("A\n\nB"), (Lines{"A", "", "B"}));
}

}  // namespace
}  // namespace quorvel
