#pragma once

#include <optional>
#include <string_view>

namespace quorvel {

// What line screening makes of one line of a log.
enum class ScreenResult {
  Reject,    // blank, a heading or page break, or no callsign-shaped token
  Adif,      // marks an ADIF log ("ADIF", "<EOH>" or "QX7QX")
  Cabrillo,  // marks a Cabrillo log ("START-OF-LOG:")
  Data,      // a data line of a column text log
};

// Screens one line, given upper-cased and without its line end. Tests in
// order: the ADIF markers, the Cabrillo marker, then page breaks and heading
// words (a form feed, "PAGE", "CALL", "TRELVO", "LOGNAME": a line holding
// one is rejected even with a callsign on it), then accepts the line as data
// at its first blank-separated token that isCallsign() takes.
ScreenResult screenLine(std::string_view upperLine);

// The part of screening that looks for markers only: Adif, Cabrillo, or
// Reject for a page break or heading word; nothing when the line holds
// none, and its tokens decide.
std::optional<ScreenResult> screenMarkers(std::string_view upperLine);

}  // namespace quorvel
