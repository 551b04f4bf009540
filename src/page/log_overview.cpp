#include "page/log_overview.h"

#include <algorithm>

#include "page/json_text.h"

namespace quorvel {

namespace {

using Counted = std::pair<std::string, std::int64_t>;

bool mostFirst(const Counted& a, const Counted& b) {
  return a.second != b.second ? a.second > b.second : a.first < b.first;
}

void appendPairs(std::string& out, const char* key, const std::vector<Counted>& counted) {
  out += std::string(out.size() > 1 ? "," : "") + "\"" + key + "\":[";
  for (std::size_t i = 0; i < counted.size(); ++i) {
    out += i == 0 ? "[" : ",[";
    appendJsonString(out, counted[i].first);
    out += "," + std::to_string(counted[i].second) + "]";
  }
  out += ']';
}

}  // namespace

void LogOverview::addContact(int band, std::string_view mode, std::string_view date, std::string_view callsign) {
  if (band >= 0) {
    ++bands_[static_cast<std::size_t>(band)];
  } else {
    ++otherBand_;
  }
  if (mode.empty()) {
    ++otherMode_;
  } else {
    ++modes_[std::string(mode)];
  }
  if (date.empty()) {
    ++unknownYear_;
  } else {
    ++years_[std::string(date.substr(0, 4))];
  }
  countCallsign(callsign);
}

void LogOverview::addLeftover(std::string_view callsign) {
  ++otherBand_;
  ++otherMode_;
  ++unknownYear_;
  countCallsign(callsign);
}

void LogOverview::countCallsign(std::string_view callsign) {
  if (!callsign.empty()) ++listCalls_[std::string(callsign)];
}

void LogOverview::endList() {
  for (auto& counted : listCalls_) mostWorked_.emplace_back(counted.first, counted.second);
  listCalls_.clear();
  const std::size_t kept = std::min(mostWorked_.size(), kMostWorked);
  std::partial_sort(mostWorked_.begin(), mostWorked_.begin() + static_cast<std::ptrdiff_t>(kept), mostWorked_.end(),
                    mostFirst);
  mostWorked_.resize(kept);
}

std::string LogOverview::json() const {
  std::vector<Counted> bands;
  for (std::size_t i = 0; i < bands_.size(); ++i) {
    if (bands_[i] > 0) bands.emplace_back(std::string(kAdifBandNames[i]), bands_[i]);
  }
  if (otherBand_ > 0) bands.emplace_back("other", otherBand_);
  std::vector<Counted> modes(modes_.begin(), modes_.end());
  if (otherMode_ > 0) modes.emplace_back("other", otherMode_);
  std::sort(modes.begin(), modes.end(), mostFirst);
  std::vector<Counted> years(years_.begin(), years_.end());
  if (unknownYear_ > 0) years.emplace_back("unknown", unknownYear_);
  std::string out = "{";
  appendPairs(out, "bands", bands);
  appendPairs(out, "modes", modes);
  appendPairs(out, "years", years);
  appendPairs(out, "calls", mostWorked_);
  return out + "}";
}

}  // namespace quorvel
