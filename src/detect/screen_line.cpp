#include "detect/screen_line.h"

#include <array>

#include "detect/recognisers.h"
#include "detect/space_tokens.h"

namespace quorvel {

namespace {

struct Markers {
  bool adif = false;
  bool cabrillo = false;
  bool heading = false;
};

// Whether `marker` stands at `i`; its first character is known to match.
bool at(std::string_view line, std::size_t i, std::string_view marker) {
  return line.size() - i >= marker.size() && line[i + 1] == marker[1] &&
         line.compare(i + 2, marker.size() - 2, marker.substr(2)) == 0;
}

constexpr std::array<bool, 256> markerStarts() {
  std::array<bool, 256> starts{};
  for (unsigned char c : std::string_view("A<QS\fPCTL")) starts[c] = true;
  return starts;
}
constexpr std::array<bool, 256> kMarkerStarts = markerStarts();

// Finds every marker in one pass over the line, looking closer only where
// a marker's first character stands: ADIF ("ADIF", "<EOH>", "QX7QX"),
// Cabrillo ("START-OF-LOG:"), and the page breaks and column headings of
// printed logs (a form feed, "PAGE", "CALL", "TRELVO", "LOGNAME").
Markers findMarkers(std::string_view line) {
  Markers found;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (!kMarkerStarts[static_cast<unsigned char>(line[i])]) continue;
    switch (line[i]) {
      case 'A': found.adif |= at(line, i, "ADIF"); break;
      case '<': found.adif |= at(line, i, "<EOH>"); break;
      case 'Q': found.adif |= at(line, i, "QX7QX"); break;
      case 'S': found.cabrillo |= at(line, i, "START-OF-LOG:"); break;
      case '\f': found.heading = true; break;  // a page break
      case 'P': found.heading |= at(line, i, "PAGE"); break;
      case 'C': found.heading |= at(line, i, "CALL"); break;
      case 'T': found.heading |= at(line, i, "TRELVO"); break;
      case 'L': found.heading |= at(line, i, "LOGNAME"); break;
      default: break;
    }
    if (found.adif) break;  // ADIF outranks everything else
  }
  return found;
}

}  // namespace

ScreenResult screenLine(std::string_view upperLine) {
  Markers markers = findMarkers(upperLine);
  if (markers.adif) return ScreenResult::Adif;
  if (markers.cabrillo) return ScreenResult::Cabrillo;
  if (markers.heading) return ScreenResult::Reject;
  SpaceTokens tokens(upperLine);
  std::string_view token;
  while (tokens.next(token)) {
    if (isCallsign(token)) return ScreenResult::Data;
  }
  return ScreenResult::Reject;
}

}  // namespace quorvel
