#include "radio/field_shapes.h"

#include <algorithm>
#include <array>

#include "base/ascii.h"
#include "radio/band_table.h"
#include "radio/recognisers.h"

namespace quorvel {

namespace {

// ADIF's modes and the submodes in everyday use, and the short forms of
// contest loggers, beyond the names isMode() knows.
constexpr std::array<std::string_view, 64> kAdifModes = {
    "AM",     "ARDOP",  "ATV",     "C4FM",  "CHIP",   "CLO",    "CONTESTI", "DATA",   "DIG",   "DIGITALVOICE", "DMR",
    "DOMINO", "DSTAR",  "DYNAMIC", "FAX",   "FREEDV", "FSK441", "FST4",     "FST4W",  "FT4",   "FT8",          "HELL",
    "ISCAT",  "JS8",    "JT4",     "JT65",  "JT6M",   "JT9",    "JT44",     "LSB",    "M17",   "MFSK",         "MSK144",
    "MT63",   "OLIVIA", "OPERA",   "PAC",   "PAX",    "PH",     "PHONE",    "PKT",    "PSK63", "PSK125",       "PSK2K",
    "Q15",    "Q65",    "QPSK31",  "QRA64", "ROS",    "RY",     "RTTYM",    "SSTV",   "T10",   "THOR",         "THRB",
    "TOR",    "USB",    "V4",      "VARA",  "VOI",    "WINMOR", "WSPR",     "BPSK31", "FSQ",
};

// The bands a contest logger writes before a glued mode, in metres.
constexpr auto gluedMetresOf = [](const Band& band) { return std::array{band.gluedMetres}; };
constexpr auto kGluedBands = bandTexts<countBandTexts(gluedMetresOf)>(gluedMetresOf);

}  // namespace

bool isFrequency(std::string_view token) {
  const std::size_t dot = token.find('.');
  return dot != std::string_view::npos && allDigits(token.substr(0, dot)) && allDigits(token.substr(dot + 1));
}

bool isModeName(std::string_view token) {
  return isMode(token) || std::find(kAdifModes.begin(), kAdifModes.end(), token) != kAdifModes.end();
}

std::size_t gluedBandLength(std::string_view token) {
  std::size_t length = 0;
  while (length < token.size() && isAsciiDigit(static_cast<unsigned char>(token[length]))) ++length;
  if (length == token.size()) return 0;
  const std::string_view band = token.substr(0, length);
  if (std::find(kGluedBands.begin(), kGluedBands.end(), band) == kGluedBands.end()) return 0;
  return isModeName(token.substr(length)) ? length : 0;
}

}  // namespace quorvel
