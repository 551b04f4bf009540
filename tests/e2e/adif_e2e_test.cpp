// ADIF logs end to end: what the console shows and the sorted files hold.
#include <gtest/gtest.h>

#include <string>

#include "e2e/scratch_run.h"

namespace quorvel::testing {
namespace {

const std::string kOpening = "\nADIF format detected\n\nEach dot is 100 QSOs. Writing logs\n";
const std::string kSorting = "\nSorting logs....\n";

std::string counted(int count) { return "\n\n" + std::to_string(count) + " QSOs processed\n"; }

TEST(AdifE2e, RecordsAndTheirValues) {
  const CompletedRun cases[] = {
      {"tags of all kinds",
       "Log of G4ZZZ, ADIF export\n<adif_ver:5>3.1.0 <eoh>\n"
       "<CALL:5>G4ABC<QSO_DATE:8:D>20240309<TIME_ON:6>181502<BAND:3>20m<MODE:5>psk31<EOR>\n"
       "<call:6>dl1xyz <qso_date_off:8>20250101 <qso_date:8>20240310 <time_on:3>930 <freq:6>14.025 "
       "<band_rx:3>40M <mode:5>PSK63 <eor>\n",
       {},
       kOpening + counted(2) + kSorting,
       {{"G.TXT", " 20240309 1815       20 PSK G4ABC\n"}, {"D.TXT", " 20240310  930   14.025PSK63 DL1XYZ\n"}}},
      {"FREQ and BAND on one line, FREQ on a later line, BAND units",
       "<EOH>\n<CALL:4>K1AB <FREQ:5>7.010 <BAND:4>70CM <EOR>\n"
       "<CALL:4>K1AC <BAND:3>40M\n<FREQ:9>14.195000 <EOR>\n"
       "<CALL:4>K1AD <BAND:2>2m <EOR>\n",
       {},
       kOpening + counted(3) + kSorting,
       // The nine-character frequency moves its callsign one column right,
       // so that line sorts first.
       {{"K.TXT", std::string(15, ' ') + "14.195000     K1AC\n" + std::string(20, ' ') + "70C     K1AB\n" +
                      std::string(22, ' ') + "2     K1AD\n"}}},
      {"a missing date is the last one read; a record without CALL is counted, written nowhere",
       "<EOH>\n<CALL:4>K1AB <QSO_DATE:8>20240101 <EOR>\n<CALL:4>K1AC <EOR>\n<QSO_DATE:8>20240202 <EOR>\n"
       "<CALL:4>K1AD <QSO_DATE:0> <EOR>\n",
       {"-notime"},
       kOpening + counted(4) + kSorting,
       // An empty QSO_DATE is a date read, and taken as the last one.
       {{"K.TXT", " 20240101" + std::string(14, ' ') + "K1AB\n 20240101" + std::string(14, ' ') + "K1AC\n" +
                      std::string(23, ' ') + "K1AD\n"}}},
      {"a record over several lines with empty lines between",
       "header\n<EOH>\n\n<CALL:5>\n\nG4ABC\n<CALL:5>G4XYZ\n\n\n<MODE:2>CW\n<EOR>\n\n",
       {"-nodate", "-notime"},
       kOpening + counted(1) + kSorting,
       {{"G.TXT", "          CW G4XYZ\n"}}},
      {"two records on one line, and a one-line file",
       "<ADIF_VER:5>3.1.0<EOH><CALL:4>K1AB<EOR><CALL:4>W1AW<EOR><CALL:4>K1AC<MODE:2>CW<EOR>",
       {"-nodate", "-notime"},
       kOpening + counted(3) + kSorting,
       {{"K.TXT", "             K1AB\n          CW K1AC\n"}, {"W.TXT", "             W1AW\n"}}},
      {"text after <EOR> without a tag is ignored",
       "<EOH>\n<CALL:4>K1AB<EOR> trailing words\n",
       {"-nodate", "-notime"},
       kOpening + counted(1) + kSorting,
       {{"K.TXT", "             K1AB\n"}}},
      {"CRLF line ends",
       "ADIF\r\n<EOH>\r\n<CALL:4>K1AB <MODE:2>CW\r\n<EOR>\r\n\r\n<CALL:4>K1AC <MODE:3>SSB <EOR>\r\n",
       {"-nodate", "-notime"},
       kOpening + counted(2) + kSorting,
       {{"K.TXT", "          CW K1AB\n         SSB K1AC\n"}}},
      {"a comment text holding <EOR> closes the record",
       "<EOH>\n<CALL:4>K1AB <COMMENT:9>SEE <EOR> <MODE:2>CW\n<CALL:4>K1AC <EOR>\n",
       {"-nodate", "-notime"},
       kOpening + counted(2) + kSorting,
       {{"K.TXT", "             K1AB\n          CW K1AC\n"}}},
  };
  for (const CompletedRun& c : cases) expectCompletedRun(c);
}

TEST(AdifE2e, Comments) {
  const std::string log =
      "<EOH>\n<CALL:4>K1AB <COMMENT:14>Nice signal OM <EOR>\n<CALL:4>K1AC <EOR>\n"
      "<CALL:4>K1AD\n<COMMENT:7>2nd 50%\n<MODE:2>CW <EOR>\n"
      "<CALL:4>K1AE <COMMENT:40>runs past the end   \n<EOR>\n"
      "<CALL:4>K1AF <COMMENT:2:S>OK<COMMENT:3>NO <EOR>\n";
  expectCompletedRun({"with -comment",
                      log,
                      {"-nodate", "-notime", "-comment"},
                      kOpening + counted(5) + kSorting,
                      {{"K.TXT",
                        "             K1AB ** NICE SIGNAL OM\n"
                        "             K1AC \n"
                        "          CW K1AD ** 2ND 50%\n"
                        "             K1AE ** RUNS PAST THE END   \n"
                        "             K1AF ** OK\n"}}});
  expectCompletedRun(
      {"without -comment",
       log,
       {"-nodate", "-notime"},
       kOpening + counted(5) + kSorting,
       {{"K.TXT", "             K1AB\n             K1AC\n          CW K1AD\n             K1AE\n             K1AF\n"}}});
}

TEST(AdifE2e, EndsOfTheLog) {
  const CompletedRun cases[] = {
      {"no <EOH>: nothing read", "ADIF export\n<CALL:4>K1AB <EOR>\n", {}, kSorting, {}},
      {"right after <EOH>", "<CALL:4>K1AB <EOH>\n", {}, kOpening + counted(0) + kSorting, {}},
      {"inside a record: dropped, no count",
       "<EOH>\n<CALL:4>K1AB <EOR>\n<CALL:4>K1AC\n\n",
       {"-nodate", "-notime"},
       kOpening + kSorting,
       {{"K.TXT", "             K1AB\n"}}},
      {"a blank line after the last <EOR> begins a record",
       "<EOH>\n<CALL:4>K1AB <EOR>\n \n",
       {"-nodate", "-notime"},
       kOpening + kSorting,
       {{"K.TXT", "             K1AB\n"}}},
      {"a single character at the very end is no record",
       "<EOH>\n<CALL:4>K1AB <EOR>\nx",
       {"-nodate", "-notime"},
       kOpening + counted(1) + kSorting,
       {{"K.TXT", "             K1AB\n"}}},
  };
  for (const CompletedRun& c : cases) expectCompletedRun(c);
}

TEST(AdifE2e, ProgressDotsAt100And8000Records) {
  std::string log = "<EOH>\n";
  for (int i = 0; i < 8000; ++i) log += "<CALL:4>K1AB<EOR>\n";
  LogRun run = runOnLog(log, {"-nodate", "-notime"});
  EXPECT_EQ(run.result.exitStatus, 0);
  EXPECT_EQ(run.result.out, std::string(80, '.') + "\n" + bucketRow());
  EXPECT_EQ(run.result.err, kOpening + counted(8000) + kSorting);
  std::string k;
  for (int i = 0; i < 8000; ++i) k += "             K1AB\n";
  EXPECT_EQ(run.files, filesAfterRun(log, {{"K.TXT", k}}));
}

}  // namespace
}  // namespace quorvel::testing

namespace quorvel::testing {
namespace {

TEST(AdifDetectionE2e, PreamblesAndLogsWithoutHeader) {
  const std::string records = "<CALL:4>K1AB <MODE:2>CW <EOR>\n<CALL:4>W1AW <EOR>\n";
  const std::map<std::string, std::string> sorted = {{"K.TXT", "          CW K1AB\n"},
                                                     {"W.TXT", "             W1AW\n"}};
  const CompletedRun cases[] = {
      {"a preamble line holding a callsign",
       "Logbook of K9CTS\n<EOH>\n" + records,
       {"-nodate", "-notime"},
       kOpening + counted(2) + kSorting,
       sorted},
      {"a lower-case <eoh> after such a preamble",
       "\nGenerated 2024-01-01 for WN4AZY\n<adif_ver:5>3.1.0 <eoh>\n" + records,
       {"-nodate", "-notime"},
       kOpening + counted(2) + kSorting,
       sorted},
      {"no header", records, {"-nodate", "-notime"}, kOpening + counted(2) + kSorting, sorted},
      {"no header, a byte-order mark and blank lines first",
       "\xEF\xBB\xBF\n\n" + records,
       {"-nodate", "-notime"},
       kOpening + counted(2) + kSorting,
       sorted},
      {"no header, all on one line",
       "<CALL:4>K1AB <MODE:2>CW <EOR><CALL:4>W1AW <EOR>",
       {"-nodate", "-notime"},
       kOpening + counted(2) + kSorting,
       sorted},
  };
  for (const CompletedRun& c : cases) expectCompletedRun(c);
}

TEST(AdifDetectionE2e, ScreeningStillDecidesOtherLogs) {
  // "<EOR>" in a remark of a text log that does not begin with "<".
  const std::string text = "22-JUN-02 1432 14 SSB G4ABC <EOR>\n";
  LogRun run = runOnLog(text, {"-nodate", "-notime"});
  EXPECT_EQ(run.result.err.substr(0, 34), "Using column 0 (22-JUN-02) as date");
  EXPECT_EQ(run.files, filesAfterRun(text, {{"G.TXT", " 14 SSB G4ABC\n"}}));

  // An "<EOH>" past the first 64 KiB is not seen before screening, which
  // takes the callsign on the first line for a text log's first data line.
  const std::string late = "Logbook of K9CTS\n" + std::string(70000, ' ') + "\n<EOH>\n<CALL:4>K1AB <EOR>\n";
  run = runOnLog(late, {"-nodate", "-notime"});
  EXPECT_EQ(run.result.err,
            "Using column 2 (K9CTS) as callsign\n\nEach dot is 100 QSOs. Writing logs\n"
            "\n\n2 QSOs read\n\nSorting logs....\n");
  EXPECT_EQ(run.files, filesAfterRun(late, {{"K.TXT", "        K9CTS\n"}}));
}

}  // namespace
}  // namespace quorvel::testing
