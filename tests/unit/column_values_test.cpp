#include "readers/column_values.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(NormaliseBand, FrequenciesCutAtTheFullStopExceptWholeBandNames) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"14.025", "14"}, {"7.040", "7"}, {"1.830", "1"}, {"3.7", "3"},   {"10.12", "10"},
      {"1.8", "1.8"},   {"3.5", "3.5"}, {"3.6", "3.6"}, {"3.8", "3.8"}, {"10.1", "10.1"},
      {"24.5", "24.5"}, {"144", "144"}, {"20M", "20M"}, {"", ""},       {".5", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(normaliseBand(c.in), c.out) << c.in;
}

TEST(NormaliseMode, OnlyPsk31IsShortened) {
  EXPECT_EQ(normaliseMode("PSK31"), "PSK");
  EXPECT_EQ(normaliseMode("PSK63"), "PSK63");
  EXPECT_EQ(normaliseMode("BPSK31"), "BPSK31");
  EXPECT_EQ(normaliseMode(""), "");
}

}  // namespace
}  // namespace quorvel
