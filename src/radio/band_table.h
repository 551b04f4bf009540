#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace quorvel {

// One amateur band, and how logs write it.
struct Band {
  std::string_view name;  // as ADIF names it, in upper case: "20M"
  double lower, upper;    // its edges in MHz, both inside it
  // Its metres as a contest logger writes them glued to a mode ("20CW"),
  // or "".
  std::string_view gluedMetres;
  // Texts that make a text log's token a band where they stand in it: the
  // metres, the whole MHz ("14") or a band's MHz up to its point ("3.").
  std::array<std::string_view, 3> markers;
  // Frequencies a text log writes as the band itself, kept whole where
  // other band texts are cut at their decimal point ("3.5" stays 3.5).
  std::array<std::string_view, 3> wholeTexts;
  // The band as a Cabrillo log of a VHF and up contest writes it in its
  // QSO: lines (144, 432, 1.2G), or "" below 50 MHz, where it writes the
  // frequency in kHz.
  std::string_view cabrilloText;
};

// Every band of ADIF's band table, in the order of their frequencies: the
// one table of bands, from which each use takes what it needs.
inline constexpr std::array<Band, 33> kBands = {{
    {"2190M", 0.1357, 0.1378, "", {}, {}, ""},
    {"630M", 0.472, 0.479, "", {}, {}, ""},
    {"560M", 0.501, 0.504, "", {}, {}, ""},
    {"160M", 1.8, 2.0, "160", {"160", "1."}, {"1.8"}, ""},
    {"80M", 3.5, 4.0, "80", {"80", "75", "3."}, {"3.5", "3.6", "3.8"}, ""},
    {"60M", 5.06, 5.45, "60", {}, {}, ""},
    {"40M", 7.0, 7.3, "40", {"40", "7"}, {}, ""},
    {"30M", 10.1, 10.15, "30", {"30"}, {"10.1"}, ""},
    {"20M", 14.0, 14.35, "20", {"20", "14"}, {}, ""},
    {"17M", 18.068, 18.168, "17", {"17", "18"}, {}, ""},
    {"15M", 21.0, 21.45, "15", {"15", "21"}, {}, ""},
    {"12M", 24.89, 24.99, "12", {"12", "24"}, {"24.5"}, ""},
    {"10M", 28.0, 29.7, "10", {"10", "28"}, {}, ""},
    {"8M", 40.0, 45.0, "", {}, {}, ""},
    {"6M", 50.0, 54.0, "6", {"50"}, {}, "50"},
    {"5M", 54.000001, 69.9, "", {}, {}, ""},
    {"4M", 70.0, 71.0, "4", {"70"}, {}, "70"},
    {"2M", 144.0, 148.0, "2", {"144"}, {}, "144"},
    {"1.25M", 222.0, 225.0, "", {}, {}, "222"},
    {"70CM", 420.0, 450.0, "", {}, {}, "432"},
    {"33CM", 902.0, 928.0, "", {}, {}, "902"},
    {"23CM", 1240.0, 1300.0, "", {}, {}, "1.2G"},
    {"13CM", 2300.0, 2450.0, "", {}, {}, "2.3G"},
    {"9CM", 3300.0, 3500.0, "", {}, {}, "3.4G"},
    {"6CM", 5650.0, 5925.0, "", {}, {}, "5.7G"},
    {"3CM", 10000.0, 10500.0, "", {}, {}, "10G"},
    {"1.25CM", 24000.0, 24250.0, "", {}, {}, "24G"},
    {"6MM", 47000.0, 47200.0, "", {}, {}, "47G"},
    {"4MM", 75500.0, 81000.0, "", {}, {}, "75G"},
    {"2.5MM", 119980.0, 123000.0, "", {}, {}, "122G"},
    {"2MM", 134000.0, 149000.0, "", {}, {}, "134G"},
    {"1MM", 241000.0, 250000.0, "", {}, {}, "241G"},
    {"SUBMM", 300000.0, 7500000.0, "", {}, {}, ""},
}};

// How many texts `textsOf` gives over every band, empty ones left out.
template <class TextsOf>
constexpr std::size_t countBandTexts(TextsOf textsOf) {
  std::size_t count = 0;
  for (const Band& band : kBands) {
    for (std::string_view text : textsOf(band)) count += !text.empty();
  }
  return count;
}

// The texts `textsOf` gives over every band, empty ones left out, as one
// list made when the program is built: Count is countBandTexts(textsOf).
template <std::size_t Count, class TextsOf>
constexpr std::array<std::string_view, Count> bandTexts(TextsOf textsOf) {
  std::array<std::string_view, Count> texts{};
  std::size_t at = 0;
  for (const Band& band : kBands) {
    for (std::string_view text : textsOf(band)) {
      if (!text.empty()) texts[at++] = text;
    }
  }
  return texts;
}

}  // namespace quorvel
