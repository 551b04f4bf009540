#include "radio/recognisers.h"

#include <algorithm>
#include <array>

#include "base/ascii.h"
#include "radio/band_table.h"

namespace quorvel {

namespace {

constexpr auto markersOf = [](const Band& band) { return band.markers; };
constexpr auto kBandMarkers = bandTexts<countBandTexts(markersOf)>(markersOf);
// A satellite contact's band column, whatever bands it used.
constexpr std::string_view kSatellite = "SAT";

// The modes a hand-typed log writes, as the program always knew them.
constexpr std::array<std::string_view, 11> kTypedModes = {
    "SSB", "J3E", "PHO", "RTTY", "F1B", "FSK", "CW", "A1A", "FM", "PSK", "PSK31",
};

constexpr std::size_t kMaxBandLength = 7;
constexpr std::size_t kMinModeLength = 2;
constexpr std::size_t kMaxModeLength = 5;
constexpr std::size_t kMinCallsignLength = 3;
constexpr int kMaxPrefixLetters = 3;

// Whether `token` is a band's name with its unit as the band table has it
// (6M, 2M, 23CM, 1.25M), in any letter case: every band, the VHF and up
// ones that hold no marker too.
bool namesBand(std::string_view token) {
  for (const Band& band : kBands) {
    if (band.name.size() == token.size() && std::equal(token.begin(), token.end(), band.name.begin(),
                                                       [](char a, char b) { return toAsciiUpper(a) == b; })) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool isBand(std::string_view token) {
  if (token.empty() || token.size() > kMaxBandLength) return false;
  for (std::string_view marker : kBandMarkers) {
    if (contains(token, marker)) return true;
  }
  return contains(token, kSatellite) || namesBand(token);
}

bool isMode(std::string_view token) {
  if (token.size() < kMinModeLength || token.size() > kMaxModeLength) return false;
  for (std::string_view name : kTypedModes) {
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
  for (std::size_t i = 0; i < token.size(); ++i) {
    auto c = static_cast<unsigned char>(token[i]);
    if (isAsciiAlpha(c)) {
      ++letters;
    } else if (isAsciiDigit(c)) {
      ++digits;
    } else if (const std::size_t zero = c >= 0x80 ? slashedZeroAt(token, i) : 0; zero > 0) {
      ++digits;
      i += zero - 1;
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
  for (std::size_t i = 0; i < token.size(); ++i) {
    auto c = static_cast<unsigned char>(token[i]);
    if (isAsciiDigit(c) || c == '/' || (c >= 0x80 && slashedZeroAt(token, i) > 0)) break;
    if (isAsciiAlpha(c)) ++prefixLetters;
  }
  return prefixLetters <= kMaxPrefixLetters;
}

namespace {

// Longer than any callsign with its portable parts (looksLikeCallsign
// takes three parts of at most 12).
constexpr std::size_t kLongestZeroedToken = 40;

// A callsign without portable parts: see looksLikeCallsign. One pass, as
// it runs on a token of every contact line.
bool isBaseCallsign(std::string_view token) {
  const std::size_t size = token.size();
  auto upper = [&token, size](std::size_t at) {
    return at < size && isAsciiUpper(static_cast<unsigned char>(token[at]));
  };
  auto digit = [&token, size](std::size_t at) {
    return at < size && isAsciiDigit(static_cast<unsigned char>(token[at]));
  };
  // The prefix: letters, a digit and letters, or a letter and a digit; a
  // letter and a digit (E7, T7) when more digits follow.
  std::size_t at = 0;
  if (upper(0)) {
    at = upper(1) ? 2 : digit(1) && digit(2) ? 2 : 1;
  } else if (digit(0) && upper(1)) {
    at = upper(2) ? 3 : 2;
  } else {
    return false;
  }
  const std::size_t digits = at;
  while (digit(at) && at - digits < 4) ++at;
  const std::size_t suffix = at;
  while (upper(at) && at - suffix < 4) ++at;
  return digits < suffix && suffix < at && at == size;
}

}  // namespace

bool looksLikeCallsign(std::string_view token) {
  if (isBaseCallsign(token)) return true;  // most tokens asked about
  if (std::any_of(token.begin(), token.end(), [](char c) { return (static_cast<unsigned char>(c) & 0x80) != 0; })) {
    // Asked again with each slashed zero written as the digit.
    char zeroed[kLongestZeroedToken];
    std::size_t size = 0, zeros = 0;
    for (std::size_t i = 0; i < token.size() && size < sizeof zeroed; ++i, ++size) {
      const std::size_t zero = slashedZeroAt(token, i);
      zeroed[size] = zero > 0 ? '0' : token[i];
      i += zero > 0 ? zero - 1 : 0;
      zeros += zero > 0 ? 1 : 0;
    }
    return zeros > 0 && size < sizeof zeroed && looksLikeCallsign(std::string_view(zeroed, size));
  }
  if (token.find('/') == std::string_view::npos) return false;
  bool anyCallsign = false;
  int parts = 0;
  for (std::size_t start = 0; start <= token.size() && ++parts <= 3;) {
    std::size_t slash = std::min(token.find('/', start), token.size());
    std::string_view part = token.substr(start, slash - start);
    if (part.empty() || part.size() > 12 ||
        !std::all_of(part.begin(), part.end(), [](char c) { return isAsciiAlnum(static_cast<unsigned char>(c)); })) {
      return false;
    }
    anyCallsign |= isBaseCallsign(part);
    start = slash + 1;
  }
  return anyCallsign && parts <= 3;
}

bool isLocator(std::string_view token) {
  auto in = [&token](std::size_t at, char first, char last) { return token[at] >= first && token[at] <= last; };
  if (token.size() != 4 && token.size() != 6) return false;
  if (!in(0, 'A', 'R') || !in(1, 'A', 'R') || !in(2, '0', '9') || !in(3, '0', '9')) return false;
  return token.size() == 4 || (in(4, 'A', 'X') && in(5, 'A', 'X'));
}

}  // namespace quorvel
