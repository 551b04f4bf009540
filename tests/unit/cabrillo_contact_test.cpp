#include "readers/cabrillo_contact.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvel {
namespace {

constexpr std::string_view kBlank20 = "                    ";

TEST(ContestLayoutFor, FirstNameFoundInTableOrder) {
  const struct {
    const char* name;
    ContestLayout expected;
  } cases[] = {
      {"RSGB-IOTA", ContestLayout::RsgbIota},  {"ARRL-VHF-SEP", ContestLayout::ArrlVhfSep},
      {"CQ-WW-RTTY", ContestLayout::CqWwRtty}, {"ARRL-SS-CW", ContestLayout::ArrlSsCw},
      {"IARU-HF", ContestLayout::Iaru},        {"AP-SPRINT", ContestLayout::ApSprint},
      {"ARRL-10", ContestLayout::Arrl10},      {"ARRL-160", ContestLayout::Arrl160},
      {"ARRL-DX-CW", ContestLayout::ArrlDx},   {"CQ-WPX-RTTY", ContestLayout::CqWpx},
      {"CQ-WW-CW", ContestLayout::Standard},   {"ARRL-VHF-JUN", ContestLayout::Standard},
      {"", ContestLayout::Standard},           {"XARRL-10-M", ContestLayout::Arrl10},
  };
  for (const auto& c : cases) EXPECT_EQ(contestLayoutFor(c.name), c.expected) << c.name;
}

TEST(ParseCabrilloQso, CallsignTokenOfEachLayout) {
  const std::string line = "QSO: 14000 CW 2024-01-01 0000 T5 T6 T7 T8 T9 T10 T11 T12 T13 T14 T15";
  const struct {
    ContestLayout layout;
    const char* callsign;
  } cases[] = {
      {ContestLayout::Standard, "T8"}, {ContestLayout::CqWpx, "T8"},      {ContestLayout::RsgbIota, "T9"},
      {ContestLayout::CqWwRtty, "T9"}, {ContestLayout::ArrlVhfSep, "T7"}, {ContestLayout::ArrlSsCw, "T10"},
  };
  for (const auto& c : cases) {
    CabrilloContact contact;
    ASSERT_EQ(parseCabrilloQso(line, c.layout, contact), CabrilloParse::Contact);
    EXPECT_EQ(contact.callsign, c.callsign);
    EXPECT_EQ(contact.band, "14000");
    EXPECT_EQ(contact.mode, "CW");
    EXPECT_EQ(contact.date, "2024-01-01");
    EXPECT_EQ(contact.time, "0000");
  }
}

TEST(ParseCabrilloQso, ShortLinesEmptyLinesAndOddSpacing) {
  CabrilloContact contact;
  EXPECT_EQ(parseCabrilloQso("X-QSO-NOTE: HELLO", ContestLayout::Standard, contact), CabrilloParse::NotContact);
  EXPECT_EQ(parseCabrilloQso("QSO:", ContestLayout::Standard, contact), CabrilloParse::Empty);
  EXPECT_EQ(parseCabrilloQso("QSO:  \t ", ContestLayout::Standard, contact), CabrilloParse::Empty);

  ASSERT_EQ(parseCabrilloQso("QSO: 7000", ContestLayout::Standard, contact), CabrilloParse::Contact);
  EXPECT_EQ(contact.band, "7000");
  EXPECT_EQ(contact.mode, kBlank20);
  EXPECT_EQ(contact.callsign, kBlank20);

  ASSERT_EQ(parseCabrilloQso("NOTE QSO:7000\tPH\v2024-01-01\f0000 A B C G4ABC", ContestLayout::Standard, contact),
            CabrilloParse::Contact);
  EXPECT_EQ(contact.band, "7000");
  EXPECT_EQ(contact.mode, "PH");
  EXPECT_EQ(contact.callsign, "G4ABC");

  ASSERT_EQ(parseCabrilloQso("QSO: 7000 PSK31 D T A B C", ContestLayout::Standard, contact), CabrilloParse::Contact);
  EXPECT_EQ(contact.mode, "PSK");
  EXPECT_EQ(contact.callsign, kBlank20);  // seven tokens: no callsign
  ASSERT_EQ(parseCabrilloQso("QSO: 7000 PSK63 D T A B C K", ContestLayout::Standard, contact), CabrilloParse::Contact);
  EXPECT_EQ(contact.mode, "PSK63");
  EXPECT_EQ(contact.callsign, "K");
}

}  // namespace
}  // namespace quorvel
