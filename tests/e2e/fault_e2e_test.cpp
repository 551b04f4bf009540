// Logs with bytes that no logging program should write, and very large or
// very empty ones: each run ends with its documented status and writes
// every contact it can.
#include <gtest/gtest.h>

#include <string>

#include "e2e/scratch_run.h"

namespace quorvel::testing {
namespace {

const std::string kAdifOpening = "\nADIF format detected\n\nEach dot is 100 QSOs. Writing logs\n";
const std::string kSorting = "\nSorting logs....\n";

TEST(FaultE2e, NulBytesHighBytesAndLoneCarriageReturns) {
  const struct {
    const char* name;
    std::string log;
    std::vector<std::string> options;
    std::map<std::string, std::string> sorted;
  } cases[] = {
      {"NUL bytes: a token holding one is no callsign, so its line is skipped",
       std::string("22-JUN-02 1432 14 SSB G4ABC \0\n22-JUN-02 1433 14 SSB K1\0AB\n", 58),
       {"-nodate", "-notime"},
       {{"G.TXT", " 14 SSB G4ABC\n"}}},
      {"bytes 128-255 pass through as they are",
       "<EOH>\n<CALL:5>G4ABC <COMMENT:4>J\xF6rg <EOR>\n<CALL:6>\xC4\xD6X1AB <EOR>\n",
       {"-nodate", "-notime", "-comment"},
       {{"G.TXT", "             G4ABC ** J\xF6RG\n"}}},
      {"an ADIF log with lone carriage returns is one line of records",
       "<EOH>\r<CALL:4>K1AB <EOR>\r<CALL:4>W1AW <EOR>\r",
       {"-nodate", "-notime"},
       {{"K.TXT", "             K1AB\n"}, {"W.TXT", "             W1AW\n"}}},
  };
  for (const auto& c : cases) {
    LogRun run = runOnLog(c.log, c.options);
    EXPECT_EQ(run.result.exitStatus, 0) << c.name;
    EXPECT_EQ(run.result.out, bucketRow()) << c.name;
    EXPECT_EQ(run.files, filesAfterRun(c.log, c.sorted)) << c.name;
  }
}

TEST(FaultE2e, TenMegabyteSingleLine) {
  std::string log = "<EOH>";
  std::string k;
  while (log.size() < 10 * 1024 * 1024) {
    log += "<CALL:5>K1ABC<MODE:2>CW<EOR>";
    k += "          CW K1ABC\n";
  }
  std::size_t records = k.size() / 19;
  LogRun run = runOnLog(log, {"-nodate", "-notime"});
  EXPECT_EQ(run.result.exitStatus, 0);
  EXPECT_EQ(run.result.err, kAdifOpening + "\n\n" + std::to_string(records) + " QSOs processed\n" + kSorting);
  EXPECT_EQ(run.files, filesAfterRun(log, {{"K.TXT", k}}));

  // A text log's remark column ten megabytes wide.
  std::string text = "22-JUN-02 1432 14 SSB G4ABC " + std::string(10 * 1024 * 1024, 'x') + "\n";
  run = runOnLog(text, {"-nodate", "-notime"});
  EXPECT_EQ(run.result.exitStatus, 0);
  EXPECT_EQ(run.files, filesAfterRun(text, {{"G.TXT", " 14 SSB G4ABC\n"}}));
}

TEST(FaultE2e, AMillionEmptyLines) {
  std::string empty(1000000, '\n');
  LogRun run = runOnLog(empty);
  EXPECT_EQ(run.result.exitStatus, 0);
  EXPECT_EQ(run.result.out, "");
  EXPECT_EQ(run.result.err, "");
  auto expected = emptyBucketFiles();
  expected["log"] = empty;
  EXPECT_EQ(run.files, expected);

  std::string log = empty + "22-JUN-02 1432 14 SSB G4ABC\n" + empty + "22-JUN-02 1433 7 CW G4ABD\n";
  run = runOnLog(log, {"-nodate", "-notime"});
  EXPECT_EQ(run.result.exitStatus, 0);
  EXPECT_EQ(run.files, filesAfterRun(log, {{"G.TXT", " 14 SSB G4ABC\n  7  CW G4ABD\n"}}));
}

}  // namespace
}  // namespace quorvel::testing
