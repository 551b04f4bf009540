#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// One contact line of a REG1TEST log's [QSORecords] section:
//   250607;1405;G4ABC;1;59;001;59;012;;IO92AB;45;;N;;
// date YYMMDD, time HHMM (UTC), the worked call, the mode code, the
// reports and serial numbers, the exchange, the locator, the points and
// the flags.
struct EdiContact {
  std::string date;       // YYYYMMDD, as ADIF writes it
  std::string_view time;  // HHMM; empty when the line writes none
  std::string_view callsign;
  std::string_view mode;  // named from the mode code; empty for none
};

// Reads an upper-cased contact line into `contact`: false for a line that
// is no contact (a section mark, a line without a date of six digits or
// without a call).
bool parseEdiContact(std::string_view upperLine, EdiContact& contact);

// The band a header's "PBand=" value names ("144 MHz", "1,3 GHz",
// "10 GHz"), as an index into kBands; -1 for none.
int ediBandIndex(std::string_view pband);

// How the band of `index` is written in the band field: as a Cabrillo log
// of the same contest writes it (144, 1.2G), so that both logs give the
// same lines; below 50 MHz by its ADIF name; "" for no band.
std::string_view ediBandText(int index);

}  // namespace quorvel
