#pragma once

#include <string_view>

namespace quorvel {

// Yes-or-no tests on one token of a log line. Pure: no state, no locale, no
// allocation. Tokens normally come upper-cased and without blanks, but any
// text is allowed.

// A band value: 1 to 7 characters holding one of the band markers ("7",
// "14", "SAT", "1.", ...) anywhere. So 20M, 70CM, 14.025 and also 579 pass;
// 14.02500 (8 characters) and 432 do not.
bool isBand(std::string_view token);

// One of the known mode names, whole and case-sensitive: SSB, J3E, PHO,
// RTTY, F1B, FSK, CW, A1A, FM, PSK, PSK31.
bool isMode(std::string_view token);

// Shaped like a callsign: at least 3 characters; letters and digits only
// unless a "/" stands anywhere in it; at least one letter and one digit; and
// at most 3 letters before the first digit or "/".
bool isCallsign(std::string_view token);

}  // namespace quorvel
