#include "readers/cabrillo_contact.h"

#include <array>
#include <utility>

#include "detect/ascii.h"

namespace quorvel {

namespace {

constexpr std::array<std::pair<std::string_view, ContestLayout>, 10> kContestNames = {{
    {"RSGB-IOTA", ContestLayout::RsgbIota},
    {"ARRL-VHF-SEP", ContestLayout::ArrlVhfSep},
    {"CQ-WW-RTTY", ContestLayout::CqWwRtty},
    {"ARRL-SS-CW", ContestLayout::ArrlSsCw},
    {"IARU", ContestLayout::Iaru},
    {"AP-SPRINT", ContestLayout::ApSprint},
    {"ARRL-10", ContestLayout::Arrl10},
    {"ARRL-160", ContestLayout::Arrl160},
    {"ARRL-DX", ContestLayout::ArrlDx},
    {"CQ-WPX", ContestLayout::CqWpx},
}};

constexpr std::string_view kContactMarker = "QSO:";
constexpr std::string_view kMissingField = "                    ";  // 20 blanks

// How many tokens a layout reads after "QSO:", and which one (from 1) is the
// worked callsign. The tokens after it only fill a scratch field.
struct TokenPattern {
  int tokens;
  int callsignToken;
};

TokenPattern patternFor(ContestLayout layout) {
  switch (layout) {
    case ContestLayout::RsgbIota:
    case ContestLayout::CqWwRtty: return {12, 9};
    case ContestLayout::ArrlVhfSep: return {8, 7};
    case ContestLayout::ArrlSsCw: return {14, 10};
    default: return {10, 8};
  }
}

}  // namespace

ContestLayout contestLayoutFor(std::string_view contestName) {
  for (const auto& [text, layout] : kContestNames) {
    if (contains(contestName, text)) return layout;
  }
  return ContestLayout::Standard;
}

CabrilloParse parseCabrilloQso(std::string_view upperLine, ContestLayout layout, CabrilloContact& contact) {
  std::size_t marker = upperLine.find(kContactMarker);
  if (marker == std::string_view::npos) return CabrilloParse::NotContact;
  std::string_view rest = upperLine.substr(marker + kContactMarker.size());

  contact = CabrilloContact{kMissingField, kMissingField, kMissingField, kMissingField, kMissingField};
  const TokenPattern pattern = patternFor(layout);
  const char* at = rest.data();
  const char* const end = at + rest.size();
  int number = 0;
  // Tokens after the callsign are read by the layout but never used, so
  // the scan stops at the callsign.
  while (number < pattern.callsignToken) {
    while (at < end && isScanSpace(static_cast<unsigned char>(*at))) ++at;
    if (at == end) break;
    const char* start = at;
    // Bytes above the blank are never white space: most of a token is
    // passed over with one test a byte.
    while (at < end && (static_cast<unsigned char>(*at) > ' ' || !isScanSpace(static_cast<unsigned char>(*at)))) ++at;
    std::string_view token(start, static_cast<std::size_t>(at - start));
    ++number;
    switch (number) {
      case 1: contact.band = token; break;
      case 2: contact.mode = token; break;
      case 3: contact.date = token; break;
      case 4: contact.time = token; break;
      default:
        if (number == pattern.callsignToken) contact.callsign = token;
        break;
    }
  }
  if (number == 0) return CabrilloParse::Empty;
  if (contact.mode == "PSK31") contact.mode = "PSK";
  return CabrilloParse::Contact;
}

}  // namespace quorvel
