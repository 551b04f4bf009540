#pragma once

// How logs of every kind write a band: its name with its unit or without,
// a frequency in MHz, kHz or GHz, the whole number a paper log keeps. The
// ADIF, ADX, Cabrillo, REG1TEST and text readers, the lists' -unique and
// the lookup page all read a band's text here.

#include <array>
#include <string_view>

#include "radio/band_table.h"

namespace quorvel {

// The names of the bands of ADIF's band table, by frequency, in upper case.
inline constexpr std::array<std::string_view, kBands.size()> kAdifBandNames = [] {
  std::array<std::string_view, kBands.size()> names{};
  for (std::size_t i = 0; i < kBands.size(); ++i) names[i] = kBands[i].name;
  return names;
}();

// The units a band's name carries after its number (70CM, 6MM, 20M, and
// 10G as Cabrillo writes GHz), the longer first where two end alike.
inline constexpr std::array<std::string_view, 4> kBandUnits = {"CM", "MM", "M", "G"};

// Whether `unit` is the unit of a band's name in metres: M, CM or MM.
constexpr bool isMetreUnit(std::string_view unit) { return unit == "M" || unit == "CM" || unit == "MM"; }

// The band a list line's band text stands for, as an index into
// kAdifBandNames; -1 when it names none. The text may be a band's name
// with its unit or without it ("20M", "20", "70CM", and "70C" as the ADIF
// reader shortens it), or a frequency in MHz (14.025), kHz as Cabrillo
// writes it (14025, and 3500 rather than 3500 MHz), GHz with a G (10G), or a whole number of MHz that
// begins a band as paper logs write it (1 for 1.8, 24 for 24.89). A band
// name wins over a frequency: 10 is 10 m, not 10 MHz.
int adifBandIndex(std::string_view text);

}  // namespace quorvel
