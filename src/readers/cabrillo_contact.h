#pragma once

#include <string_view>

#include "readers/contest_layout.h"

namespace quorvel {

// The contest layout a Cabrillo contest name selects: the first of
// RSGB-IOTA, ARRL-VHF-SEP, CQ-WW-RTTY, ARRL-SS-CW, IARU, AP-SPRINT, ARRL-10,
// ARRL-160, ARRL-DX and CQ-WPX found anywhere in the name, else Standard.
ContestLayout contestLayoutFor(std::string_view contestName);

// The values of one "QSO:" line. A value the line does not supply is a
// field of 20 blanks.
struct CabrilloContact {
  std::string_view band, mode, date, time, callsign;
};

enum class CabrilloParse {
  NotContact,  // the line holds no "QSO:"
  Empty,       // nothing but white space follows "QSO:"
  Contact,     // `contact` holds the line's values
};

// Reads one upper-cased line from its first "QSO:" on. The first four
// tokens are band, mode, date and time; the callsign is the 8th token
// (Standard and most layouts), the 9th (RSGB-IOTA, CQ-WW-RTTY), the 7th
// (ARRL-VHF-SEP) or the 10th (ARRL-SS-CW). Tokens are separated by any white
// space. A mode PSK31 reads as PSK. The values view `upperLine`.
CabrilloParse parseCabrilloQso(std::string_view upperLine, ContestLayout layout, CabrilloContact& contact);

}  // namespace quorvel
