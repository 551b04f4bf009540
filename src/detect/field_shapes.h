#pragma once

#include <cstddef>
#include <string_view>

namespace quorvel {

// Shapes of the values in the text logs that today's programs write, beside
// the recognisers of hand-typed logs (recognisers.h). Pure, like those; the
// tokens come upper-cased.

// A time written with colons: H:MM, HH:MM or HH:MM:SS (18:59:30), or on
// a 12-hour clock with AM or PM after it, with blanks between or none
// (1:05 PM, 12:00:00AM).
bool isColonTime(std::string_view token);

// AM or PM, which after a time written with colons belongs to that time.
bool isMeridiem(std::string_view token);

// A date as ADIF writes it, YYYYMMDD (20240309), or as much of Europe
// does, DD.MM.YYYY (09.03.2024).
bool isLongDate(std::string_view token);

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

// The four digits HHMM of a colon time (18:59:30 gives 1859, 9:32 gives
// 0932, 1:05 PM gives 1305, 12:00 AM 0000), written to `out`; any other
// time is given back as it stands.
std::string_view fourDigitTime(std::string_view time, char (&out)[4]);

}  // namespace quorvel
