#pragma once

#include <array>
#include <string_view>

namespace quorvel {

// The bands of ADIF's band table, by frequency, named as ADIF names them in
// upper case.
inline constexpr std::array<std::string_view, 33> kAdifBandNames = {
    "2190M", "630M", "560M", "160M", "80M",    "60M", "40M", "30M",   "20M",  "17M",  "15M",
    "12M",   "10M",  "8M",   "6M",   "5M",     "4M",  "2M",  "1.25M", "70CM", "33CM", "23CM",
    "13CM",  "9CM",  "6CM",  "3CM",  "1.25CM", "6MM", "4MM", "2.5MM", "2MM",  "1MM",  "SUBMM"};

// The band a list line's band text stands for, as an index into
// kAdifBandNames; -1 when it names none. The text may be a band's name
// with its unit or without it ("20M", "20", "70CM", and "70C" as the ADIF
// reader shortens it), or a frequency in MHz (14.025), kHz as Cabrillo
// writes it (14025, and 3500 rather than 3500 MHz), GHz with a G (10G), or a whole number of MHz that
// begins a band as paper logs write it (1 for 1.8, 24 for 24.89). A band
// name wins over a frequency: 10 is 10 m, not 10 MHz.
int adifBandIndex(std::string_view text);

}  // namespace quorvel
