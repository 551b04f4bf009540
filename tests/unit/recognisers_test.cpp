#include "detect/recognisers.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvel {
namespace {

struct Case {
  const char* token;
  bool expected;
};

TEST(IsBand, MarkersAnywhereInOneToSevenCharacters) {
  const Case cases[] = {
      {"7", true},         {"3.5", true},        {"14.025", true}, {"21.1", true}, {"1.830", true}, {"SAT", true},
      {"20M", true},       {"70CM", true},       {"579", true},    {"430", true},  {"1296", true},  {"14.0250", true},
      {"10", true},        {"144", true},        {"2", false},     {"6", false},   {"23CM", false}, {"432", false},
      {"14.02500", false}, {"SATELLITE", false}, {"", false},      {"sat", false},
  };
  for (const Case& c : cases) EXPECT_EQ(isBand(c.token), c.expected) << c.token;
}

TEST(IsMode, WholeNameCaseSensitive) {
  const Case cases[] = {
      {"SSB", true}, {"J3E", true},    {"PHO", true},  {"RTTY", true}, {"F1B", true},    {"FSK", true},
      {"CW", true},  {"A1A", true},    {"FM", true},   {"PSK", true},  {"PSK31", true},  {"USB", false},
      {"AM", false}, {"PSK63", false}, {"ssb", false}, {"C", false},   {"RTTYX", false}, {"BPSK31", false},
  };
  for (const Case& c : cases) EXPECT_EQ(isMode(c.token), c.expected) << c.token;
}

TEST(IsCallsign, ShapesAndPrefixRule) {
  const Case cases[] = {
      // L = letter, D = digit
      {"GB4XYZ", true},                     // LLDLLL
      {"K1AB", true},                       // LDLL
      {"DLA1X", true},                      // LLLDL
      {"ABCD1", false},                     // LLLLD
      {"ABCD1E", false},                    // LLLLDL
      {"4X4ABC", true},                     // DLDLLL: a leading digit ends the prefix scan
      {"10M", true},        {"K1A", true},  // LDL
      {"1AB", true},                        // DLL
      {"K1", false},        {"1K", false},       {"599", false},       {"1432", false},     {"SSB", false},
      {"CW", false},        {"14.025", false},   {"22-JUN-02", false}, {"12/06/02", false},  // no letter
      {"JUN/02", true},     {"22/JUN/02", true}, {"GB/G4ABC", true},                         // LL/LLDLL
      {"G4ABC/P", true},                                                                     // LLDLLL/L
      {"ABCDE/1", false},                        // five letters before the "/"
      {"ABC/DEFG1H", true},                      // LLL/LLLLDL: the scan stops at the "/"
      {"A.B/1", true},                           // a "/" admits other punctuation
      {"AB-1", false},      {"K1\xC4X", false},  // bytes above 127 are neither letters nor digits
      {"K1\xC4X/P", true},  {"K1\tAB", false},
  };
  for (const Case& c : cases) EXPECT_EQ(isCallsign(c.token), c.expected) << c.token;
}

TEST(Recognisers, TakeAnyBytesWithoutFault) {
  std::string all;
  for (int c = 1; c < 256; ++c) all.push_back(static_cast<char>(c));
  EXPECT_FALSE(isBand(all));
  EXPECT_FALSE(isMode(all));
  EXPECT_TRUE(isCallsign(all));  // holds "/", letters and digits, no letter before the first digit
}

}  // namespace
}  // namespace quorvel
