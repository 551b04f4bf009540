// The recognisers, line screening and column assignment.
#include <gtest/gtest.h>

#include "base/ascii.h"
#include "base/visible_text.h"
#include "detect/assign_column.h"
#include "detect/header_row.h"
#include "detect/recognisers.h"
#include "detect/screen_line.h"
#include "detect/space_tokens.h"

namespace quorvel {
namespace {

TEST(Recognisers, BandsModesCallsignsAndLocators) {
  for (const char* yes : {"7", "14.0250", "SAT", "70CM", "579"}) EXPECT_TRUE(isBand(yes)) << yes;
  for (const char* no : {"2", "432", "23CM", "14.02500", ""}) EXPECT_FALSE(isBand(no)) << no;
  for (const char* yes : {"CW", "PSK31"}) EXPECT_TRUE(isMode(yes)) << yes;
  for (const char* no : {"PSK63", "ssb", "USB"}) EXPECT_FALSE(isMode(no)) << no;
  for (const char* yes :
       {"GB4XYZ", "DLA1X", "4X4ABC", "1AB", "22/JUN/02", "G4ABC/P", "ABC/DEFG1H", "A.B/1", "K1\xC4X/P"}) {
    EXPECT_TRUE(isCallsign(yes)) << yes;
  }
  for (const char* no : {"ABCD1", "K1", "599", "SSB", "14.025", "12/06/02", "ABCDE/1", "AB-1", "K1\xC4X"}) {
    EXPECT_FALSE(isCallsign(no)) << no;
  }
  for (const char* yes :
       {"K1ABC", "9A1A", "2E0ABC", "E73A", "W200YARC", "GB50TG", "I2/K3LR", "KA2CKI/R", "VP2E/W1AW", "VK2/W1XYZ/P"}) {
    EXPECT_TRUE(looksLikeCallsign(yes)) << yes;
  }
  for (const char* no :
       {"599", "5NN", "14", "10A", "4A", "MDC", "EU-005", "TX", "------", "FN31", "K1/", "A/B/C/K1AB"}) {
    EXPECT_FALSE(looksLikeCallsign(no)) << no;
  }
  for (const char* locator : {"FN31", "FN21AB", "GB50TG"}) EXPECT_TRUE(isLocator(locator)) << locator;
  for (const char* no : {"FN3", "FS31", "SN31", "FN31YA", "FN31AZ", "K1ABC"}) EXPECT_FALSE(isLocator(no)) << no;
}

ScreenResult screen(std::string_view line) {
  std::string upper;
  upperCaseInto(line, upper);
  return screenLine(upper);
}

TEST(ScreenLine, SortsLinesIntoKinds) {
  const std::pair<std::string, ScreenResult> cases[] = {
      {"     ", ScreenResult::Reject},
      {"start-of-log: 2.0 adif", ScreenResult::Adif},  // ADIF is tested first
      {"call g4abc 14 ssb", ScreenResult::Reject},     // a heading word wins over a callsign
      {"22-jun-02 1432 14 ssb gb4xyz", ScreenResult::Data},
      {"22-JUN-02 1432 14 SSB 59 59", ScreenResult::Reject},
      {"22-JUN-02\t1432\t14\tSSB\tGB4XYZ", ScreenResult::Reject},  // a tab does not separate
      {std::string(5000, ' ') + "G4ABC", ScreenResult::Data},
  };
  for (const auto& [line, expected] : cases) EXPECT_EQ(screen(line), expected) << line;
  // Lines are screened a pair of bytes at a time; a marker counts wherever
  // it starts, at the end of its line too.
  const std::pair<const char*, ScreenResult> markers[] = {
      {"ADIF", ScreenResult::Adif},     {"<EOH>", ScreenResult::Adif},
      {"QX7QX", ScreenResult::Adif},    {"START-OF-LOG:", ScreenResult::Cabrillo},
      {"PAGE", ScreenResult::Reject},   {"CALL", ScreenResult::Reject},
      {"TRELVO", ScreenResult::Reject}, {"LOGNAME", ScreenResult::Reject},
      {"\f", ScreenResult::Reject},
  };
  for (const auto& [marker, expected] : markers) {
    for (std::string before : {"", "x", "xx", "xxx"}) {
      EXPECT_EQ(screen(before + marker + " G4ABC"), expected) << marker << " after " << before;
      EXPECT_EQ(screen("G4ABC " + before + marker), expected) << marker << " at the end, after " << before;
    }
  }
}

TEST(AssignColumn, RuleOrderAndSurprises) {
  const std::pair<const char*, const char*> cases[] = {
      {"22-JUN-02 1432 14 SSB GB4XYZ 59 59", "date@0 time@1 band@2 mode@3 callsign@4 "},
      {"GB4XYZ 22-JUN-02 1432 14 SSB", "callsign@0 date@1 time@2 band@3 mode@4 "},  // a callsign is never a date
      {"20020622 1432 14 CW G4ABC", "date@0 time@1 band@2 mode@3 callsign@4 "},
      {"06/22 932 14:32 CW G4ABC", "time@2 mode@3 callsign@4 "},
      {"22-JUN-02 1432 GB7XYZ 20M SSB", "date@0 time@1 callsign@2 band@3 mode@4 "},
      {"22-JUN-02 1432 599 14 USB G4ABC", "date@0 time@1 band@3 mode@4 callsign@5 "},
      {"14.025 22-JUN-02 0001 18:08 40CW FT8 EM87 K1ABC", "band@0 date@1 time@3 mode@5 callsign@7 "},
      {"EU-005 OLIVIA 09.03.2024 181502 MSK144", "date@0 mode@1 time@3 "},
      {"99990101 24:30 20240229", "time@0 date@2 "},  // no year 9999, no hour 24, no band
  };
  for (const auto& [line, outcome] : cases) {
    std::vector<std::string_view> tokens;
    SpaceTokens split(line);
    for (std::string_view token; split.next(token);) tokens.push_back(token);
    std::vector<ColumnDecision> decisions;
    (void)assignColumns(tokens, {}, decisions);
    std::string roles;
    for (const auto& [column, role] : decisions)
      roles += std::string(columnRoleName(role)) + "@" + std::to_string(column) + " ";
    EXPECT_EQ(roles, outcome) << line;
  }
}

// An aligned header row over a data row whose value in one column is
// changed: a name counts over a value it can name, a placeholder included,
// and only while most names do.
TEST(HeaderRow, NamesCountOverValuesTheyCanName) {
  const char* const header = "DATE       TIME       BAND       MODE       CALL";
  const std::tuple<int, const char*, const char*> cases[] = {
      {-1, "", "DTBMC"},     {0, "G4ABC", "-TBMC"}, {1, "SSB", "D-BMC"},   {1, "22-JUN-02", "D-BMC"},
      {2, "K1ABC", "DT-MC"}, {2, "SSB", "DT-MC"},   {3, "14", "DTB-C"},    {3, "-", "DTBMC"},
      {4, "1432", "DTBM-"},  {4, "PSK31", "DTBM-"}, {0, "14:32", "-TBMC"}, {2, "SAT", "DTBMC"},
  };
  const char* kRoles = "DTBFMSC";
  for (const auto& [column, value, named] : cases) {
    std::vector<std::string> values = {"22-JUN-02", "1432", "14", "SSB", "G4ABC"};
    if (column >= 0) values[static_cast<std::size_t>(column)] = value;
    char row[80];
    std::snprintf(row, sizeof row, "%-10s %-10s %-10s %-10s %s", values[0].c_str(), values[1].c_str(),
                  values[2].c_str(), values[3].c_str(), values[4].c_str());
    std::string got;
    for (const auto& name : namesOfColumns(header, ' ', row)) got += name ? kRoles[static_cast<int>(*name)] : '-';
    EXPECT_EQ(got, named) << row;
  }
  // Out of line with its values: none counts, and the shapes decide.
  EXPECT_EQ(namesOfColumns("Date UTC  Call BAND       MODE", ' ', "11-FEB-94 0749 BA4VDS 3.5        SSB"),
            std::vector<std::optional<NamedRole>>(5));
}

// A log's bytes quoted on the console: controls escaped, the rest as it
// stands, a long token cut.
TEST(VisibleText, EscapesControlsAndCutsLongTokens) {
  const std::pair<std::string, std::string> cases[] = {
      {"22-JUN-02", "22-JUN-02"},
      {"\x1B[2J-1\a", "\\x1B[2J-1\\x07"},
      {"A\tB\x7F\r", "A\\x09B\\x7F\\x0D"},
      {"STR\xC3\xB6M", "STR\xC3\xB6M"},                          // UTF-8 kept
      {"\xE6\x97\xA5\xE6\x9C\xAC", "\xE6\x97\xA5\xE6\x9C\xAC"},  // three bytes a letter
      {"STR\xF6M", "STR\xF6M"},                                  // a Latin-1 letter kept
      {"\x9B-K\xC2\x9B", "\\x9B-K\\xC2\\x9B"},                   // C1, lone or in UTF-8
      {"\xE6\x97-\xED\xA0\x80", "\xE6\\x97-\xED\xA0\\x80"},      // a cut letter, a surrogate
      {"\xE6\x97\x1B", "\xE6\\x97\\x1B"},                        // no letter ends in a control
      {std::string(41, 'K'), std::string(40, 'K') + "..."},
      {std::string(40, 'K'), std::string(40, 'K')},
      {std::string(37, 'K') + "\x1B", std::string(37, 'K') + "..."},
  };
  for (const auto& [bytes, shown] : cases) EXPECT_EQ(visibleText(bytes), shown) << bytes;
}

}  // namespace
}  // namespace quorvel
