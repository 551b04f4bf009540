#include "detect/screen_line.h"

#include <gtest/gtest.h>

#include <string>

#include "detect/ascii.h"

namespace quorvel {
namespace {

ScreenResult screen(const std::string& line) {
  std::string upper;
  upperCaseInto(line, upper);
  return screenLine(upper);
}

TEST(ScreenLine, SortsLinesIntoKinds) {
  const struct {
    const char* line;
    ScreenResult expected;
  } cases[] = {
      {"", ScreenResult::Reject},
      {"     ", ScreenResult::Reject},
      {"ADIF export", ScreenResult::Adif},
      {"<eoh>", ScreenResult::Adif},
      {"Generated for K1ABC <adif_ver:5>3.1.0", ScreenResult::Adif},
      {"QX7QX", ScreenResult::Adif},
      {"START-OF-LOG: 3.0", ScreenResult::Cabrillo},
      {"start-of-log: 2.0 adif", ScreenResult::Adif},  // ADIF is tested first
      {"DATE TIME BAND MODE CALL", ScreenResult::Reject},
      {"Page 2 G4ABC", ScreenResult::Reject},
      {"\f 14 SSB G4ABC", ScreenResult::Reject},
      {"call g4abc 14 ssb", ScreenResult::Reject},  // heading word wins over a callsign
      {"trelvo", ScreenResult::Reject},
      {"LOGNAME G4ABC", ScreenResult::Reject},
      {"22-JUN-02 1432 14 SSB GB4XYZ 59 59", ScreenResult::Data},
      {"22-jun-02 1432 14 ssb gb4xyz", ScreenResult::Data},
      {"22-JUN-02 1432 14 SSB 59 59", ScreenResult::Reject},
      {"22-JUN-02\t1432\t14\tSSB\tGB4XYZ", ScreenResult::Reject},  // a tab does not separate
      {"   G4ABC   ", ScreenResult::Data},
      {"G4A", ScreenResult::Data},  // a last line without its new line keeps its last character
  };
  for (const auto& c : cases) EXPECT_EQ(screen(c.line), c.expected) << c.line;
}

// Lines are screened a pair of bytes at a time; a marker counts wherever
// it starts, at the end of its line too.
TEST(ScreenLine, FindsEachMarkerWhereverItStands) {
  const struct {
    const char* marker;
    ScreenResult expected;
  } cases[] = {
      {"ADIF", ScreenResult::Adif},     {"<EOH>", ScreenResult::Adif},
      {"QX7QX", ScreenResult::Adif},    {"START-OF-LOG:", ScreenResult::Cabrillo},
      {"PAGE", ScreenResult::Reject},   {"CALL", ScreenResult::Reject},
      {"TRELVO", ScreenResult::Reject}, {"LOGNAME", ScreenResult::Reject},
      {"\f", ScreenResult::Reject},
  };
  for (const auto& c : cases) {
    for (std::size_t offset = 0; offset < 4; ++offset) {
      std::string before(offset, 'x');
      // Without its marker each line is a line of data.
      EXPECT_EQ(screen(before + c.marker + " G4ABC"), c.expected) << c.marker << " at " << offset;
      EXPECT_EQ(screen("G4ABC " + before + c.marker), c.expected) << c.marker << " at the end, " << offset;
    }
  }
}

TEST(ScreenLine, ExaminesTheWholeLongLine) {
  std::string line(5000, ' ');
  EXPECT_EQ(screen(line + "G4ABC"), ScreenResult::Data);
  EXPECT_EQ(screen(line + "<EOH>"), ScreenResult::Adif);
}

}  // namespace
}  // namespace quorvel
