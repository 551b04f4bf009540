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

}  // namespace

AdifProbe probeAdif(std::string_view start) {
  std::string upper;
  upperCaseInto(start, upper);
  if (contains(upper, "<EOH>")) return AdifProbe::WithHeader;
  if (contains(upper, "<EOR>") && beginsWithTag(start)) return AdifProbe::Headerless;
  return AdifProbe::NotAdif;
}

}  // namespace quorvel
