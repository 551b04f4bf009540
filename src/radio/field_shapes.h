#pragma once

#include <cstddef>
#include <string_view>

namespace quorvel {

// Shapes of the values in the text logs that today's programs write, beside
// the recognisers of hand-typed logs (recognisers.h); dates and times have
// a grammar of their own (date_time.h). Pure, like those; the tokens come
// upper-cased.

// A frequency in MHz or kHz of any length: digits, a full stop, digits
// (28.076249, 14045.0).
bool isFrequency(std::string_view token);

// A mode: one of the names isMode() knows, or a mode or submode name of
// ADIF (FT8, FT4, JS8, MFSK, Q65, USB, DIGITALVOICE, ...), or a contest
// logger's short form (DIG, PH, RY).
bool isModeName(std::string_view token);

// For a band and a mode written as one token, as contest loggers do (40CW,
// 160CW, 20SSB, 15DIG): the length of the band part; 0 for any other token.
std::size_t gluedBandLength(std::string_view token);

}  // namespace quorvel
