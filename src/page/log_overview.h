#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "radio/band_notation.h"

namespace quorvel {

// The whole log counted for the lookup page's overview: contacts per band
// (ADIF's bands, then "other" for any band text the table lacks and for
// lines that could not be split), per mode, per year, and the most-worked
// callsigns. Lists come one after another, each sorted, and a callsign
// stands in one list only, so callsigns are counted a list at a time.
class LogOverview {
 public:
  static constexpr std::size_t kMostWorked = 20;

  // A contact whose line was split: `band` is an index into
  // kAdifBandNames or -1, `date` sortable (YYYYMMDD) or empty.
  void addContact(int band, std::string_view mode, std::string_view date, std::string_view callsign);
  // A line that could not be split.
  void addLeftover(std::string_view callsign);
  // Ends a list: its callsigns join the most-worked.
  void endList();

  // The counts as a JSON object of arrays of [name, count] pairs: "bands"
  // by frequency with "other" last, "modes" most first ("other" among
  // them when lines could not be split or had no mode), "years" in order
  // ("unknown" last), "calls" the most-worked, most first.
  std::string json() const;

 private:
  using Counted = std::pair<std::string, std::int64_t>;
  void countCallsign(std::string_view callsign);

  std::array<std::int64_t, kAdifBandNames.size()> bands_{};
  std::int64_t otherBand_ = 0;
  std::unordered_map<std::string, std::int64_t> modes_;
  std::int64_t otherMode_ = 0;
  std::map<std::string, std::int64_t> years_;
  std::int64_t unknownYear_ = 0;
  std::unordered_map<std::string, std::int64_t> listCalls_;
  std::vector<Counted> mostWorked_;
};

}  // namespace quorvel
