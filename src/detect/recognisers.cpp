#include "detect/recognisers.h"

#include <array>

#include "base/ascii.h"

namespace quorvel {

namespace {

constexpr std::array<std::string_view, 22> kBandMarkers = {
    "1.", "3.", "7",  "14", "18", "21", "24", "28", "160", "75",  "80",
    "40", "30", "20", "17", "12", "15", "50", "70", "144", "SAT", "10",
};

constexpr std::array<std::string_view, 11> kModeNames = {
    "SSB", "J3E", "PHO", "RTTY", "F1B", "FSK", "CW", "A1A", "FM", "PSK", "PSK31",
};

constexpr std::size_t kMaxBandLength = 7;
constexpr std::size_t kMinModeLength = 2;
constexpr std::size_t kMaxModeLength = 5;
constexpr std::size_t kMinCallsignLength = 3;
constexpr int kMaxPrefixLetters = 3;

}  // namespace

bool isBand(std::string_view token) {
  if (token.empty() || token.size() > kMaxBandLength) return false;
  for (std::string_view marker : kBandMarkers) {
    if (contains(token, marker)) return true;
  }
  return false;
}

bool isMode(std::string_view token) {
  if (token.size() < kMinModeLength || token.size() > kMaxModeLength) return false;
  for (std::string_view name : kModeNames) {
    if (token == name) return true;
  }
  return false;
}

bool isCallsign(std::string_view token) {
  if (token.size() < kMinCallsignLength) return false;

  int letters = 0;
  int digits = 0;
  bool hasSlash = false;
  bool hasOther = false;
  for (char ch : token) {
    auto c = static_cast<unsigned char>(ch);
    if (isAsciiAlpha(c)) {
      ++letters;
    } else if (isAsciiDigit(c)) {
      ++digits;
    } else {
      hasSlash |= c == '/';
      hasOther = true;
      // A "/" anywhere lets any other character through, as in portable
      // suffixes written with odd punctuation; without one the token is
      // no callsign, which dates and frequencies show early.
      if (!hasSlash && token.find('/') == std::string_view::npos) return false;
    }
  }
  if (hasOther && !hasSlash) return false;
  if (letters == 0 || digits == 0) return false;

  int prefixLetters = 0;
  for (char ch : token) {
    auto c = static_cast<unsigned char>(ch);
    if (isAsciiDigit(c) || c == '/') break;
    if (isAsciiAlpha(c)) ++prefixLetters;
  }
  return prefixLetters <= kMaxPrefixLetters;
}

}  // namespace quorvel
