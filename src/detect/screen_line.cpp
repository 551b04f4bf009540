#include "detect/screen_line.h"

#include <array>

#include "detect/ascii.h"
#include "detect/recognisers.h"
#include "detect/space_tokens.h"

namespace quorvel {

namespace {

constexpr std::array<std::string_view, 3> kAdifMarkers = {"ADIF", "<EOH>", "QX7QX"};
constexpr std::string_view kCabrilloMarker = "START-OF-LOG:";
constexpr std::array<std::string_view, 5> kHeadingMarkers = {"\f", "PAGE", "CALL", "TRELVO", "LOGNAME"};

template <std::size_t N>
bool containsAny(std::string_view line, const std::array<std::string_view, N>& markers) {
  for (std::string_view marker : markers) {
    if (contains(line, marker)) return true;
  }
  return false;
}

}  // namespace

ScreenResult screenLine(std::string_view upperLine) {
  if (containsAny(upperLine, kAdifMarkers)) return ScreenResult::Adif;
  if (contains(upperLine, kCabrilloMarker)) return ScreenResult::Cabrillo;
  if (containsAny(upperLine, kHeadingMarkers)) return ScreenResult::Reject;
  SpaceTokens tokens(upperLine);
  std::string_view token;
  while (tokens.next(token)) {
    if (isCallsign(token)) return ScreenResult::Data;
  }
  return ScreenResult::Reject;
}

}  // namespace quorvel
