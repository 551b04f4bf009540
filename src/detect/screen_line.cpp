#include "detect/screen_line.h"

#include <array>
#include <cstdint>

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

// One bit for each pair of bytes that the first two, or the second and
// third, characters of a marker make. Every marker but the form feed has
// at least four.
constexpr std::array<std::uint64_t, 1024> markerPairs() {
  std::array<std::uint64_t, 1024> bits{};
  for (const Marker& marker : kMarkers) {
    if (marker.text.size() < 3) continue;
    for (std::size_t at = 0; at < 2; ++at) {
      unsigned pair = static_cast<unsigned>(static_cast<unsigned char>(marker.text[at])) << 8 |
                      static_cast<unsigned char>(marker.text[at + 1]);
      bits[pair / 64] |= std::uint64_t{1} << (pair % 64);
    }
  }
  return bits;
}
constexpr std::array<std::uint64_t, 1024> kMarkerPairs = markerPairs();

// Whether the marker that begins with the character at `i` stands there,
// and if so records its kind; true when it is an ADIF marker.
bool noteMarkerAt(std::string_view line, std::size_t i, Markers& found) {
  int index = kMarkerByInitial[static_cast<unsigned char>(line[i])];
  if (index < 0) return false;
  const Marker& marker = kMarkers[static_cast<std::size_t>(index)];
  if (line.compare(i, marker.text.size(), marker.text) != 0) return false;
  switch (marker.kind) {
    case MarkerKind::Adif: found.adif = true; return true;
    case MarkerKind::Cabrillo: found.cabrillo = true; break;
    case MarkerKind::Heading: found.heading = true; break;
  }
  return false;
}

// Finds the markers of a line. Ordinary text holds many of the markers'
// first characters but few of their pairs, so the line is read a pair of
// bytes at a time: a marker starting at an even place shows its first
// pair there, one starting at an odd place its second pair just after,
// and only a pair of a marker leads to a closer look.
Markers findMarkers(std::string_view line) {
  Markers found;
  const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
  for (std::size_t i = 0; i + 1 < line.size(); i += 2) {
    unsigned pair = static_cast<unsigned>(bytes[i]) << 8 | bytes[i + 1];
    if ((kMarkerPairs[pair / 64] >> (pair % 64) & 1) == 0) continue;
    // ADIF outranks everything else.
    if ((i > 0 && noteMarkerAt(line, i - 1, found)) || noteMarkerAt(line, i, found)) return found;
  }
  found.heading |= line.find('\f') != std::string_view::npos;  // a page break
  return found;
}

}  // namespace

std::optional<ScreenResult> screenMarkers(std::string_view upperLine) {
  Markers markers = findMarkers(upperLine);
  if (markers.adif) return ScreenResult::Adif;
  if (markers.cabrillo) return ScreenResult::Cabrillo;
  if (markers.heading) return ScreenResult::Reject;
  return std::nullopt;
}

ScreenResult screenLine(std::string_view upperLine) {
  if (std::optional<ScreenResult> marked = screenMarkers(upperLine)) return *marked;
  SpaceTokens tokens(upperLine);
  std::string_view token;
  while (tokens.next(token)) {
    if (isCallsign(token)) return ScreenResult::Data;
  }
  return ScreenResult::Reject;
}

}  // namespace quorvel
