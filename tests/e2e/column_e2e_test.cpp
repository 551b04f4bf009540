// Column text logs end to end.
#include <gtest/gtest.h>

#include <string>

#include "e2e/scratch_run.h"

namespace quorvel::testing {
namespace {

const std::string kWriting = "\nEach dot is 100 QSOs. Writing logs\n";
const std::string kSorting = "\nSorting logs....\n";
const std::string kFullColumns =
    "Using column 0 (22-JUN-02) as date\nUsing column 1 (1432) as time\nUsing column 2 (14) as band\n"
    "Using column 3 (SSB) as mode\nUsing column 4 (GB4XYZ) as callsign\n";

std::string counted(int count) { return "\n\n" + std::to_string(count) + " QSOs read\n"; }

TEST(ColumnE2e, HeadingsBandsModesAndShortLines) {
  const std::string log =
      "My log\n\nDATE TIME BAND MODE CALL\n"
      "22-jun-02 1432 14 ssb gb4xyz 59 59\n"
      "22-JUN-02  1433   14.025   CW   G4ABC\n"
      "\fPage 2\n"
      "22-JUN-02 1434 3.5 PSK31 G4ABD\n"
      "22-JUN-02 1435 10.12 PSK63 G4ABE ADIF remark\n"
      "22-JUN-02 1436 7.040\tCW G4ABF\n"
      "22-JUN-02 1437 20M RTTY\n"
      "G4ABG 1438\n";
  LogRun run = runOnLog(log);
  EXPECT_EQ(run.result.exitStatus, 0);
  EXPECT_EQ(run.result.out, bucketRow());
  EXPECT_EQ(run.result.err, kFullColumns + kWriting + counted(7) + kSorting);
  // The tab joins "7.040\tCW" into one token, so that line has no fifth
  // token and no callsign; so have the two short lines after it. PSK63 moves
  // G4ABE one column right, and it sorts first.
  EXPECT_EQ(run.files, filesAfterRun(log, {{"G.TXT",
                                            "22-JUN-02 1435  10PSK63 G4ABE\n"
                                            "22-JUN-02 1433  14  CW G4ABC\n"
                                            "22-JUN-02 1434 3.5 PSK G4ABD\n"
                                            "22-JUN-02 1432  14 SSB GB4XYZ\n"}}));
}

TEST(ColumnE2e, LayoutsWithoutDateOrTime) {
  const std::string log = "22-JUN-02 1432 14 SSB GB4XYZ\n";
  const struct {
    std::vector<std::string> options;
    std::string line;
  } cases[] = {
      {{"-nodate"}, "1432  14 SSB GB4XYZ\n"},
      {{"-notime"}, "22-JUN-02  14 SSB GB4XYZ\n"},
      {{"-nodate", "-notime"}, " 14 SSB GB4XYZ\n"},
  };
  for (const auto& c : cases) {
    LogRun run = runOnLog(log, c.options);
    EXPECT_EQ(run.result.err, kFullColumns + kWriting + counted(1) + kSorting);
    EXPECT_EQ(run.files, filesAfterRun(log, {{"G.TXT", c.line}}));
  }
}

TEST(ColumnE2e, NoCallsignColumnCountsEveryLineAndWritesNone) {
  // The first data line's only callsign-shaped token is taken for the date.
  const std::string log = "GB4XYZ 14 SSB\nG4ABC 7 CW\n";
  LogRun run = runOnLog(log);
  EXPECT_EQ(run.result.exitStatus, 0);
  EXPECT_EQ(run.result.err,
            "Using column 0 (GB4XYZ) as date\nUsing column 1 (14) as band\nUsing column 2 (SSB) as mode\n" + kWriting +
                counted(2) + kSorting);
  EXPECT_EQ(run.files, filesAfterRun(log, {}));
}

TEST(ColumnE2e, ProgressDotsCountTheFirstDataLine) {
  std::string log;
  for (int i = 0; i < 8000; ++i) log += "22-JUN-02 1432 14 SSB GB4XYZ\n";
  LogRun run = runOnLog(log, {"-nodate", "-notime"});
  EXPECT_EQ(run.result.out, std::string(80, '.') + "\n" + bucketRow());
  EXPECT_EQ(run.result.err, kFullColumns + kWriting + counted(8000) + kSorting);
  std::string g;
  for (int i = 0; i < 8000; ++i) g += " 14 SSB GB4XYZ\n";
  EXPECT_EQ(run.files, filesAfterRun(log, {{"G.TXT", g}}));

  run = runOnLog(log.substr(0, 250 * 29));
  EXPECT_EQ(run.result.out, std::string("..").append(bucketRow()));
}

}  // namespace
}  // namespace quorvel::testing
