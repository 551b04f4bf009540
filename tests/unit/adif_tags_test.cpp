#include "readers/adif_tags.h"

#include <gtest/gtest.h>

#include <string>

#include "detect/ascii.h"

namespace quorvel {
namespace {

constexpr std::size_t npos = std::string_view::npos;

// Reads `tag` from `line` the way the reader does: first occurrence, exact
// name.
AdifTagValue read(std::string_view line, AdifTag tag, bool cutToLength = false) {
  AdifTagPositions positions = findAdifTags(line);
  std::size_t at = positions.of(tag);
  EXPECT_NE(at, npos) << line;
  if (at == npos) return {};
  return readAdifTag(line, at, adifTagName(tag).size(), cutToLength);
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

// Tags are found the same wherever they stand: at every offset from the
// start of the line, and with the line ending at every distance behind them.
TEST(FindAdifTags, SameAtEveryOffset) {
  const std::string record = "<call:4>W1AW <X:1>< <BAND:3>20M<Comment:2>ok<MODE:2>CW<eor><CALL:1>Z";
  for (std::size_t pad = 0; pad < 40; ++pad) {
    for (std::size_t tail : {0, 1, 7, 15, 16, 17}) {
      std::string line = std::string(pad, '=') + record + std::string(tail, '<');
      AdifTagPositions positions = findAdifTags(line);
      std::string where = " at " + std::to_string(pad) + "+" + std::to_string(tail);
      EXPECT_EQ(positions.of(AdifTag::Call), pad) << where;
      EXPECT_EQ(positions.of(AdifTag::Band), pad + record.find("<BAND")) << where;
      EXPECT_EQ(positions.of(AdifTag::Comment), pad + record.find("<Comment")) << where;
      EXPECT_EQ(positions.of(AdifTag::Mode), pad + record.find("<MODE")) << where;
      EXPECT_EQ(positions.endOfRecord, pad + record.find("<eor>")) << where;
      EXPECT_EQ(positions.of(AdifTag::Freq), npos) << where;
      EXPECT_EQ(read(line, AdifTag::Band).value,
                "20M<Comment:2>ok<MODE:2>CW<eor><CALL:1>Z" + line.substr(line.size() - tail))
          << where;
      EXPECT_EQ(read(line, AdifTag::Mode, true).value, "CW") << where;
    }
  }
}

// Every name is told apart in any letter case, with the line going on past
// it or ending soon after, and only under its exact name: one letter more
// or less, and it is some other tag.
TEST(FindAdifTags, EveryNameExactlyInAnyCase) {
  constexpr AdifTag kTags[] = {AdifTag::Call, AdifTag::Comment, AdifTag::Freq,  AdifTag::Band,
                               AdifTag::Mode, AdifTag::QsoDate, AdifTag::TimeOn};
  for (AdifTag tag : kTags) {
    const std::string name(adifTagName(tag));
    std::string lower = name;
    for (char& c : lower) c = toAsciiLower(c);
    for (const std::string& written : {name, lower, lower.substr(0, 1) + name.substr(1)}) {
      for (const char* rest : {":1>X", ">", ":1>X                "}) {
        EXPECT_EQ(findAdifTags("<" + written + rest).of(tag), 0u) << written << rest;
        EXPECT_EQ(findAdifTags("<" + written + "S" + rest).of(tag), npos) << written << rest;
        EXPECT_EQ(findAdifTags("<" + written.substr(0, written.size() - 1) + rest).of(tag), npos) << written << rest;
      }
    }
  }
  for (const char* end : {"<EOR>", "<eor>", "<Eor>          "}) EXPECT_EQ(findAdifTags(end).endOfRecord, 0u) << end;
  for (const char* notEnd : {"<EOR:0>", "<EO>          ", "<EORS>         "}) {
    EXPECT_EQ(findAdifTags(notEnd).endOfRecord, npos) << notEnd;
  }
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
      {"<CALL:12>G4ABC\x01/P X", AdifTag::Call, true, 12, "G4ABC\x01/P"},  // control bytes are no white space
      {"<CALL:5>G4\tABC", AdifTag::Call, true, 5, "G4"},
      {"<CALL:10>G4ABC/P\v <EOR>", AdifTag::Call, true, 10, "G4ABC/P"},
      {"<CALL:20>G4ABC/MM/QRP\x7f\xe9 <EOR>", AdifTag::Call, true, 20, "G4ABC/MM/QRP\x7f\xe9"},
      {"<CALL:007>G4ABC", AdifTag::Call, true, 7, "G4ABC"},
      {"<CALL:5 >G4ABC", AdifTag::Call, true, 5, nullptr},
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

TEST(KeepAdifValue, CutsAndRewritesEachField) {
  const struct {
    const char* line;
    AdifTag tag;
    const char* before;
    const char* after;
  } cases[] = {
      {"<CALL:5>G4ABC<MODE:2>CW", AdifTag::Call, "", "G4ABC"},
      {"<CALL:0>G4ABC", AdifTag::Call, "", ""},
      {"<CALL:5>", AdifTag::Call, "W1AWXYZ", "W1AWX"},   // keeps what it held, cut
      {"<CALL:X>G4ABC", AdifTag::Call, "W1AW", "W1AW"},  // unreadable: untouched
      {"<BAND:3>20M", AdifTag::Band, "", "20"},
      {"<BAND:4>70CM", AdifTag::Band, "", "70C"},
      {"<BAND:2>2M<MODE:2>CW", AdifTag::Band, "", "2"},
      {"<BAND:3>SAT<MODE:2>CW", AdifTag::Band, "", "SAT<"},  // ends before the M of MODE
      {"<BAND:1>13CM", AdifTag::Band, "", "13C"},            // no cut to the declared length
      {"<FREQ:6>14.025000", AdifTag::Freq, "", "14.025"},
      {"<MODE:5>PSK31", AdifTag::Mode, "", "PSK"},
      {"<MODE:5>PSK63", AdifTag::Mode, "", "PSK63"},
      {"<MODE:3>PSK31", AdifTag::Mode, "", "PSK"},  // cut first, to PSK
      // Values keep their letter case (the record line is upper-cased as a
      // whole), but the unit and PSK31 are found in either.
      {"<mode:5>psk31", AdifTag::Mode, "", "PSK"},
      {"<band:3>20m", AdifTag::Band, "", "20"},
      {"<BAND:3>", AdifTag::Band, "2m", "2"},
      {"<call:4>w1aw", AdifTag::Call, "", "w1aw"},
      {"<TIME_ON:6>181502", AdifTag::TimeOn, "", "1815"},
      {"<TIME_ON:3>930", AdifTag::TimeOn, "", "930"},
      {"<QSO_DATE:8>20240101<TIME_ON:4>1200", AdifTag::QsoDate, "", "20240101"},
  };
  for (const auto& c : cases) {
    // The reader asks for values cut to their declared length (but a
    // band's); the field comes out the same as from the whole word.
    for (bool cutToLength : {false, c.tag != AdifTag::Band}) {
      std::string_view field = c.before;
      keepAdifValue(c.tag, read(c.line, c.tag, cutToLength), field);
      EXPECT_EQ(field, c.after) << c.line << (cutToLength ? " (cut)" : "");
    }
  }
}

}  // namespace
}  // namespace quorvel
