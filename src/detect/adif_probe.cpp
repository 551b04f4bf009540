#include "detect/adif_probe.h"

#include <string>

#include "base/ascii.h"

namespace quorvel {

namespace {

bool beginsWithTag(std::string_view start) {
  for (char c : start) {
    if (!isScanSpace(static_cast<unsigned char>(c))) return c == '<';
  }
  return false;
}

// Whether an upper-cased text holds a CALL tag with its length, <CALL:5>.
bool holdsCallTag(std::string_view upper) {
  constexpr std::string_view kCall = "<CALL:";
  for (std::size_t at = upper.find(kCall); at != std::string_view::npos; at = upper.find(kCall, at + 1)) {
    if (at + kCall.size() < upper.size() && isAsciiDigit(static_cast<unsigned char>(upper[at + kCall.size()]))) {
      return true;
    }
  }
  return false;
}

}  // namespace

AdifProbe probeAdif(std::string_view start) {
  std::string upper;
  upperCaseInto(start, upper);
  if (contains(upper, "<EOH>")) return AdifProbe::WithHeader;
  if (contains(upper, "<EOR>") && (beginsWithTag(start) || holdsCallTag(upper))) return AdifProbe::Headerless;
  return AdifProbe::NotAdif;
}

}  // namespace quorvel
