// The program end to end: each test runs the built binary in a fresh
// folder and checks its exit status, both its streams and every file it
// leaves. The logs of every kind, the command line, failures, and the
// README's tour.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/harness.h"

namespace quorvel::testing {
namespace {

using namespace std::literals;

const std::string kWriting = "\nEach dot is 100 QSOs. Writing logs\n";
const std::string kSorting = "\nSorting logs....\n";
const std::string kTakenBack =
    "this run's contacts were taken out of the bucket files again: run it again once the cause is mended\n";
std::string read(int count) { return "\n\n" + std::to_string(count) + " QSOs read\n"; }

// What an ADIF or a Cabrillo run prints on standard error, `count`
// contacts processed (-1: no count printed).
std::string adif(int count, const char* kind = "ADIF") {
  std::string counted = count < 0 ? "" : "\n\n" + std::to_string(count) + " QSOs processed\n";
  return "\n" + std::string(kind) + " format detected\n" + kWriting + counted + kSorting;
}
std::string cabrillo(int count) { return adif(count, "Cabrillo"); }

// What a column text run prints on standard error when its first data line
// is "22-JUN-02 1432 14 SSB " and `callsign`, up to the count.
std::string columns(const std::string& callsign) {
  return "Using column 0 (22-JUN-02) as date\nUsing column 1 (1432) as time\nUsing column 2 (14) as band\n"
         "Using column 3 (SSB) as mode\nUsing column 4 (" +
         callsign + ") as callsign\n" + kWriting;
}

std::string repeat(std::string_view piece, std::size_t times) {
  std::string text;
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

// `files` with `changes` laid over them.
Files with(Files files, const Files& changes) {
  for (const auto& [name, content] : changes) files[name] = content;
  return files;
}

// Stands in an expected message for the folder the run works in, as its
// failure messages name it: nothing on POSIX systems, the full path on
// Windows.
const std::string kHere = "{here}";

// `text` with kHere made the way `dir` is named.
std::string namedIn(const ScratchDir& dir, std::string text) {
  for (std::size_t at; (at = text.find(kHere)) != std::string::npos;) text.replace(at, kHere.size(), dir.shown(""));
  return text;
}

// Runs the program with `arguments` in a folder that holds `before` (see
// ScratchDir::make), and checks its exit status, both its streams and
// everything the folder holds after.
void expectFolder(const Files& before, const std::vector<std::string>& arguments, int status, const std::string& out,
                  const std::string& err, const Files& after, long fileSizeLimit = 0) {
  ScratchDir dir;
  for (const auto& [name, content] : before) dir.write(name, content);
  Outcome got = runProgram(dir, arguments, fileSizeLimit);
  std::string trace = "in a folder of " + std::to_string(before.size()) + " files, with " + before.begin()->second;
  EXPECT_EQ(got.status, status) << trace;
  EXPECT_EQ(got.out, out) << trace;
  EXPECT_EQ(got.err, namedIn(dir, err)) << trace;
  EXPECT_EQ(dir.files(), after) << trace;
}

// A run of the program with `options` (blank-separated) on `log` that
// completes: standard error is `err`, standard output `dots` and the row of
// buckets, and the folder holds the log and the 36 lists, empty but for
// `lists`.
void expectRun(const std::string& options, const std::string& log, const std::string& err, const Files& lists,
               const std::string& dots = "") {
  std::istringstream words(options + " log");
  expectFolder({{"log", log}}, {std::istream_iterator<std::string>(words), {}}, 0, dots + bucketRow(), err,
               with(with(allBuckets("TXT"), lists), {{"log", log}}));
}

TEST(AdifE2e, RecordsAndTheirValues) {
  // Typed tags, values run into the next tag, names that begin like
  // another, and FREQ against BAND: a nine-character frequency moves its
  // callsign one column right, and it sorts by its callsign all the same.
  expectRun("",
            "Log of G4ZZZ, ADIF export\n<adif_ver:5>3.1.0 <eoh>\n"
            "<CALL:5>G4ABC<QSO_DATE:8:D>20240309<TIME_ON:6>181502<BAND:3>20m<MODE:5>psk31<EOR>\n"
            "<call:6>dl1xyz <qso_date_off:8>20250101 <qso_date:8>20240310 <time_on:3>930 <freq:6>14.025 "
            "<band_rx:3>40M <mode:5>PSK63 <eor>\n",
            adif(2),
            {{"G.TXT", " 20240309 1815       20 PSK G4ABC\n"}, {"D.TXT", " 20240310  930   14.025PSK63 DL1XYZ\n"}});
  expectRun("-nodate -notime",
            "<EOH>\n<CALL:4>K1AB <FREQ:5>7.010 <BAND:4>70CM <EOR>\n"
            "<CALL:4>K1AC <BAND:3>40M\n<FREQ:9>14.195000 <EOR>\n<CALL:4>K1AD <BAND:2>2m <EOR>\n",
            adif(3), {{"K.TXT", "     70C     K1AB\n14.195000     K1AC\n       2     K1AD\n"}});
  // A missing date is the last one read, and so is an empty one; a record
  // without CALL is counted and written nowhere.
  expectRun("-notime",
            "<EOH>\n<CALL:4>K1AB <QSO_DATE:8>20240101 <EOR>\n<CALL:4>K1AC <EOR>\n<QSO_DATE:8>20240202 <EOR>\n"
            "<CALL:4>K1AD <QSO_DATE:0> <EOR>\n",
            adif(4),
            {{"K.TXT", " 20240101              K1AB\n 20240101              K1AC\n 20240202              K1AD\n"}});
  // A preamble holding a callsign, a record over several lines with empty
  // lines between, two on a line, CRLF line ends.
  expectRun("-nodate -notime",
            "Logbook of K9CTS\r\n<EOH>\r\n\r\n<CALL:5>\r\n\r\nG4ABC\r\n<CALL:5>G4XYZ\r\n\r\n<MODE:2>CW\r\n<EOR> "
            "trailing words\r\n"
            "<CALL:4>K1AB<EOR><call:4>W1AW<eor>",
            adif(3),
            {{"G.TXT", "          CW G4XYZ\n"}, {"K.TXT", "             K1AB\n"}, {"W.TXT", "             W1AW\n"}});
  expectRun("-nodate -notime -comment",
            "<EOH>\n<CALL:4>K1AB <COMMENT:14>Nice signal OM <EOR>\n<CALL:4>K1AC <EOR>\n"
            "<CALL:4>K1AD\n<COMMENT:7>2nd 50%\n<MODE:2>CW <EOR>\n<CALL:4>K1AE <COMMENT:40>runs past the end   \n<EOR>\n"
            "<CALL:4>K1AG <COMMENT:9>SEE <EOR> <MODE:2>CW\n<CALL:4>K1AF <COMMENT:2:S>OK<COMMENT:3>NO <EOR>\n",
            adif(6),
            {{"K.TXT",
              "             K1AB ** NICE SIGNAL OM\n             K1AC \n          CW K1AD ** 2ND 50%\n"
              "             K1AE ** RUNS PAST THE END   \n          CW K1AF ** OK\n"
              "             K1AG ** SEE <EOR>\n"}});
  // No header, a byte-order mark and blank lines first; lengths and values
  // written every way: signs, blanks, type indicators, junk, a negative or
  // too large number, control bytes, a tab.
  expectRun("-nodate -notime",
            "\xEF\xBB\xBF\n\n<call: +5:S>g4abc <mode:-3>CW <band:2;>20M <EOR>\n<CALL:12>G4ABC\x01/P X "
            "<MODE:999999999999999999999>SSB "
            "<EOR>\n<CALL:5>G4\tABC <BAND:123>  40M <EOR>\n",
            adif(3), {{"G.TXT", "      40     G4\n             G4ABC\n         SSB G4ABC\x01/P\n"}});
  // A free-text line over records without "<EOH>" is ADIF all the same; a
  // single character at the very end is no record.
  expectRun("", "ADIF export\n<CALL:4>K1AB <EOR>\n", adif(1), {{"K.TXT", std::string(28, ' ') + "K1AB\n"}});
  expectRun("-nodate -notime", "<EOH>\n<CALL:4>K1AB <EOR>\nx", adif(1), {{"K.TXT", "             K1AB\n"}});
  // Record lines are data, never commands: they reach no shell.
  expectRun("-nodate -notime -comment", "<EOH>\n<CALL:11>A$(touch_X) <COMMENT:12>; rm -rf . & <EOR>\n", adif(1),
            {{"A.TXT", "             A$(TOUCH_X) ** ; RM -RF . &\n"}});
  // A dot for every hundredth record, a new line after every 80th dot.
  std::string log = "<EOH>\n", k;
  for (int i = 0; i < 8000; ++i) log += "<CALL:4>K1AB<EOR>\n", k += "             K1AB\n";
  expectRun("-nodate -notime", log, adif(8000), {{"K.TXT", k}}, std::string(80, '.') + "\n");
}

// ADIF logs as downloads and hand edits leave them: each loses no contact
// and counts what it read. A file that ends inside a record holding a
// CALL ends the run with status 1; a lost "<EOR>" is said once.
TEST(AdifE2e, DamagedFiles) {
  auto cut = [](const char* line) {
    return "error reading file log at line "s + line +
           ": the file ends inside a record; the record was read as it stands\n";
  };
  const std::string lostEnd = "missing <EOR> in file log before line ";
  const std::string ownLine = ": the record before it was read as a contact of its own\n";
  const std::tuple<const char*, int, const char*, std::string, int> cases[] = {
      {"Log of G4ZZZ\n<EOH>\n<CALL:4>K1AB <EOR>\n<CALL:4>K1AC <MODE:2>CW <EO", 2,
       "             K1AB\n          CW K1AC\n", cut("4"), 1},
      {"<EOH><CALL:4>K1AB <MODE:2>CW\n<CALL:4>K1AC\n", 2, "          CW K1AB\n             K1AC\n",
       lostEnd + "2" + ownLine + cut("2"), 1},
      {"<EOH>\n<CALL:4>K1AB\n<MODE:2>CW\n<CALL:4>K1AC\n<MODE:3>SSB\n<EOR>\n<CALL:4>K1AD <MODE:2>FM\n"
       "<CALL:4>K1AE <EOR>\n",
       4, "          CW K1AB\n         SSB K1AC\n          FM K1AD\n             K1AE\n", lostEnd + "4" + ownLine, 0},
      // LoTW's trailer, trailing text: no record.
      {"<EOH>\n<CALL:4>K1AB <EOR>\n<APP_LoTW_EOF>\n", 1, "             K1AB\n", "", 0},
      {"<EOH>\n<CALL:4>K1AB <EOR>\n<CALL:4>K1AC <EOR> end of log\n", 2, "             K1AB\n             K1AC\n", "",
       0},
      // Empty values take nothing and replace nothing; millimetre bands
      // stay whole.
      {"<EOH>\n<CALL:4>K1AB <BAND:0> <FREQ:6>14.025 <EOR>\n<CALL:4>K1AC <BAND:0><EOR>\n"
       "<CALL:4>K1AD <BAND:3>20M\n<FREQ:0> <MODE:0>\n<EOR>\n",
       3, "  14.025     K1AB\n             K1AC\n      20     K1AD\n", "", 0},
      {"<EOH>\n<CALL:4>K1AB <BAND:3>6mm <EOR>\n<CALL:4>K1AC <BAND:5>SUBMM <EOR>\n<CALL:4>K1AD <BAND:2>6m <EOR>\n", 3,
       "     6MM     K1AB\n   SUBMM     K1AC\n       6     K1AD\n", "", 0},
  };
  for (const auto& [log, count, lines, messages, status] : cases) {
    std::string err = adif(count);
    err.insert(err.size() - kSorting.size(), messages);
    expectFolder({{"log", log}}, {"log", "-nodate", "-notime"}, status, bucketRow(), err,
                 with(allBuckets("TXT"), {{"log", log}, {"K.TXT", lines}}));
  }
}

// The ADX example and its ADIF twin write the same lists; an ADX log cut
// short, or one whose entities would grow without end, keeps the records
// before its fault and ends the run with a word and status 1.
TEST(AdxE2e, ListsOfTheAdifTwinAndFaults) {
  const std::string adx = readFile(QUORVEL_EXAMPLES "/contest-weekend.adx");
  for (const char* option : {"-notime", "-comment"}) {
    ScratchDir twin;
    twin.write("log", readFile(QUORVEL_EXAMPLES "/contest-weekend.adi"));
    ASSERT_EQ(runProgram(twin, {"log", option}).status, 0);
    expectFolder({{"log", adx}}, {"log", option}, 0, bucketRow(), adif(7, "ADX"), with(twin.files(), {{"log", adx}}));
  }
  const std::string start = "<?xml version=\"1.0\"?>\n<ADX><RECORDS>\n<RECORD><CALL>G4ABC</CALL></RECORD>\n";
  std::string laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE ADX [<!ENTITY a0 \"LOL\">";
  for (int i = 1; i < 40; ++i) {
    laughs += "<!ENTITY a" + std::to_string(i) + " \"" + std::string(10, ' ');
    for (int k = 0; k < 10; ++k) laughs += "&a" + std::to_string(i - 1) + ";";
    laughs += "\">";
  }
  laughs += "]>\n" + start.substr(22) + "<RECORD><CALL>&a39;</CALL></RECORD></RECORDS></ADX>\n";
  const std::tuple<std::string, std::string> faults[] = {
      {start + "<RECORD><CALL>K1A", "line 4: no element found"},
      {laughs, "line 5: limit on input amplification factor (from DTD and entities) breached"}};
  for (const auto& [log, fault] : faults) {
    expectFolder({{"log", log}}, {"log", "-nodate", "-notime"}, 1, bucketRow(),
                 "\nADX format detected\n" + kWriting + "error reading file log at " + fault +
                     "; the contacts before it were read\n" + kSorting,
                 with(allBuckets("TXT"), {{"log", log}, {"G.TXT", "             G4ABC\n"}}));
  }
}

// A contact line whose every token after the first four names its place,
// so the record line shows which token was taken for the callsign.
const std::string kContact = "QSO: 14025 CW 2024-11-23 1200 K5 K6 K7 K8 K9 K10 K11 K12 K13 K14 K15\n";
std::string header(const std::string& lines) { return "START-OF-LOG: 3.0\nCALLSIGN: G4ZZZ\n" + lines; }
std::string record(const std::string& callsign) { return "2024-11-23 1200    14025  CW " + callsign + "\n"; }

TEST(CabrilloE2e, ContestNameChoosesTheCallsignToken) {
  // The last line that names a contest decides; names count only at the
  // start of the line, in any letter case.
  const std::pair<std::string, std::string> cases[] = {{"", "K8"},
                                                       {"CONTEST: ARRL-SS-CW\n", "K10"},
                                                       {"CONTEST: ARRL-VHF-SEP\n", "K7"},
                                                       {"contest: cq-ww-rtty\n", "K9"},
                                                       {"CONTEST:RSGB-IOTA\nCONTEST: CQ-WPX-CW\n", "K8"},
                                                       {"CONTEST: ARRL-SS-CW\nCONTEST:\n", "K10"},
                                                       {"X-CONTEST: ARRL-SS-CW\n", "K8"}};
  for (const auto& [lines, callsign] : cases) {
    expectRun("", header(lines) + kContact + "END-OF-LOG:\n", cabrillo(1), {{"K.TXT", record(callsign)}});
  }
}

TEST(CabrilloE2e, HeaderRulesCountsAndEnds) {
  // A contest line after the first "QSO:" changes nothing; only contact
  // lines are counted; a remark holding "QSO:" ends the header.
  expectRun(
      "",
      header("SOAPBOX: MY FIRST QSO: GREAT\n") + kContact + "CONTEST: ARRL-SS-CW\n\n\n" + kContact + "END-OF-LOG:\n",
      cabrillo(2), {{"K.TXT", record("K8") + record("K8")}});
  // Without a CONTEST: line, a worked call that is not the eighth token is
  // looked for.
  expectRun("-nodate -notime",
            header("") + "QSO: 14042 CW 1999-09-05 0000 N5TJ 1 JEFF TX N6TR 1 TREE OR\nEND-OF-LOG:\n", cabrillo(1),
            {{"N.TXT", "   14042  CW N6TR\n"}});
  // "END-OF-LOG:" is tested before parsing; without it the count is
  // printed all the same.
  expectRun("", header("") + kContact + "END-OF-LOG: QSO: 1 2 3 4 5 6 7 W1AW\n", cabrillo(1),
            {{"K.TXT", record("K8")}});
  expectRun("", header("") + kContact, cabrillo(1), {{"K.TXT", record("K8")}});
  // Lines ended by CR alone, as classic Mac OS wrote them.
  std::string macLog = header("CONTEST: ARRL-SS-CW\n") + kContact + kContact + "\nEND-OF-LOG:\n";
  std::replace(macLog.begin(), macLog.end(), '\n', '\r');
  expectRun("", macLog, cabrillo(2), {{"K.TXT", record("K10") + record("K10")}});
  expectRun("", header("") + "END-OF-LOG:\n", kSorting, {});  // no "QSO:" line at all
  // Short and long contact lines, PSK31: the five-letter mode moves W1AX
  // one column right, and it sorts by its callsign all the same.
  expectRun("-nodate -notime",
            header("") +
                "QSO: 7000 PSK31 2024-11-23 1200 A B C\nQSO: 7000 psk31 2024-11-23 1200 A B C W1AW\n"
                "QSO:7000\tPSK63  2024-11-23 1201 A B C W1AX D E F G H\nEND-OF-LOG:\n",
            cabrillo(3), {{"W.TXT", "    7000 PSK W1AW\n    7000PSK63 W1AX\n"}});
}

// Cabrillo files as hand edits and pastes leave them: the contacts are
// counted, QTC lines not; a "QSO:" line with nothing after it is skipped
// and named, and the run ends with status 1; a log pasted behind another
// is read with its own contest.
TEST(CabrilloE2e, DamagedFiles) {
  const std::string x = "X-" + kContact, qtc = "QTC: 14025 CW 2024-11-23 1200 K5 1/10 K7 K8 K9\n";
  const std::tuple<std::string, int, std::string, std::string, int> cases[] = {
      {header("") + kContact + "QSO:  \n" + x + "END-OF-LOG:\n", 2, record("K8") + record("K8"),
       "quorvel: Internal Error - empty QSO: line in file log at line 4 skipped; the rest of the log was read\n", 1},
      {header("") + kContact + qtc + qtc + "SOAPBOX: 73\nEND-OF-LOG:\n", 1, record("K8"), "", 0},
      {header("CONTEST: ARRL-SS-CW\n") + kContact + "END-OF-LOG:\n" + kContact + header("") + kContact +
           "END-OF-LOG:\n",
       2, record("K10") + record("K8"), "", 0},
  };
  for (const auto& [log, count, lines, messages, status] : cases) {
    std::string err = cabrillo(count);
    err.insert(err.size() - kSorting.size(), messages);
    expectFolder({{"log", log}}, {"log"}, status, bucketRow(), err,
                 with(allBuckets("TXT"), {{"log", log}, {"K.TXT", lines}}));
  }
}

TEST(ColumnE2e, HeadingsBandsModesShortLinesAndDots) {
  // The tab joins "7.040\tCW" into one token, so that line has no fifth
  // token and no callsign; nor have the two short lines after it. PSK63
  // and 24.5 move their callsigns one column right: they sort first.
  expectRun("",
            "My log\n\nDATE TIME BAND MODE CALL\n22-jun-02 1432 14 ssb gb4xyz 59 59\n"
            "22-JUN-02  1433   14.025   CW   G4ABC\n\fPage 2\n22-JUN-02 1434 24.5 PSK31 G4ABD\n"
            "22-JUN-02 1435 10.12 PSK63 G4ABE ADIF remark\n22-JUN-02 1436 7.040\tCW G4ABF\n22-JUN-02 1437 20M RTTY\n"
            "G4ABG 1438\n",
            columns("GB4XYZ") + read(7) + kSorting,
            {{"G.TXT",
              "22-JUN-02 1433  14  CW G4ABC\n22-JUN-02 1434 24.5 PSK G4ABD\n22-JUN-02 1435  10PSK63 G4ABE\n"
              "22-JUN-02 1432  14 SSB GB4XYZ\n"}});
  // The first data line counts: 200 of them make two dots.
  std::string log, g;
  for (int i = 0; i < 200; ++i) log += "22-JUN-02 1432 14 SSB GB4XYZ\n", g += "1432  14 SSB GB4XYZ\n";
  expectRun("-nodate", log, columns("GB4XYZ") + read(200) + kSorting, {{"G.TXT", g}}, "..");
  // A spreadsheet's CSV export: its header names the columns, a quoted
  // comment holds commas.
  expectRun("", "Call,Date,Time,Band,Mode,Comment\nK1ABC,2024-03-09,18:15,20M,CW,\"Tnx, 73, see you\"\n",
            "Using column 0 (K1ABC) as callsign\nUsing column 1 (2024-03-09) as date\nUsing column 2 (18:15) as time\n"
            "Using column 3 (20M) as band\nUsing column 4 (CW) as mode\n" +
                kWriting + read(1) + kSorting,
            {{"K.TXT", "2024-03-09 1815 20M  CW K1ABC\n"}});
  // A log's bytes never reach the terminal as controls.
  expectRun("-nodate -notime", "22-JUN-02 1432 \x1B[14 SSB G3ABC\n",
            "Using column 0 (22-JUN-02) as date\nUsing column 1 (1432) as time\nUsing column 2 (\\x1B[14) as band\n"
            "Using column 3 (SSB) as mode\nUsing column 4 (G3ABC) as callsign\n" +
                kWriting + read(1) + kSorting,
            {{"G.TXT", "\x1B[14 SSB G3ABC\n"}});
  // A callsign is never taken for the date.
  expectRun("-nodate -notime", "GB4XYZ 14 SSB\nG4ABC 7 CW\n",
            "Using column 0 (GB4XYZ) as callsign\nUsing column 1 (14) as band\nUsing column 2 (SSB) as mode\n" +
                kWriting + read(2) + kSorting,
            {{"G.TXT", "  7  CW G4ABC\n 14 SSB GB4XYZ\n"}});
}

// "Using column" lines for the roles of the first data row, in order.
std::string usingColumns(std::initializer_list<std::pair<int, std::string>> roles, const char* names) {
  std::string text;
  std::istringstream words(names);
  for (const auto& [column, value] : roles) {
    std::string role;
    words >> role;
    text += "Using column " + std::to_string(column) + " (" + value + ") as " + role + "\n";
  }
  return text + kWriting;
}

// Today's text logs: a CSV of many rows, one of them with a quote that
// never closes, named with its line; a name or place holding "call" or
// "page"; SOTA's CSV, the operator's own call on every row; a byte-order
// mark before a log without a header, blank-separated or CSV.
TEST(ColumnE2e, RowsAsTodaysExportsWriteThem) {
  std::string csv = "Call,Date,Time,Band,Mode,Comment\n", k;
  for (int i = 100; i < 400; ++i) {
    csv += "K1A" + std::to_string(i) + ",2024-03-09,1800,20M,CW," + (i == 250 ? "\"unbalanced\n" : "ok\n");
    k += "2024-03-09 1800 20M  CW K1A" + std::to_string(i) + "\n";
  }
  expectRun("", csv,
            usingColumns({{0, "K1A100"}, {1, "2024-03-09"}, {2, "1800"}, {3, "20M"}, {4, "CW"}},
                         "callsign date time band mode") +
                read(300) +
                "unclosed quote in file log at line 152: read as a character, the next line as a row of its own\n" +
                kSorting,
            {{"K.TXT", k}}, "...");
  const std::string dated = "2024-03-09 1830 14.250 SSB ";
  expectRun("-nodate",
            "Date Time Freq Mode Call Name QTH\n" + dated + "GM3ABC Callum Callander\n" + dated + "K7XYZ Bob Page AZ\n",
            usingColumns({{0, "2024-03-09"}, {1, "1830"}, {2, "14.250"}, {3, "SSB"}, {4, "GM3ABC"}},
                         "date time band mode callsign") +
                read(2) + kSorting,
            {{"G.TXT", "1830  14 SSB GM3ABC\n"}, {"K.TXT", "1830  14 SSB K7XYZ\n"}});
  expectRun("-notime",
            "V2,G4ABC/P,G/LD-001,09/03/24,1815,14MHz,CW,DL1XYZ,,\nV2,G4ABC/P,G/LD-001,09/03/24,1818,7MHz,CW,K1ABC,,\n",
            usingColumns({{3, "09/03/24"}, {4, "1815"}, {5, "14MHZ"}, {6, "CW"}, {7, "DL1XYZ"}},
                         "date time band mode callsign") +
                read(2) + kSorting,
            {{"D.TXT", " 09/03/24 14MHZ  CW DL1XYZ\n"}, {"K.TXT", " 09/03/24 7MHZ  CW K1ABC\n"}});
  expectRun("-nodate -notime", "\xEF\xBB\xBF 20CW  14-Jan-23 18:08 0001  W7SW\n",
            usingColumns({{0, "20CW"}, {0, "20CW"}, {1, "14-JAN-23"}, {2, "18:08"}, {4, "W7SW"}},
                         "band mode date time callsign") +
                read(1) + kSorting,
            {{"W.TXT", " 20  CW W7SW\n"}});
  expectRun("-nodate -notime",
            "\xEF\xBB\xBF"
            "2023-04-07,18:59:30,KG4LKY,28.076,FT8\n",
            usingColumns({{0, "2023-04-07"}, {1, "18:59:30"}, {2, "KG4LKY"}, {3, "28.076"}, {4, "FT8"}},
                         "date time callsign band mode") +
                read(1) + kSorting,
            {{"K.TXT", " 28 FT8 KG4LKY\n"}});
}

const std::string kUsage =
    "usage: quorvel [-nodate -notime -comment -lower] filename\n\n"
    "       -nodate:  produce output files with no date information\n"
    "       -notime:  produce output files with no time information\n"
    "       -comment: leave ADIF commemt lines in the output files\n"
    "       -lower:   create output files with lower case filenames\n"
    "       -unique:  write a line that stands more than once in a list once\n"
    "       -html:    also write LOOKUP.HTM, a page to look callsigns up in a browser\n"
    "       several logs may be named: all are read into the same lists\n";

// A column text log of two contacts, K1ABC and G4ABC.
const std::string kLog = "22-JUN-02 1432 14 SSB K1ABC\n22-JUN-02 1433 7 CW G4ABC\n";
const std::string kLogErr = columns("K1ABC") + read(2) + kSorting;
// The system's words for a file that is not there.
const std::string kNoSuchFile = kWindows ? "File not found." : "No such file or directory";
const std::string kK1abc = "22-JUN-02 1432  14 SSB K1ABC\n";
const std::string kG4abc = "22-JUN-02 1433   7  CW G4ABC\n";

// Runs that end before a bucket is made leave the folder as it was: no
// log named, help asked for, a log that cannot be opened among several, a
// log that is a file the run writes (on Windows in any letter case).
TEST(ProgramE2e, UsageBannerAndRunsThatReadNothing) {
  const std::string banner = "QZ9ZZ quorvel: Version 1.17 - 22/JUN/2002\n", own = "the run writes to it\n";
  const std::tuple<std::vector<std::string>, int, std::string, std::string> cases[] = {
      {{}, 1, "", kUsage},
      {{"log.txt", "-HeLp"}, 1, "", kUsage},
      {{"-nodate"}, 1, "", kUsage},
      {{"-v", "log.txt"}, 0, "", banner},
      {{"-Version"}, 0, "", banner},
      {{"--help"}, 0, kUsage, ""},
      {{"log.txt", "--VERSION"}, 0, banner, ""},
      {{"-?", "log.txt"}, 0, kUsage, ""},
      {{"/?"}, 0, kUsage, ""},
      {{"log.txt", "missing.log", "logs"},
       1,
       "",
       "unable to open file missing.log: " + kNoSuchFile + "\nunable to open file logs: Is a directory\n"},
      {{"G.TXT", "log.txt", "K.TMP"}, 1, "", "unable to read file G.TXT: " + own + "unable to read file K.TMP: " + own},
      {{"k.tmp"},
       1,
       "",
       kWindows ? "unable to read file k.tmp: " + own : "unable to open file k.tmp: " + kNoSuchFile + "\n"}};
  const Files folder = {
      {"logs", "<dir>"}, {"log.txt", kLog}, {"K.TMP", "22-JUN-02 1200  20  CW K0ZZ\n"}, {"G.TXT", "old\n"}};
  for (const auto& [arguments, status, out, err] : cases) expectFolder(folder, arguments, status, out, err, folder);
  // A log with no line worth reading leaves the folder as it was, a
  // leftover bucket included: an empty one silently, one whose text holds
  // no contact (titles above a header with no row below it) with a word
  // and status 1.
  const std::string noLog = "no contact read from file log: no line of it reads as a contact\n";
  for (const auto& [log, status, err] :
       {std::tuple{""s, 0, ""s},
        {"\xEF\xBB\xBF\r\n\n  \t\n"s, 0, ""s},
        {"\n\n  \nDATE TIME CALL\n599 599\n"s, 1, noLog},
        {"Station log of KE2DV\nLOGNAME: KE2DV.LOG\nDATE GMT CALLSIGN Band EMIS SENT RCVD NAME\n"s, 1, noLog},
        {"K1ABC;x;y\nCall;Date;Time\n\n"s, 1, noLog}}) {
    const Files before = {{"log", log}, {"K.TMP", folder.at("K.TMP")}};
    expectFolder(before, {"log"}, status, "", err, before);
  }
}

// Leftover bucket lines, one of them cut short by a crash, join the run.
// With -lower a second run replaces the first one's lists.
TEST(ProgramE2e, RunsLeaveThe36ListsOnly) {
  const Files logs = {{"log.txt", kLog}};
  expectFolder(
      with(logs, {{"K.TMP", "22-JUN-02 1200  20  CW K0ZZ\n22-JUN-02 1200  20  CW KZ9Z"}}), {"log.txt"}, 0, bucketRow(),
      kLogErr,
      with(with(allBuckets("TXT"), logs),
           {{"K.TXT", "22-JUN-02 1200  20  CW K0ZZ\n" + kK1abc + "22-JUN-02 1200  20  CW KZ9Z\n"}, {"G.TXT", kG4abc}}));
  const Files lists = with(with(allBuckets("TXT", true), logs), {{"k.txt", kK1abc}, {"g.txt", kG4abc}});
  expectFolder(with(lists, {{"k.txt", "old"}}), {"-Lower", "log.txt"}, 0, bucketRow(true), kLogErr, lists);
}

// What a log prints up to, not including, the sort.
std::string unsorted(const std::string& err) { return err.substr(0, err.size() - kSorting.size()); }

// A line or value past the readers' bound, between normal contacts, in a
// log of each kind: its first 4 MiB (a value's first 1 MiB, cut at a
// character) are kept, the rest read past, the contacts after it read, and
// the cut said once. ADIF and its ADX twin keep the same comment.
TEST(ProgramE2e, LinesAndValuesPastTheBound) {
  const std::string blob(5'000'000, 'x'), accents = "a" + repeat("\xC3\xA9", 2'500'000);
  const std::string kept = "A" + repeat("\xC3\xA9", 524'287);  // 1 MiB, back to the last whole character
  auto cut = [](const std::string& line, const std::string& what) {
    return "cut in file log at line " + line + ": the " + what + " is longer than " +
           (what == "line" ? "4 MiB, so only its first 4 MiB" : "1 MiB, so only its first 1 MiB") + " was kept\n";
  };
  auto before = [](std::string err, const std::string& notice) {
    return err.insert(err.size() - kSorting.size(), notice);
  };
  const std::string adifLines = "             K1AB ** OK!\n             K1AC ** " + kept + "\n             K1AD \n";
  const std::string csvHead = "Using column 0 (K1AB) as callsign\nUsing column 1 (2024-03-09) as date\n" + kWriting;
  const std::tuple<std::string, std::string, std::string, std::string> cases[] = {
      {"<EOH>\n<CALL:4>K1AB <COMMENT:3>ok! <EOR>\n<CALL:4>K1AC <COMMENT:5000001>" + accents +
           " <EOR>\n<CALL:4>K1AD <EOR>\n",
       "-comment", adifLines, before(adif(3), cut("3", "COMMENT"))},
      {"<?xml version=\"1.0\"?>\n<ADX><RECORDS><RECORD><CALL>K1AB</CALL><COMMENT>ok!</COMMENT></RECORD>\n"
       "<RECORD><CALL>K1AC</CALL><COMMENT>" +
           accents +
           "</COMMENT></RECORD>\n<RECORD><CALL>K1AD</CALL></RECORD>"
           "</RECORDS></ADX>\n",
       "-comment", adifLines, before(adif(3, "ADX"), cut("3", "COMMENT"))},
      {header("CONTEST: CQ-WW-CW\n") + "QSO: 14025 CW 2024-11-23 1200 G4ZZZ 599 14 K1AB 599 05 " + blob + "\n" +
           kContact,
       "", "   14025  CW K1AB\n   14025  CW K8\n", before(cabrillo(2), cut("4", "line"))},
      {"K1AB,2024-03-09," + blob + "\nK1AC,2024-03-09,x\n", "", "        K1AB\n        K1AC\n",
       csvHead + read(2) + cut("1", "line") + kSorting},
  };
  for (const auto& [log, option, lines, err] : cases) {
    std::vector<std::string> arguments = {"log", "-nodate", "-notime"};
    if (!option.empty()) arguments.push_back(option);
    expectFolder({{"log", log}}, arguments, 0, bucketRow(), err,
                 with(allBuckets("TXT"), {{"log", log}, {"K.TXT", lines}}));
  }
}

// Logs of every kind read into the same lists, each told apart and
// counted on its own; a text log's lines get the wide band field so that
// every callsign stands at one column, and each list is in callsign order
// (a Cabrillo line's stands one further, behind its longer date). A log
// with a fault (a "QSO:" line with nothing after it) is reported, the
// others are read all the same, and the run ends with status 1.
TEST(ProgramE2e, SeveralLogsShareTheLists) {
  const Files logs = {
      {"a.adi", "<EOH>\n<CALL:4>K1AB <QSO_DATE:8>20240309 <TIME_ON:4>1200 <BAND:3>20M <MODE:2>CW <EOR>\n"},
      {"b.log", header("") + "QSO: 14025 CW 2024-11-23 1200 G4ZZZ 599 K1AC 599\n" +
                    "QSO: 7025 CW 2024-11-23 1300 G4ZZZ 599 K1AA 599\nEND-OF-LOG:\n"},
      {"c.text", kLog},
      {"bad.log", header("") + kContact + "QSO:  \n" + kContact}};
  const std::string adifErr = unsorted(adif(1)), cabrilloErr = unsorted(cabrillo(2));
  expectFolder(
      logs, {"a.adi", "b.log", "c.text"}, 0, bucketRow(),
      adifErr + cabrilloErr + columns("K1ABC") + read(2) + kSorting + "5 QSOs read from 3 logs\n",
      with(with(allBuckets("TXT"), logs), {{"K.TXT",
                                            "2024-11-23 1300     7025  CW K1AA\n 20240309 1200       20  CW K1AB\n"
                                            "22-JUN-02 1432       14 SSB K1ABC\n2024-11-23 1200    14025  CW K1AC\n"},
                                           {"G.TXT", "22-JUN-02 1433        7  CW G4ABC\n"}}));
  expectFolder(logs, {"a.adi", "bad.log", "c.text"}, 1, bucketRow(),
               adifErr + unsorted(cabrillo(2)) +
                   "quorvel: Internal Error - empty QSO: line in file bad.log at line 4 skipped; the rest of the log "
                   "was read\n" +
                   columns("K1ABC") + read(2) + kSorting + "5 QSOs read from 3 logs\n",
               with(with(allBuckets("TXT"), logs),
                    {{"K.TXT", " 20240309 1200       20  CW K1AB\n22-JUN-02 1432       14 SSB K1ABC\n" + record("K8") +
                                   record("K8")},
                     {"G.TXT", "22-JUN-02 1433        7  CW G4ABC\n"}}));
  // A text log in which no column holds callsigns is reported, and the
  // other logs are read all the same.
  const Files noCallsign = {{"a", "22/JUN/02 1432 14 SSB\n"}, {"c.text", kLog}};
  expectFolder(noCallsign, {"a", "c.text"}, 1, bucketRow(),
               "Using column 0 (22/JUN/02) as date\nUsing column 1 (1432) as time\nUsing column 2 (14) as band\n"
               "Using column 3 (SSB) as mode\n" +
                   kWriting + read(1) + "no contact read from file a: no column holds callsigns\n" + columns("K1ABC") +
                   read(2) + kSorting + "3 QSOs read from 2 logs\n",
               with(with(allBuckets("TXT"), noCallsign), {{"K.TXT", "22-JUN-02 1432       14 SSB K1ABC\n"},
                                                          {"G.TXT", "22-JUN-02 1433        7  CW G4ABC\n"}}));
  // So is a file that is no log at all.
  const Files noLog = {{"a.adi", logs.at("a.adi")}, {"notes.txt", "shopping: milk, eggs\n"}, {"c.text", kLog}};
  expectFolder(noLog, {"a.adi", "notes.txt", "c.text"}, 1, bucketRow(),
               adifErr + "no contact read from file notes.txt: no line of it reads as a contact\n" + columns("K1ABC") +
                   read(2) + kSorting + "3 QSOs read from 3 logs\n",
               with(with(allBuckets("TXT"), noLog),
                    {{"K.TXT", " 20240309 1200       20  CW K1AB\n22-JUN-02 1432       14 SSB K1ABC\n"},
                     {"G.TXT", "22-JUN-02 1433        7  CW G4ABC\n"}}));
}

// -unique writes a line once however often it stands in a list: repeated
// in one log, across logs, or left in a bucket by an earlier run. A line
// that differs in anything stays; lines of one callsign come in the order
// of their whole text.
TEST(ProgramE2e, UniqueDropsRepeatedLines) {
  const std::string cw = "<CALL:4>K1AB <BAND:3>20M <MODE:2>CW <EOR>\n", k1ac = "      20  CW K1AC\n";
  const Files logs = {{"x.adi", "<EOH>\n" + cw + cw + "<CALL:4>K1AB <BAND:3>20M <MODE:3>SSB <EOR>\n"},
                      {"y.adi", "<EOH>\n" + cw + "<CALL:4>K1AC <BAND:3>20M <MODE:2>CW <EOR>\n"}};
  const Files lists = with(allBuckets("TXT"), logs);
  const std::string k1ab = "      20  CW K1AB\n      20 SSB K1AB\n";
  expectFolder(with(logs, {{"K.TMP", k1ac}}), {"-nodate", "-notime", "x.adi", "-UNIQUE", "y.adi"}, 0, bucketRow(),
               unsorted(adif(3)) + unsorted(adif(2)) + kSorting + "5 QSOs read from 2 logs, 3 repeated lines dropped\n",
               with(lists, {{"K.TXT", k1ab + k1ac}}));
  expectFolder(logs, {"-unique", "-nodate", "-notime", "x.adi"}, 0, bucketRow(),
               adif(3) + "3 QSOs read from 1 log, 1 repeated lines dropped\n", with(lists, {{"K.TXT", k1ab}}));
}

// A log saved as UTF-16, as Windows tools save "Unicode" text, with a
// byte-order mark of either order or none, gives just what the same log in
// UTF-8 gives.
TEST(ProgramE2e, Utf16LogsReadAsUtf8) {
  auto utf16 = [](const std::string& ascii, const std::string& mark, bool bigEndian) {
    std::string saved = mark;
    for (char c : ascii) saved += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    return saved;
  };
  for (const char* example : {"/contest-weekend.adi", "/field-day.log", "/paper-log.txt"}) {
    const std::string log = readFile(QUORVEL_EXAMPLES + std::string(example));
    ScratchDir plain;
    plain.write("log", log);
    const Outcome want = runProgram(plain, {"log"});
    for (const auto& [mark, bigEndian] : {std::pair{"\xFF\xFE", false}, {"\xFE\xFF", true}, {"", false}}) {
      const std::string saved = utf16(log, mark, bigEndian);
      expectFolder({{"log", saved}}, {"log"}, 0, want.out, want.err, with(plain.files(), {{"log", saved}}));
    }
  }
  // A last line cut in the middle of a character ends in U+FFFD.
  const std::string cut = kLog.substr(0, kLog.size() - 1);
  ScratchDir plain;
  plain.write("log", cut + "\xEF\xBF\xBD");
  const Outcome want = runProgram(plain, {"log"});
  const std::string saved = utf16(cut, "\xFF\xFE", false) + "X";
  expectFolder({{"log", saved}}, {"log"}, 0, want.out, want.err, with(plain.files(), {{"log", saved}}));
}

// Something planted where the run writes, in a folder others can write
// to: a link to a file outside it, a dangling link, a pipe, a folder, each
// under the name of a bucket, of a list and of a list's temporary name.
// Nothing is written through a link, nothing blocks, the target is as it
// was; only a stale temporary list is cleared away.
TEST(ProgramE2e, NeverWritesThroughWhatIsPlanted) {
  ScratchDir outside;
  outside.write("victim", "keep me\n");
  // Windows gives links to administrators only, and has no named pipes
  // in folders.
  std::vector<std::string> plants = {"<dir>"};
  if (!kWindows)
    plants.insert(plants.end(),
                  {"<link:" + outside.path() + "/victim>", "<fifo>", "<link:" + outside.path() + "/missing>"});
  for (const std::string& planted : plants) {
    const Files made = {{"log.txt", kLog}, {"K.TMP", planted}};
    // A folder, a link, a pipe: Windows refuses a folder the way it
    // refuses every file it will not give.
    const std::string refused =
        planted == "<dir>" ? kWindows ? "Access denied." : "Is a directory" : "not a regular file";
    expectFolder(made, {"log.txt"}, 1, "", "unable to create file " + kHere + "K.TMP: " + refused + "\n", made);
    Files sorted = with(allBuckets("TXT"), {{"log.txt", kLog}, {"K.TXT", kK1abc}, {"G.TXT", kG4abc}}), kept = sorted;
    kept.erase("K.TXT");
    kept["K.TMP"] = "";
    const bool folder = planted == "<dir>";
    expectFolder({{"log.txt", kLog}, {"K.TXT", planted}}, {"log.txt"}, 1, bucketRow(),
                 kLogErr + "unable to sort file " + kHere +
                     "K.TMP: K.TXT: " + (folder ? "Is a directory" : "not a regular file") + "\n" + kTakenBack,
                 with(kept, {{"K.TXT", planted}}));
    expectFolder({{"log.txt", kLog}, {"K.TXT.part", planted}}, {"log.txt"}, folder, bucketRow(),
                 kLogErr + (folder ? "unable to sort file " + kHere +
                                         "K.TMP: " + (kWindows ? "File exists." : "File exists") + "\n" + kTakenBack
                                   : ""),
                 folder ? with(kept, {{"K.TXT.part", "<dir>"}}) : sorted);
    EXPECT_EQ(outside.files(), (Files{{"victim", "keep me\n"}}));
  }
  // The log itself may be a pipe, as in `quorvel <(zcat old.adi.gz)`.
  if (kWindows) return;
  ScratchDir dir;
  dir.write("pipe", "<fifo>");
  std::thread writer([&dir] { std::ofstream(dir.path() + "/pipe") << kLog; });
  Outcome got = runProgram(dir, {"pipe"});
  writer.join();
  EXPECT_EQ(got.status, 0);
  EXPECT_EQ(got.err, kLogErr);
  EXPECT_EQ(dir.files(), with(allBuckets("TXT"), {{"K.TXT", kK1abc}, {"G.TXT", kG4abc}, {"pipe", "<fifo>"}}));
}

// -html writes the lookup page beside the lists, each line's fields
// parted by tabs, a bucket line left by another run whole with its
// callsign, and the log's counts: never through what is planted at its
// name.
TEST(ProgramE2e, HtmlWritesTheLookupPage) {
  const std::string leftover = "22-JUN-02 1432  14SSB   K1OLD";
  for (const char* page : {"LOOKUP.HTM", "lookup.htm"}) {
    ScratchDir dir;
    dir.write("log.txt", kLog);
    const bool lower = page[0] == 'l';
    // A tab would part a field on the page: a line holding one stays whole.
    dir.write(lower ? "k.tmp" : "K.TMP", leftover + "\n22-JUN-02 1432  14 SSB K1T\tAB\n");
    Outcome got = runProgram(dir, lower ? std::vector<std::string>{"-HTML", "-lower", "log.txt"}
                                        : std::vector<std::string>{"log.txt", "-html"});
    std::string lists;
    for (char c : std::string("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ")) {
      lists += c == 'G'   ? R"(,"G4ABC\t20020622\t1433\t7\tCW")"
               : c == 'K' ? R"(,"K1ABC\t20020622\t1432\t14\tSSB\nK1OLD\t\u0001)" + leftover +
                                R"(\nK1T\t\u000122-JUN-02 1432  14 SSB K1T\u0009AB")"
                          : ",\"\"";
    }
    const std::string html = dir.files()[page];
    EXPECT_EQ(got.status, 0);
    EXPECT_EQ(got.err, kLogErr);
    EXPECT_EQ(dir.files().size(), 38u);
    EXPECT_EQ(html.substr(0, 16), "<!DOCTYPE html>\n");
    EXPECT_NE(
        html.find(
            "\"lists\":[" + lists.substr(1) +
            R"(],"sorted":[true,true,true,true,true,true,true,true,true,true,true,true,true,true,true,true,true,true,true,true,true,true,true,true,true,true,true,true,true,true,true,true,true,true,true,true],"bandOf":{"14":8,"7":6},"overview":{"bands":[["40M",1],["20M",1],["other",2]],"modes":[["other",2],["CW",1],["SSB",1]],"years":[["2002",2],["unknown",2]],"calls":[["G4ABC",1],["K1ABC",1],["K1OLD",1],["K1T",1]]}}</script>)"),
        std::string::npos);
    EXPECT_NE(html.find(lower ? "\"names\":[\"0.txt\"" : "\"names\":[\"0.TXT\""), std::string::npos);
  }
  ScratchDir outside;
  outside.write("victim", "keep me\n");
  Files sorted = with(allBuckets("TXT"), {{"log.txt", kLog}, {"K.TXT", kK1abc}, {"G.TXT", kG4abc}});
  for (const std::string& planted : {std::string("<dir>"), "<link:" + outside.path() + "/victim>"}) {
    if (kWindows && planted != "<dir>") continue;
    expectFolder({{"log.txt", kLog}, {"LOOKUP.HTM", planted}}, {"-html", "log.txt"}, 1, bucketRow(),
                 kLogErr + "unable to create file " + kHere +
                     "LOOKUP.HTM: " + (planted != "<dir>" ? "not a regular file" : "Is a directory") + "\n",
                 with(sorted, {{"LOOKUP.HTM", planted}}));
  }
  EXPECT_EQ(outside.files(), (Files{{"victim", "keep me\n"}}));
}

// A full disk: while bucketing, the bucket keeps whole lines only; while
// sorting, a leftover bucket larger than the limit keeps its bucket file,
// and the other buckets are sorted. Windows has no file-size limit to fill
// the disk with, but a list another program holds open (a spreadsheet
// showing it) cannot be replaced there: its bucket is kept the same way.
// Elsewhere such a list is replaced.
TEST(ProgramE2e, FullDiskOrAListHeldOpenKeepsWholeLinesAndBuckets) {
  ScratchDir held;
  held.write("log.txt", kLog);
  held.write("K.TXT", "old\n");
  std::ifstream reader(std::filesystem::path(held.path()) / "K.TXT");
  Outcome got = runProgram(held, {"log.txt"});
  Files sorted = with(allBuckets("TXT"), {{"log.txt", kLog}, {"K.TXT", kK1abc}, {"G.TXT", kG4abc}});
  EXPECT_EQ(got.status, int{kWindows});
  EXPECT_EQ(got.err, kLogErr + (kWindows ? "unable to sort file " + held.shown("K.TMP") +
                                               ": another program has K.TXT open\n" + kTakenBack
                                         : ""));
  EXPECT_EQ(held.files(), kWindows ? with(sorted, {{"K.TXT", "old\n"}, {"K.TMP", ""}}) : sorted);
  if (kWindows) return;
  std::string log, leftover;
  for (int i = 0; i < 5000; ++i) log += "22-JUN-02 1432 14 SSB K1A" + std::to_string(i) + "\n";
  ScratchDir dir;
  dir.write("log.txt", log);
  // A run that fails takes its contacts out of the buckets again: the
  // same run made once there is room gives the lists of one clean run.
  ScratchDir clean;
  clean.write("log.txt", log);
  const Outcome once = runProgram(clean, {"log.txt"});
  got = runProgram(dir, {"log.txt"}, 100000);
  EXPECT_EQ(got.status, 1);
  EXPECT_TRUE(got.err.ends_with("unable to create file K.TMP: File too large\n" + kTakenBack)) << got.err;
  EXPECT_EQ(dir.files(), (Files{{"log.txt", log}}));
  EXPECT_EQ(runProgram(dir, {"log.txt"}).err, once.err);
  EXPECT_EQ(dir.files(), clean.files());
  for (int i = 0; i < 10; ++i) leftover += "22-JUN-02 1200  20  CW W" + std::to_string(9 - i) + "ZZ\n";
  Files after = with(allBuckets("TXT"), {{"log.txt", kLog}, {"W.TMP", leftover}, {"K.TXT", kK1abc}, {"G.TXT", kG4abc}});
  after.erase("W.TXT");
  expectFolder({{"log.txt", kLog}, {"W.TMP", leftover}}, {"log.txt"}, 1, bucketRow(),
               kLogErr + "unable to sort file W.TMP: File too large\n", after, 250);
}

// A run ended dead (a kill, a power cut) while it reads, while it sorts,
// between lists or while it deletes its buckets leaves nothing that changes
// the next run on the same log: its appends are undone, or its deletions
// finished, also over the leftover bucket of an earlier failed run.
TEST(ProgramE2e, AnInterruptedRunIsUndoneOrFinishedByTheNext) {
  std::string log;  // two buckets of 90 kB, each written once while reading
  for (int i = 0; i < 6000; ++i) log += "22-JUN-02 1432 14 SSB " + std::string(i % 2 ? "K1A" : "G4A") + "\n";
  const std::string leftover = "22-JUN-02 1200  20  CW K9ZZ\n";
  const std::tuple<RunPoint, int, std::string> kills[] = {{RunPoint::BucketWritten, 1, "undone"},
                                                          {RunPoint::ListWritten, 1, "undone"},
                                                          {RunPoint::ListWritten, 20, "undone"},
                                                          {RunPoint::BucketDeleted, 5, "finished"}};
  // Leftovers in the first bucket and in one that the run writes to.
  for (const Files& before :
       {Files{{"log", log}}, Files{{"log", log}, {"K.TMP", leftover}, {"0.TMP", "22-JUN-02 1200  20  CW 0Z9ZZ\n"}}}) {
    ScratchDir whole;
    for (const auto& [name, content] : before) whole.write(name, content);
    const Outcome once = runProgram(whole, {"log"});
    const Files onceFiles = whole.files();
    // A run that had written every list had done its work: the next one
    // is a second run, which no longer finds the leftover bucket.
    (void)runProgram(whole, {"log"});
    for (const auto& [point, count, outcome] : kills) {
      ScratchDir dir;
      for (const auto& [name, content] : before) dir.write(name, content);
      EXPECT_EQ(runKilledAt(dir, point, count, {"log"}).status, 137);
      Outcome again = runProgram(dir, {"log"});
      EXPECT_EQ(again.err, "an interrupted run was " + outcome + "\n" + once.err) << outcome << count;
      EXPECT_TRUE(dir.files() == (outcome == "finished" ? whole.files() : onceFiles)) << outcome << count;
    }
  }
  // A journal that cannot be read, or that names a bucket longer than it
  // is, is reported and changes nothing.
  const std::string header = "quorvel bucket sizes before the run\n";
  for (const auto& [journal, message] :
       {std::pair{header + "K.TMP 99\nend\n",
                  "unable to undo an interrupted run: K.TMP is shorter than QUORVEL.JNL says, so the bucket files no "
                  "longer match it;\n"},
        std::pair{header + "K.TMP 28\nend\nlists\n",
                  "unable to read file QUORVEL.JNL: it is no journal of an interrupted run;\n"}}) {
    Files before = {{"log", log}, {"K.TMP", leftover}, {"QUORVEL.JNL", journal}};
    expectFolder(before, {"log"}, 1, "", std::string(message) + "check the lists, then delete QUORVEL.JNL to go on\n",
                 before);
  }
}

// Runs in one folder take turns: a run started while another holds the
// folder waits for it, and both logs end up in the lists as if the runs
// had been made one after the other. The first is held with every list
// written, its journal still there; the second is seen to wait.
TEST(ProgramE2e, RunsInOneFolderTakeTurns) {
  std::string other = kLog;
  other.replace(other.find("K1ABC"), 5, "K1ABD");
  ScratchDir dir, oneByOne;
  for (const ScratchDir* folder : {&dir, &oneByOne}) folder->write("one.log", kLog), folder->write("two.log", other);
  const Outcome a = runProgram(oneByOne, {"one.log"}), b = runProgram(oneByOne, {"two.log"});
  Outcome first, second;
  std::thread firstRun([&] { first = runHeldAt(dir, RunPoint::RunEnding, 1, "held", {"one.log"}); });
  const bool held = waitForFile(dir, "held");
  std::thread secondRun([&] { second = runHeldAt(dir, RunPoint::FolderBusy, 1, "waiting", {"two.log"}); });
  const bool waited = held && waitForFile(dir, "waiting");
  std::filesystem::remove(std::filesystem::path(dir.path()) / "waiting");
  std::filesystem::remove(std::filesystem::path(dir.path()) / "held");
  firstRun.join();
  secondRun.join();
  EXPECT_TRUE(held && waited) << first.out << first.err << first.status;
  EXPECT_EQ(first.err, a.err);
  EXPECT_EQ(second.err, "waiting for another quorvel run in this folder\n" + b.err);
  EXPECT_EQ(first.status + second.status, 0);
  EXPECT_EQ(dir.files(), oneByOne.files());
}

// Started on its own, as Explorer starts a double-click or a log dropped
// on it: with no log, the usage and how to drop one; with a log dropped
// (given by its full path, in another current folder), the lists go
// beside the log, and the run says where. It waits for Enter only on a
// console, which these runs have not.
TEST(ProgramE2e, DoubleClickAndDropOnWindows) {
  if (!startProgramsAlone(true)) GTEST_SKIP() << "a start from Explorer is Windows' own";
  ScratchDir current, logs;
  logs.write("log.txt", kLog);
  const std::string close = "press Enter to close this window\n";
  Outcome click = runProgram(current, {});
  Outcome drop = runProgram(current, {logs.shown("log.txt")});
  (void)startProgramsAlone(false);
  EXPECT_EQ(click.status, 1);
  EXPECT_EQ(click.err, kUsage + "to read a log, drop its file on quorvel.exe\n" + close);
  EXPECT_EQ(drop.status, 0);
  EXPECT_EQ(drop.err, kLogErr + "the lists are in " + logs.shown("") + "\n" + close);
  EXPECT_EQ(current.files(), Files{});
  EXPECT_EQ(logs.files(), with(allBuckets("TXT"), {{"log.txt", kLog}, {"K.TXT", kK1abc}, {"G.TXT", kG4abc}}));
}

// A folder the run may not write in (the system's own, as System32 is to
// a Windows user) fails at the lock, named with the system's reason.
TEST(ProgramE2e, AFolderThatCannotBeWrittenIn) {
  ScratchDir logs;
  logs.write("log.txt", kLog);
  Outcome got = runProgram(kWindows ? "Z:\\sys" : "/sys", {logs.path() + "/log.txt"});
  EXPECT_EQ(got.status, 1);
  EXPECT_EQ(got.err, kWindows ? "unable to create file Z:\\sys\\QUORVEL.LCK: Access denied.\n"
                              : "unable to create file QUORVEL.LCK: Permission denied\n");
  EXPECT_EQ(logs.files(), (Files{{"log.txt", kLog}}));
}

// The lists and buckets end their lines as the system's text files do,
// whatever line ends a leftover bucket had; a log's name is taken as typed,
// in any script.
TEST(ProgramE2e, SystemLineEndsAndUnicodeNames) {
  ScratchDir dir;
  dir.write("Ström 2024.adi", "<EOH>\n<CALL:4>K1AB <BAND:3>20M <MODE:2>CW <EOR>\n");
  dir.write("日本.log", kLog);
  dir.write("K.TMP", "      20  CW K1AA\n");
  EXPECT_EQ(runProgram(dir, {"Ström 2024.adi", "Журнал.adi"}).err,
            "unable to open file Журнал.adi: " + kNoSuchFile + "\n");
  Outcome got = runProgram(dir, {"-nodate", "-notime", "Ström 2024.adi", "日本.log"});
  EXPECT_EQ(got.status, 0);
  EXPECT_EQ(got.err.substr(got.err.size() - 24), "3 QSOs read from 2 logs\n");
  const std::string end(kLineEnd);
  EXPECT_EQ(readFile(dir.path() + "/K.TXT"),
            "      20  CW K1AA" + end + "      20  CW K1AB" + end + "      14 SSB K1ABC" + end);
}

// Every log excerpt, console transcript and list the README shows, each
// behind a "<!-- kind: arguments -->" mark, is checked against the bundled
// examples and the real program run with those arguments.
TEST(ProgramE2e, ReadmeShowsRealLogsAndRealOutput) {
  std::istringstream readme(readFile(QUORVEL_SOURCE_DIR "/README.md"));
  int blocks = 0;
  for (std::string line; std::getline(readme, line);) {
    if (line.rfind("<!-- ", 0) != 0) continue;
    std::istringstream mark(line.substr(5));
    std::string kind, shown, command = "$ quorvel", got;
    std::vector<std::string> arguments;
    ScratchDir dir;
    mark >> kind;
    for (std::string word; mark >> word && word != "-->";) {
      arguments.push_back(word), command += " " + word;
      if (word[0] != '-') dir.write(word, readFile(QUORVEL_EXAMPLES "/" + word));
    }
    std::getline(readme, line);  // the opening fence
    while (std::getline(readme, line) && line.rfind("```", 0) != 0) shown += line + "\n";
    Outcome run = runProgram(dir, arguments, 0, true);
    Files files = dir.files();
    if (kind == "log:") got = files[arguments[0]].substr(0, shown.size());
    if (kind == "console:") got = command + "\n" + run.out;
    // A files block shows lists, each behind its "$ cat".
    for (std::size_t at = 0; kind == "files:" && (at = shown.find("$ cat ", at)) != std::string::npos; at += 6) {
      std::string name = shown.substr(at + 6, shown.find('\n', at) - at - 6);
      got += "$ cat " + name + "\n" + files[name];
    }
    EXPECT_EQ(shown, got) << kind << " " << command;
    EXPECT_EQ(run.status, 0) << kind << " " << command;
    ++blocks;
  }
  EXPECT_GE(blocks, 11);
}

}  // namespace
}  // namespace quorvel::testing
