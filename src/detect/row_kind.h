#pragma once

#include <string_view>
#include <vector>

#include "detect/text_row.h"

namespace quorvel {

// What a row of a text log is.
enum class RowKind {
  Blank,     // nothing but blanks
  Adif,      // holds <EOH>: an ADIF header's end
  Cabrillo,  // begins with START-OF-LOG:
  Heading,   // a header row naming two roles or more, and holding no callsign;
             // or a printed log's page break (a form feed, or Page 3)
  Ruler,     // dashes, equal signs or colons under a header (---- ----, |---|:--|)
  Title,     // a "key;value" line above a CSV header (Station;G4ZZZ)
  Data,      // a contact's row
  Other,     // anything else without a callsign
};

// The kind of `row`, upper-cased, whose fields `separator` cuts as
// `fields`. Data is, between blanks, a row with a word shaped like a
// callsign (isCallsign, holding none of the other separators nor markup:
// VE3AAA,27/06/2025 is a row of CSV); in CSV and its kin, a row of three
// fields or more, one of them a callsign, or, where `callsignColumn` says
// which column the log's callsigns stand in, one whose field there holds a
// callsign the log could mean (starting with a letter or digit, and no
// heading's name). A row without one is a mark, a page break, a ruler, a
// heading (told only where `callsignColumn` is not known) or other. A word
// inside a value (Callum, Page AZ, homepage) never makes a row a heading;
// the word ADIF alone is no mark. Whether a data row above the data is a
// title is judged from the rows below it (see TextLayout).
RowKind rowKind(std::string_view row, const std::vector<RowField>& fields, char separator, int callsignColumn = -1);

}  // namespace quorvel
