// The recognisers, line screening, column assignment, the ADIF probe and the
// pure parsing pieces of the readers on arbitrary text, under the sanitizers.
#include <algorithm>

#include "base/ascii.h"
#include "base/bytes.h"
#include "detect/adif_probe.h"
#include "detect/assign_column.h"
#include "detect/row_kind.h"
#include "detect/space_tokens.h"
#include "detect/text_layout.h"
#include "detect/text_row.h"
#include "fuzzing.h"
#include "page/json_text.h"
#include "radio/band_notation.h"
#include "radio/date_time.h"
#include "radio/recognisers.h"
#include "readers/adif_tags.h"
#include "readers/cabrillo_contact.h"
#include "readers/column_values.h"
#include "record/contact_date.h"
#include "record/record_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvel;
  std::string padded(reinterpret_cast<const char*>(data), size), upper;
  padded.append(kReadPadding, '<');  // as a line reader pads its lines
  std::string_view text(padded.data(), size);
  upperCaseInto(text, upper);
  (void)isCallsign(text), (void)isBand(text), (void)isMode(text);
  std::vector<RowField> fields;
  for (char separator : {' ', ',', '|'}) {
    cutRow(upper, separator, fields);
    for (const RowField& field : fields) check(upper.compare(field.begin, field.text.size(), field.text) == 0, "field");
    check(rowKind(upper, fields, separator) != RowKind::Data || !fields.empty(), "a data row without a field");
  }
  std::vector<std::string_view> tokens;
  SpaceTokens split(upper);
  for (std::string_view token; split.next(token);) tokens.push_back(token);
  std::vector<ColumnDecision> decisions;
  (void)assignColumns(tokens, {}, {}, decisions);
  (void)judgeTextLayout(text);
  std::string json;
  JsonTextWriter page(json);
  page.write(text);
  page.finish();
  check(std::none_of(json.begin(), json.end(), [](char c) { return c == '<' || static_cast<unsigned char>(c) < 0x20; }),
        "a list on the page is JSON text");
  (void)probeAdif(text);
  check(normaliseBand(normaliseBand(text)) == normaliseBand(text), "band normalisation settles");
  AdifTagPositions positions = findAdifTags(text);
  for (std::size_t i = 0; i < kAdifTagCount; ++i) {
    if (positions.first[i] == std::string_view::npos) continue;
    std::string_view field = "OLD";
    const char* old = field.data();
    if (keepAdifValue(AdifTag(i), readAdifTag(text, positions.first[i], AdifTag(i)), field) && field != "PSK") {
      check(field.data() == old || (field.data() >= text.data() && field.end() <= text.end()), "kept value views");
    }
  }
  CabrilloContact contact;
  for (int token = 1; token <= 12; ++token) {
    (void)parseCabrilloQso(upper, ContestLayout{token, token % 2 == 0, token % 3 == 0}, contact);
  }
  check(!looksLikeCallsign(text) || !isLocator(text) || text.size() == 6, "a callsign-shaped locator has 6 characters");
  // Read back as a list line of every layout: fields are pieces of it.
  for (int switches = 0; switches < 8; ++switches) {
    const RecordLayout layout = chooseLayout(switches & 4 ? LayoutSet::Narrow : LayoutSet::WideWithComment,
                                             {(switches & 1) != 0, (switches & 2) != 0});
    if (std::optional<RecordFields> fields = parseRecordLine(text, layout)) {
      for (std::string_view field : {fields->date, fields->time, fields->band, fields->mode, fields->callsign})
        check(field.empty() || (field.data() >= text.data() && field.end() <= text.end()), "fields view the line");
      check(!fields->callsign.empty(), "a split line has a callsign");
    }
    check(callsignStart(text, layout) <= text.size(), "the callsign within the line");
  }
  const int band = adifBandIndex(text);
  check(band >= -1 && band < static_cast<int>(kAdifBandNames.size()), "a band of the table");
  const std::string date = sortableDate(text);
  check(date.empty() || (date.size() == 8 && sortableDate(date) == date), "a date read settles");
  const DateTimeRead read = readDateTime(text);
  char iso[10];
  check(!read.date || readDate(isoDate(read.date->date, iso))->date == read.date->date, "a date read back");
  if (const std::optional<UtcDateTime> utc = inUtc(read)) {
    check(utc->time.hours >= 0 && utc->time.hours < 24 && readDate(isoDate(utc->date, iso)), "a time in UTC");
  }
  return 0;
}
