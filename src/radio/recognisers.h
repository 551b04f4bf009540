#pragma once

#include <cstddef>
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

// The bytes of a slashed zero at `at` of `text`: many operators type Ø or
// ø for the digit zero in a callsign (DLØ1ABC, KØXYZ). 2 for either in
// UTF-8, 1 in Latin-1 or Windows-1252, 0 for any other byte.
inline std::size_t slashedZeroAt(std::string_view text, std::size_t at) {
  const auto c = static_cast<unsigned char>(text[at]);
  if (c == 0xD8 || c == 0xF8) return 1;
  if (c != 0xC3 || at + 1 >= text.size()) return 0;
  const auto next = static_cast<unsigned char>(text[at + 1]);
  return next == 0x98 || next == 0xB8 ? 2 : 0;
}

// Shaped like a callsign (a slashed zero read as the digit): at least 3 characters; letters and digits only
// unless a "/" stands anywhere in it; at least one letter and one digit; and
// at most 3 letters before the first digit or "/".
bool isCallsign(std::string_view token);

// Shaped like a station's callsign as contest logs write them, which is
// stricter than isCallsign: a prefix of one or two letters, of a digit and
// one or two letters, or of a letter and a digit; then one to four digits;
// then one to four letters (K1ABC, 9A1A, 2E0ABC, GB50TG). Portable forms
// pass, parts joined by "/" of which one is such a callsign (I2/K3LR,
// KA2CKI/R, VP2E/W1AW). Exchanges never do: 599, 5NN, 14, 10A, MDC,
// EU-005, TX, ------. Letters in upper case.
bool looksLikeCallsign(std::string_view token);

// A Maidenhead locator: two letters A-R, two digits, and two letters A-X
// after them or not (FN31, FN21AB). Letters in upper case.
bool isLocator(std::string_view token);

}  // namespace quorvel
