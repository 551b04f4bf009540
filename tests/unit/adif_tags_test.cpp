#include "readers/adif_tags.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvel {
namespace {

constexpr std::size_t npos = std::string_view::npos;

// Reads `tag` from `line` the way the reader does: first occurrence, exact
// name.
AdifTagValue read(std::string_view line, AdifTag tag) {
  AdifTagPositions positions = findAdifTags(line);
  std::size_t at = positions.of(tag);
  EXPECT_NE(at, npos) << line;
  if (at == npos) return {};
  return readAdifTag(line, at, adifTagName(tag).size());
}

TEST(FindAdifTags, FirstExactOccurrenceBeforeTheEndOfRecord) {
  std::string_view line = "<QSO_DATE_OFF:8>20240102 <QSO_DATE:8>20240101 <CALL:4>K1AB <CALL:4>W1XY <EOR> <BAND:3>20M";
  AdifTagPositions positions = findAdifTags(line);
  EXPECT_EQ(positions.of(AdifTag::QsoDate), line.find("<QSO_DATE:"));
  EXPECT_EQ(positions.of(AdifTag::Call), line.find("<CALL:"));
  EXPECT_EQ(positions.endOfRecord, line.find("<EOR>"));
  EXPECT_EQ(positions.of(AdifTag::Band), npos);  // after the end of the record
  EXPECT_EQ(positions.of(AdifTag::Mode), npos);

  EXPECT_EQ(findAdifTags("<BAND_RX:3>40M <FREQ_RX:5>7.010 <CALLSIGN:3>ABC").of(AdifTag::Band), npos);
  EXPECT_EQ(findAdifTags("<BAND_RX:3>40M <FREQ_RX:5>7.010").of(AdifTag::Freq), npos);
  EXPECT_EQ(findAdifTags("<EOR:0>").endOfRecord, npos);
}

struct TagCase {
  const char* line;
  AdifTag tag;
  bool lengthRead;
  std::size_t length;
  const char* value;  // nullptr: no value
};

TEST(ReadAdifTag, PatternsAndValues) {
  const TagCase cases[] = {
      {"<CALL:5>G4ABC <BAND:3>20M", AdifTag::Call, true, 5, "G4ABC"},
      {"<CALL:5:S>G4ABC", AdifTag::Call, true, 5, "G4ABC"},                      // type indicator
      {"<CALL:5>G4ABC<BAND:3>20M", AdifTag::Call, true, 5, "G4ABC<BAND:3>20M"},  // run together
      {"<CALL:5>  G4ABC", AdifTag::Call, true, 5, "G4ABC"},                      // white space skipped
      {"<COMMENT:9>GOOD SIGS", AdifTag::Comment, true, 9, "GOOD"},               // %s stops at a blank
      {"<CALL:0>", AdifTag::Call, true, 0, nullptr},
      {"<CALL:5>", AdifTag::Call, true, 5, nullptr},  // tag at the end of its line
      {"<CALL:5>   ", AdifTag::Call, true, 5, nullptr},
      {"<CALL:5:S>", AdifTag::Call, true, 5, nullptr},
      {"<CALL:X>G4ABC", AdifTag::Call, false, 0, nullptr},  // length unreadable
      {"<CALL>G4ABC", AdifTag::Call, false, 0, nullptr},
      {"<CALL:-3>G4ABC", AdifTag::Call, false, 0, nullptr},  // negative
      {"<CALL:+5>G4ABC", AdifTag::Call, true, 5, "G4ABC"},
      {"<CALL: 5>G4ABC", AdifTag::Call, true, 5, "G4ABC"},
      {"<CALL:99999999999999999999999999>G4ABC", AdifTag::Call, true, static_cast<std::size_t>(-1), "G4ABC"},
      {"<CALL:5;>G4ABC", AdifTag::Call, true, 5, nullptr},
  };
  for (const TagCase& c : cases) {
    AdifTagValue value = read(c.line, c.tag);
    EXPECT_EQ(value.lengthRead, c.lengthRead) << c.line;
    if (!c.lengthRead) continue;
    EXPECT_EQ(value.length, c.length) << c.line;
    EXPECT_EQ(value.hasValue, c.value != nullptr) << c.line;
    if (c.value != nullptr) {
      EXPECT_EQ(value.value, c.value) << c.line;
    }
  }
}

TEST(ReadAdifTag, CommentTextStartsRightAfterTheTag) {
  AdifTagValue value = read("<COMMENT:3:S> A B<EOR>", AdifTag::Comment);
  EXPECT_TRUE(value.closed);
  EXPECT_EQ(value.afterTag, " A B<EOR>");
}

}  // namespace
}  // namespace quorvel
