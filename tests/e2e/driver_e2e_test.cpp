// The command line, the run's files and its failures, seen from outside:
// each test runs the built program in a fresh directory.
#include <gtest/gtest.h>

#include <string>

#include "e2e/scratch_run.h"

namespace quorvel::testing {
namespace {

const std::string kUsage =
    "usage: quorvel [-nodate -notime -comment -lower] filename\n\n"
    "       -nodate:  produce output files with no date information\n"
    "       -notime:  produce output files with no time information\n"
    "       -comment: leave ADIF commemt lines in the output files\n"
    "       -lower:   create output files with lower case filenames\n";
const std::string kBanner = "QZ9ZZ quorvel: Version 1.17 - 22/JUN/2002\n";

// A column text log of two contacts, K1ABC and G4ABC.
const std::string kTwoContacts = "22-JUN-02 1432 14 SSB K1ABC\n22-JUN-02 1433 7 CW G4ABC\n";
const std::string kTwoContactsErr =
    "Using column 0 (22-JUN-02) as date\nUsing column 1 (1432) as time\nUsing column 2 (14) as band\n"
    "Using column 3 (SSB) as mode\nUsing column 4 (K1ABC) as callsign\n"
    "\nEach dot is 100 QSOs. Writing logs\n\n\n2 QSOs read\n\nSorting logs....\n";

TEST(CommandLineE2e, UsageBannerAndOpenFailures) {
  const struct {
    std::vector<std::string> arguments;
    int status;
    std::string err;
  } cases[] = {
      {{}, 1, kUsage},
      {{"-help"}, 1, kUsage},
      {{"log.txt", "-HeLp"}, 1, kUsage},
      {{"-v", "log.txt"}, 0, kBanner},
      {{"-Version"}, 0, kBanner},
      {{"-nodate"}, 1, "unable to open file \n"},
      {{"missing.log"}, 1, "unable to open file missing.log\n"},
      {{"-x", "missing.log"}, 1, "unable to open file missing.log\n"},
      {{"logs"}, 1, "unable to open file logs\n"},  // a directory
      {{std::string(300, 'n') + ".log"}, 1, "unable to open file " + std::string(300, 'n') + ".log\n"},
  };
  for (const auto& c : cases) {
    ScratchDir dir;
    dir.makeDirectory("logs");
    RunResult result = runQuorvel(dir, c.arguments);
    EXPECT_EQ(result.exitStatus, c.status);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, c.err);
    EXPECT_EQ(dir.files(), (std::map<std::string, std::string>{{"logs", "<dir>"}}));
  }
}

TEST(RunE2e, LogWithoutAcceptedLineLeavesEmptyBucketsSilently) {
  for (const std::string& log : {std::string(), std::string("\n\n  \nDATE TIME CALL\n599 599\n")}) {
    ScratchDir dir;
    dir.write("log.txt", log);
    RunResult result = runQuorvel(dir, {"log.txt"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
    auto expected = emptyBucketFiles();
    expected["log.txt"] = log;
    EXPECT_EQ(dir.files(), expected);
  }
}

TEST(RunE2e, NormalRunsLeaveThe36SortedFilesOnly) {
  // Plain, and with -lower, two file names (the second counts) and a second
  // run over the first one's files.
  for (bool lower : {false, true}) {
    ScratchDir dir;
    dir.write("first.txt", "22-JUN-02 1432 14 SSB W1AW\n");
    dir.write("log.txt", kTwoContacts);
    std::vector<std::string> arguments = {"log.txt"};
    if (lower) arguments = {"-Lower", "first.txt", "log.txt"};
    for (int run = 0; run < (lower ? 2 : 1); ++run) {
      RunResult result = runQuorvel(dir, arguments);
      EXPECT_EQ(result.exitStatus, 0);
      EXPECT_EQ(result.out, bucketRow(lower));
      EXPECT_EQ(result.err, kTwoContactsErr);
    }
    auto expected = emptySortedFiles(lower);
    expected["first.txt"] = "22-JUN-02 1432 14 SSB W1AW\n";
    expected["log.txt"] = kTwoContacts;
    expected[lower ? "k.txt" : "K.TXT"] = "22-JUN-02 1432  14 SSB K1ABC\n";
    expected[lower ? "g.txt" : "G.TXT"] = "22-JUN-02 1433   7  CW G4ABC\n";
    EXPECT_EQ(dir.files(), expected);
  }
}

TEST(RunE2e, LeftoverBucketLinesJoinTheNextRun) {
  ScratchDir dir;
  dir.write("log.txt", kTwoContacts);
  dir.write("K.TMP", "22-JUN-02 1200  20  CW K0ZZ\n22-JUN-02 1200  20  CW KZ9Z");  // cut short by a crash
  RunResult result = runQuorvel(dir, {"log.txt"});
  EXPECT_EQ(result.exitStatus, 0);
  auto expected = emptySortedFiles();
  expected["log.txt"] = kTwoContacts;
  expected["K.TXT"] = "22-JUN-02 1200  20  CW K0ZZ\n22-JUN-02 1432  14 SSB K1ABC\n22-JUN-02 1200  20  CW KZ9Z\n";
  expected["G.TXT"] = "22-JUN-02 1433   7  CW G4ABC\n";
  EXPECT_EQ(dir.files(), expected);
}

TEST(RunE2e, BucketFileThatCannotBeCreated) {
  ScratchDir dir;
  dir.write("log.txt", kTwoContacts);
  dir.makeDirectory("5.TMP");
  RunResult result = runQuorvel(dir, {"log.txt"});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "unable to create file 5.TMP\n");
  std::map<std::string, std::string> expected{{"log.txt", kTwoContacts}, {"5.TMP", "<dir>"}};
  for (char c = '0'; c < '5'; ++c) expected[std::string(1, c) + ".TMP"] = "";
  EXPECT_EQ(dir.files(), expected);
}

TEST(RunE2e, SortedFileThatCannotBeWrittenKeepsItsBucket) {
  ScratchDir dir;
  dir.write("log.txt", kTwoContacts);
  dir.makeDirectory("K.TXT");
  dir.write("K.TXT/keep", "");
  RunResult result = runQuorvel(dir, {"log.txt"});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.out, bucketRow());
  EXPECT_EQ(result.err, kTwoContactsErr + "unable to sort file K.TMP\n");
  auto expected = emptySortedFiles();
  expected["log.txt"] = kTwoContacts;
  expected["K.TXT"] = "<dir>";
  expected["K.TMP"] = "22-JUN-02 1432  14 SSB K1ABC\n";
  expected["G.TXT"] = "22-JUN-02 1433   7  CW G4ABC\n";
  EXPECT_EQ(dir.files(), expected);
}

TEST(RunE2e, FullDiskWhileSortingKeepsTheBucket) {
  // A leftover bucket already larger than the file-size limit: this run adds
  // nothing to it, but its sorted file cannot be written whole.
  ScratchDir dir;
  const std::string log = "22-JUN-02 1433 7 CW G4ABC\n";
  dir.write("log.txt", log);
  std::string leftover;
  for (int i = 0; i < 10; ++i) leftover += "22-JUN-02 1200  20  CW K" + std::to_string(9 - i) + "ZZ\n";
  dir.write("K.TMP", leftover);
  RunResult result = runQuorvel(dir, {"log.txt"}, RunLimits{150});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.out, bucketRow());
  EXPECT_EQ(result.err.substr(result.err.size() - 26), "unable to sort file K.TMP\n");
  auto expected = emptySortedFiles();
  expected.erase("K.TXT");
  expected["log.txt"] = log;
  expected["K.TMP"] = leftover;
  expected["G.TXT"] = "22-JUN-02 1433   7  CW G4ABC\n";
  EXPECT_EQ(dir.files(), expected);
}

TEST(RunE2e, FullDiskWhileBucketingKeepsWholeLinesOnly) {
  std::string log;
  for (int i = 0; i < 5000; ++i) log += "22-JUN-02 1432 14 SSB K1A" + std::to_string(i) + "\n";
  ScratchDir dir;
  dir.write("log.txt", log);
  RunResult result = runQuorvel(dir, {"log.txt"}, RunLimits{100000});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.err.substr(result.err.size() - 28), "unable to create file K.TMP\n");
  std::string bucket = readFile(dir.work() + "/K.TMP");
  ASSERT_FALSE(bucket.empty());
  EXPECT_LE(bucket.size(), 100000u);
  EXPECT_EQ(bucket.back(), '\n');
  EXPECT_EQ(bucket.substr(0, 28), "22-JUN-02 1432  14 SSB K1A0\n");
  EXPECT_EQ(dir.files().count("K.TXT"), 0u);
}

}  // namespace
}  // namespace quorvel::testing
