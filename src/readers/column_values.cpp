#include "readers/column_values.h"

#include <array>

namespace quorvel {

namespace {
constexpr std::array<std::string_view, 6> kWholeBandTexts = {"1.8", "3.5", "3.6", "3.8", "10.1", "24.5"};
}

std::string_view normaliseBand(std::string_view band) {
  for (std::string_view whole : kWholeBandTexts) {
    if (band == whole) return band;
  }
  return band.substr(0, band.find('.'));
}

std::string_view normaliseMode(std::string_view mode) { return mode == "PSK31" ? std::string_view("PSK") : mode; }

}  // namespace quorvel
