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

enum class MarkerKind { Adif, Cabrillo, Heading };

struct Marker {
  std::string_view text;
  MarkerKind kind;
};

// ADIF ("ADIF", "<EOH>", "QX7QX"), Cabrillo ("START-OF-LOG:"), and the page
// breaks and column headings of printed logs (a form feed, "PAGE", "CALL",
// "TRELVO", "LOGNAME"). No two begin with the same character.
constexpr std::array<Marker, 9> kMarkers = {{
    {"ADIF", MarkerKind::Adif},
    {"<EOH>", MarkerKind::Adif},
    {"QX7QX", MarkerKind::Adif},
    {"START-OF-LOG:", MarkerKind::Cabrillo},
    {"\f", MarkerKind::Heading},
    {"PAGE", MarkerKind::Heading},
    {"CALL", MarkerKind::Heading},
    {"TRELVO", MarkerKind::Heading},
    {"LOGNAME", MarkerKind::Heading},
}};

// For each byte, the marker that begins with it, or -1.
constexpr std::array<signed char, 256> markerByInitial() {
  std::array<signed char, 256> table{};
  for (auto& entry : table) entry = -1;
  for (std::size_t i = 0; i < kMarkers.size(); ++i) {
    table[static_cast<unsigned char>(kMarkers[i].text[0])] = static_cast<signed char>(i);
  }
  return table;
}
constexpr std::array<signed char, 256> kMarkerByInitial = markerByInitial();

// Finds every marker in one pass over the line. Where a marker's first
// character stands, its second is checked before anything else: ordinary
// text has many of the first characters and few of the pairs.
Markers findMarkers(std::string_view line) {
  Markers found;
  const std::size_t size = line.size();
  for (std::size_t i = 0; i < size; ++i) {
    int index = kMarkerByInitial[static_cast<unsigned char>(line[i])];
    if (index < 0) continue;
    const Marker& marker = kMarkers[static_cast<std::size_t>(index)];
    std::string_view text = marker.text;
    if (text.size() > 1 && (size - i < text.size() || line[i + 1] != text[1])) continue;
    if (line.compare(i + 1, text.size() - 1, text.substr(1)) != 0) continue;
    switch (marker.kind) {
      case MarkerKind::Adif: found.adif = true; return found;  // ADIF outranks everything else
      case MarkerKind::Cabrillo: found.cabrillo = true; break;
      case MarkerKind::Heading: found.heading = true; break;
    }
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
