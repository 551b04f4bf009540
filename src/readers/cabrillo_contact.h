#pragma once

#include <string_view>

#include "readers/contest_layout.h"

namespace quorvel {

// The contest layout a Cabrillo contest name selects: the first of the ten
// first contests (RSGB-IOTA, ARRL-VHF-SEP, CQ-WW-RTTY, ARRL-SS-CW, IARU,
// AP-SPRINT, ARRL-10, ARRL-160, ARRL-DX, CQ-WPX) found anywhere in the name;
// else the contest the name is, or the family it belongs to, in a table of
// contests and their QSO templates; else the 8th token.
ContestLayout contestLayoutFor(std::string_view contestName);

// The values of one "QSO:" line. A value the line does not supply is a
// field of 20 blanks.
struct CabrilloContact {
  std::string_view band, mode, date, time, callsign;
};

// Whether an upper-cased line is a contact line: "QSO:" or "X-QSO:" with
// nothing but blanks before it. A header line that mentions "QSO:" (a
// soapbox, a remark) is none.
bool isContactLine(std::string_view upperLine);

enum class CabrilloParse {
  NotContact,  // the line is no contact line: it does not start, after
               // blanks, with "QSO:" or "X-QSO:" (a remark may hold "QSO:")
  Empty,       // nothing but white space follows "QSO:"
  Contact,     // `contact` holds the line's values
};

// Reads one upper-cased contact line from its "QSO:" on. The first four
// tokens are band, mode, date and time; the worked callsign is the token
// `layout` names: as it stands for the ten first contests; for the others
// when it looks like a callsign (and for an unnamed contest, is not the sent
// call and no locator), else the first token after the sent call that
// looks like one, else that token as it stands. Tokens are separated by any
// white space. The values view `upperLine`.
CabrilloParse parseCabrilloQso(std::string_view upperLine, const ContestLayout& layout, CabrilloContact& contact);

}  // namespace quorvel
