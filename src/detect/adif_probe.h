#pragma once

#include <cstddef>
#include <string_view>

namespace quorvel {

// How much of the start of a log the driver looks at before screening.
inline constexpr std::size_t kAdifProbeSize = 64 * 1024;

// What the start of a log says about ADIF, before any line is screened.
enum class AdifProbe {
  NotAdif,     // nothing: line screening decides
  WithHeader,  // holds "<EOH>": ADIF, whatever its first lines say
  Headerless,  // holds "<EOR>" and begins with "<" or holds a CALL tag: ADIF records, no header
};

// Looks at `start`, the first kAdifProbeSize bytes of a log (or all of a
// shorter one). Tags count in any letter case; white space before the
// first "<" is allowed. Many programs write the
// operator's callsign on an ADIF file's free-text first line, which line
// screening alone would take for the first data line of a column text log;
// a free-text line over records without a header is ADIF too, its records'
// tags bearing it out.
AdifProbe probeAdif(std::string_view start);

}  // namespace quorvel
