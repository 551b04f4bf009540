#include "radio/band_notation.h"

#include <charconv>
#include <cmath>
#include <string>

#include "base/ascii.h"

namespace quorvel {

namespace {

int namedBand(std::string_view name) {
  for (std::size_t i = 0; i < kAdifBandNames.size(); ++i) {
    if (kAdifBandNames[i] == name) return static_cast<int>(i);
  }
  return -1;
}

int bandAtMegahertz(double megahertz) {
  for (std::size_t i = 0; i < kBands.size(); ++i) {
    if (megahertz >= kBands[i].lower && megahertz <= kBands[i].upper) return static_cast<int>(i);
  }
  return -1;
}

// A number that a band's lower edge, in units of `scale` MHz, begins
// with: 1 (MHz) is 160 m and 24 is 12 m as paper logs write them, 1.2
// (GHz) is 23 cm as Cabrillo writes it.
int bandBegunBy(std::string_view number, double value, double scale) {
  const std::size_t point = number.find('.');
  const double shift = std::pow(10.0, point == std::string_view::npos ? 0 : number.size() - point - 1);
  if (value <= 0) return -1;
  for (std::size_t i = 0; i < kBands.size(); ++i) {
    if (std::fabs(std::floor(kBands[i].lower / scale * shift) / shift - value) < 1e-9) return static_cast<int>(i);
  }
  return -1;
}

// The last band below 300 MHz, where VHF ends.
constexpr std::size_t kLastVhfBand = 18;
static_assert(kAdifBandNames[kLastVhfBand] == "1.25M");

// A whole number that names a band both in kHz and in MHz, and in kHz an
// HF or VHF band, is a frequency in kHz as Cabrillo writes it: 3500 is
// the bottom of 80 m, not the top of 9 cm, and 10136 is 30 m. Microwave
// frequencies in MHz (10368, 2400) name no band in kHz, and ADIF's FREQ,
// in MHz, is written with its decimals (10104.09 is 3 cm).
int bandOfNumber(std::string_view number, double value) {
  if (int named = namedBand(std::string(number) + "M"); named >= 0) return named;
  const int inMegahertz = bandAtMegahertz(value);
  const int inKilohertz = bandAtMegahertz(value / 1000);
  const bool whole = number.find('.') == std::string_view::npos;
  if (inKilohertz >= 0 && (inMegahertz < 0 || (whole && inKilohertz <= static_cast<int>(kLastVhfBand)))) {
    return inKilohertz;
  }
  if (inMegahertz >= 0) return inMegahertz;
  return number.find('.') == std::string_view::npos && value >= 1 ? bandBegunBy(number, value, 1) : -1;
}

}  // namespace

int adifBandIndex(std::string_view text) {
  std::string upper;
  upperCaseInto(text, upper);
  if (upper == "SUB" || upper == "SUBMM") return namedBand("SUBMM");
  std::size_t digits = 0;
  while (digits < upper.size() && (isAsciiDigit(static_cast<unsigned char>(upper[digits])) || upper[digits] == '.'))
    ++digits;
  double value = 0;
  const auto parsed = std::from_chars(upper.data(), upper.data() + digits, value);
  if (digits == 0 || parsed.ec != std::errc() || parsed.ptr != upper.data() + digits) return -1;
  const std::string_view number = std::string_view(upper).substr(0, digits);
  const std::string_view unit = std::string_view(upper).substr(digits);
  if (unit.empty()) return bandOfNumber(number, value);
  if (isMetreUnit(unit)) return namedBand(upper);
  if (unit == "C") return namedBand(upper + "M");
  if (unit == "G" || unit == "GHZ") {
    const int inside = bandAtMegahertz(value * 1000);
    return inside >= 0 ? inside : bandBegunBy(number, value, 1000);
  }
  if (unit == "MHZ") return bandAtMegahertz(value);
  if (unit == "KHZ") return bandAtMegahertz(value / 1000);
  return -1;
}

}  // namespace quorvel
