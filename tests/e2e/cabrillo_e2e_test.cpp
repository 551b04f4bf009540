// Cabrillo logs end to end.
#include <gtest/gtest.h>

#include <string>

#include "e2e/scratch_run.h"

namespace quorvel::testing {
namespace {

const std::string kOpening = "\nCabrillo format detected\n\nEach dot is 100 QSOs. Writing logs\n";
const std::string kSorting = "\nSorting logs....\n";
const std::string kEnd = "END-OF-LOG:\n";

std::string counted(int count) { return "\n\n" + std::to_string(count) + " QSOs processed\n"; }

// A contact line whose every token after the four first ones names its
// place, so the record line shows which token was taken for the callsign.
const std::string kContact = "QSO: 14025 CW 2024-11-23 1200 K5 K6 K7 K8 K9 K10 K11 K12 K13 K14 K15\n";

std::string header(const std::string& contestLines) { return "START-OF-LOG: 3.0\nCALLSIGN: G4ZZZ\n" + contestLines; }

std::string record(const std::string& callsign) { return "2024-11-23 1200    14025  CW " + callsign + "\n"; }

TEST(CabrilloE2e, ContestNameChoosesTheCallsignToken) {
  const struct {
    std::string contestLines;
    std::string callsign;
  } cases[] = {
      {"", "K8"},
      {"CONTEST: CQ-WW-CW\n", "K8"},
      {"CONTEST: ARRL-SS-CW\n", "K10"},
      {"CONTEST: ARRL-VHF-SEP\n", "K7"},
      {"CONTEST: RSGB-IOTA\n", "K9"},
      {"contest: cq-ww-rtty\n", "K9"},
      {"CONTEST:CQ-WPX-CW\n", "K8"},
      {"CONTEST: RSGB-IOTA\nCONTEST: ARRL-SS-CW\n", "K10"},
      {"CONTEST: ARRL-SS-CW\nCONTEST:\n", "K10"},  // a line naming nothing changes nothing
      {"X-CONTEST: ARRL-SS-CW\n", "K8"},           // names only count at the start of the line
  };
  for (const auto& c : cases) {
    std::string log = header(c.contestLines) + kContact + kEnd;
    LogRun run = runOnLog(log);
    EXPECT_EQ(run.result.exitStatus, 0) << c.contestLines;
    EXPECT_EQ(run.result.out, bucketRow());
    EXPECT_EQ(run.result.err, kOpening + counted(1) + kSorting) << c.contestLines;
    EXPECT_EQ(run.files, filesAfterRun(log, {{"K.TXT", record(c.callsign)}})) << c.contestLines;
  }
}

TEST(CabrilloE2e, HeaderRulesCountsAndEnds) {
  const CompletedRun cases[] = {
      {"contest line after the first QSO: changes nothing",
       header("") + kContact + "CONTEST: ARRL-SS-CW\n" + kContact + kEnd,
       {},
       kOpening + counted(3) + kSorting,
       {{"K.TXT", record("K8") + record("K8")}}},
      {"a remark holding QSO: ends the header and is counted",
       header("SOAPBOX: MY FIRST QSO: GREAT\n") + kContact + kEnd,
       {},
       kOpening + counted(2) + kSorting,
       {{"K.TXT", record("K8")}}},
      {"empty lines are not counted, remark lines are",
       header("") + kContact + "\n\n" + kContact + "X-NOTE: hello\n" + kContact + kEnd,
       {},
       kOpening + counted(4) + kSorting,
       {{"K.TXT", record("K8") + record("K8") + record("K8")}}},
      {"END-OF-LOG: is tested before parsing",
       header("") + kContact + "END-OF-LOG: QSO: 1 2 3 4 5 6 7 W1AW\n",
       {},
       kOpening + counted(1) + kSorting,
       {{"K.TXT", record("K8")}}},
      {"missing END-OF-LOG: prints no count",
       header("") + kContact + kContact,
       {},
       kOpening + kSorting,
       {{"K.TXT", record("K8") + record("K8")}}},
      {"no QSO: line at all", header("") + kEnd, {}, kSorting, {}},
      {"short and long contact lines, PSK31",
       header("") +
           "QSO: 7000 PSK31 2024-11-23 1200 A B C\nQSO: 7000 psk31 2024-11-23 1200 A B C W1AW\n"
           "QSO:7000\tPSK63  2024-11-23 1201 A B C W1AX D E F G H\n" +
           kEnd,
       {"-nodate", "-notime"},
       kOpening + counted(3) + kSorting,
       // The five-letter mode moves W1AX one column right: it sorts first.
       {{"W.TXT", "    7000PSK63 W1AX\n    7000 PSK W1AW\n"}}},
      {"soapbox on the first line: no header scan",
       "START-OF-LOG: 3.0 SOAPBOX: hello\nCONTEST: ARRL-SS-CW\n" + kContact + kEnd,
       {"-notime"},
       kOpening + counted(3) + kSorting,
       {{"K.TXT", "2024-11-23    14025  CW K8\n"}}},
  };
  for (const CompletedRun& c : cases) expectCompletedRun(c);
}

TEST(CabrilloE2e, EmptyContactLineIsAnInternalErrorThatKeepsTheBuckets) {
  std::string log = header("") + kContact + "QSO:    \n" + kContact + kEnd;
  LogRun run = runOnLog(log);
  EXPECT_EQ(run.result.exitStatus, 1);
  EXPECT_EQ(run.result.out, "");
  EXPECT_EQ(run.result.err, kOpening + "quorvel: Internal Error - please e-mail log to QZ9ZZ!!\n");
  auto expected = emptyBucketFiles();
  expected["K.TMP"] = record("K8");
  expected["log"] = log;
  EXPECT_EQ(run.files, expected);
}

TEST(CabrilloE2e, DotComesBeforeTheHundredthLine) {
  std::string log = header("");
  for (int i = 0; i < 99; ++i) log += kContact;
  log.append("X-NOTE: line 100 writes no dot\n").append(kContact).append(kEnd);
  LogRun run = runOnLog(log, {"-nodate", "-notime"});
  EXPECT_EQ(run.result.out, bucketRow());
  EXPECT_EQ(run.result.err, kOpening + counted(101) + kSorting);

  log = header("");
  for (int i = 0; i < 100; ++i) log += kContact;
  run = runOnLog(log + kEnd, {"-nodate", "-notime"});
  EXPECT_EQ(run.result.out, std::string(".").append(bucketRow()));
}

}  // namespace
}  // namespace quorvel::testing
