// The recognisers, line screening, column assignment, the ADIF probe and the
// pure parsing pieces of the readers on arbitrary text.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "detect/ascii.h"
#include "detect/assign_column.h"
#include "detect/recognisers.h"
#include "detect/screen_line.h"
#include "detect/space_tokens.h"
#include "driver/adif_probe.h"
#include "readers/adif_tags.h"
#include "readers/cabrillo_contact.h"
#include "readers/column_values.h"

namespace {

void check(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvel;
  std::string_view text(reinterpret_cast<const char*>(data), size);

  if (isBand(text)) check(!text.empty() && text.size() <= 7, "band length");
  if (isMode(text)) check(text.size() >= 2 && text.size() <= 5, "mode length");
  if (isCallsign(text)) check(text.size() >= 3, "callsign length");

  std::string upper;
  upperCaseInto(text, upper);
  if (screenLine(upper) == ScreenResult::Data)
    check(upper.find_first_not_of(' ') != std::string::npos, "data line without token");

  ColumnMap columns;
  SpaceTokens tokens(upper);
  std::string_view token;
  for (int column = 0; tokens.next(token); ++column) {
    check(!token.empty() && token.find(' ') == std::string_view::npos, "token shape");
    (void)assignColumn(columns, token, column);
  }

  (void)probeAdif(text);
  std::string_view band = normaliseBand(text);
  check(normaliseBand(band) == band, "band normalisation settles");

  AdifTagPositions positions = findAdifTags(text);
  for (std::size_t tag = 0; tag < kAdifTagCount; ++tag) {
    std::size_t at = positions.first[tag];
    if (at == std::string_view::npos) continue;
    check(at < text.size() && text[at] == '<', "tag position");
    AdifTagValue value = readAdifTag(text, at, adifTagName(static_cast<AdifTag>(tag)).size());
    std::string_view field = "OLD";
    if (keepAdifValue(static_cast<AdifTag>(tag), value, field)) {
      check(field == "PSK" || field.size() <= text.size(), "kept value");
    }
  }

  for (int layout = 0; layout <= 10; ++layout) {
    CabrilloContact contact;
    if (parseCabrilloQso(upper, static_cast<ContestLayout>(layout), contact) == CabrilloParse::Contact) {
      check(!contact.callsign.empty(), "callsign field");
    }
  }
  return 0;
}
