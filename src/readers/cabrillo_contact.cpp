#include "readers/cabrillo_contact.h"

#include <array>
#include <utility>

#include "base/ascii.h"

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

// Which token after "QSO:" (from 1) a layout takes for the worked
// callsign. The tokens after it are never used.
int callsignTokenOf(ContestLayout layout) {
  switch (layout) {
    case ContestLayout::RsgbIota:
    case ContestLayout::CqWwRtty: return 9;
    case ContestLayout::ArrlVhfSep: return 7;
    case ContestLayout::ArrlSsCw: return 10;
    default: return 8;
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
  const int callsignToken = callsignTokenOf(layout);
  const char* at = rest.data();
  const char* const end = at + rest.size();
  int number = 0;
  while (number < callsignToken) {
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
        if (number == callsignToken) contact.callsign = token;
        break;
    }
  }
  if (number == 0) return CabrilloParse::Empty;
  if (contact.mode == "PSK31") contact.mode = "PSK";
  return CabrilloParse::Contact;
}

}  // namespace quorvel
