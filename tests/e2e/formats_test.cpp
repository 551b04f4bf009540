// Logs of every kind end to end: ADIF, ADX, Cabrillo, REG1TEST and column text logs
// as logging programs, downloads and hand edits leave them, in UTF-8 or
// UTF-16, each run by
// the built binary in a fresh folder, its status, streams and every file
// it leaves checked.
#include <algorithm>

#include "e2e/e2e.h"

namespace quorvel::testing {
namespace {

using namespace std::literals;

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
  expectRun("--nodate --NOTIME",
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
  // What looks like a tag within a value's declared length is data; a
  // length that does not land on a value's end is read as ever.
  expectRun("-nodate -notime --comment",
            "<EOH>\n<CALL:4>K1AB <COMMENT:14>Nice signal OM <EOR>\n<CALL:4>K1AC <EOR>\n"
            "<CALL:4>K1AD\n<COMMENT:7>2nd 50%\n<MODE:2>CW <EOR>\n<CALL:4>K1AE <COMMENT:40>runs past the end   \n<EOR>\n"
            "<CALL:4>K1AG <COMMENT:9>SEE <EOR> <MODE:2>CW <EOR>\n<CALL:4>K1AF <COMMENT:2:S>OK<COMMENT:3>NO <EOR>\n"
            "<COMMENT:14>ASK <CALL:2>XY <CALL:4>K1AI <EOR>\n<CALL:4>K1AH <COMMENT:3>A<EOR>\n",
            adif(8),
            {{"K.TXT",
              "             K1AB ** NICE SIGNAL OM\n             K1AC \n          CW K1AD ** 2ND 50%\n"
              "             K1AE ** RUNS PAST THE END   \n             K1AF ** OK\n          CW K1AG ** SEE <EOR>\n"
              "             K1AH ** A<E\n             K1AI ** ASK <CALL:2>XY\n"}});
  // No header, a byte-order mark and blank lines first; lengths and values
  // written every way: signs, blanks, type indicators, junk, a negative or
  // too large number, control bytes, a tab.
  expectRun("-nodate -notime",
            "\xEF\xBB\xBF\n\n<call: +5:S>g4abc <mode:-3>CW <band:2;>20M <EOR>\n<CALL:12>G4ABC\x01/P X "
            "<MODE:999999999999999999999>SSB "
            "<EOR>\n<CALL:5>G4\tABC <BAND:123>  40M <EOR>\n",
            adif(3), {{"G.TXT", "      40     G4\n             G4ABC\n         SSB G4ABC\x01/P\n"}});
  // A free-text line over records without "<EOH>" is ADIF all the same.
  expectRun("", "ADIF export\n<CALL:4>K1AB <EOR>\n", adif(1), {{"K.TXT", std::string(28, ' ') + "K1AB\n"}});
  // Record lines are data, never commands: they reach no shell, nor read
  // as a bucket line's told place. A single character at the very end is
  // no record.
  expectRun("-nodate -notime -comment",
            "<EOH>\n<CALL:11>A$(touch_X) <COMMENT:12>; rm -rf . & <EOR>\n<CALL:2>A1 <COMMENT:3>x\x1F\x31<EOR>\nx",
            adif(2), {{"A.TXT", "             A$(TOUCH_X) ** ; RM -RF . &\n             A1 ** X\x1F\x31\n"}});
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
  // and 24.5 move their callsigns right; they sort by them all the same.
  // 10.12, in 30 m, is written as the band's own 10.1.
  expectRun("",
            "My log\n\nDATE TIME BAND MODE CALL\n22-jun-02 1432 14 ssb gb4xyz 59 59\n"
            "22-JUN-02  1433   14.025   CW   G4ABC\n\fPage 2\n22-JUN-02 1434 24.5 PSK31 G4ABD\n"
            "22-JUN-02 1435 10.12 PSK63 G4ABE ADIF remark\n22-JUN-02 1436 7.040\tCW G4ABF\n22-JUN-02 1437 20M RTTY\n"
            "G4ABG 1438\n",
            columns("GB4XYZ") + read(7) + kSorting,
            {{"G.TXT",
              "22-JUN-02 1433  14  CW G4ABC\n22-JUN-02 1434 24.5 PSK G4ABD\n22-JUN-02 1435 10.1PSK63 G4ABE\n"
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
  // A band of VHF and up by its name, and a date written with blanks.
  expectRun("", "2024-08-01 0101 SM1AA 6m SSB\n14 Jun 2025 0102 SM2AA 23cm FM\n",
            usingColumns({{0, "2024-08-01"}, {1, "0101"}, {2, "SM1AA"}, {3, "6M"}, {4, "SSB"}},
                         "date time callsign band mode") +
                read(2) + kSorting,
            {{"S.TXT", "2024-08-01 0101  6M SSB SM1AA\n14 JUN 2025 0102 23CM  FM SM2AA\n"}});
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

// Files other programs leave: a REG1TEST contest log is read as a kind of
// its own, its band from its header written as a Cabrillo log writes it;
// an archive, a binary file or a decode record is named for what it is,
// with status 1, and nothing of it reaches a list.
TEST(OtherFilesE2e, ReadOrNamedForWhatTheyAre) {
  const std::string edi =
      "[REG1TEST;1]\nPCall=DL1ABC\nPBand=144 MHz\nCODXC=DL1ABC;JO31AB;650\n[Remarks]\nQSO\n"
      "[QSORecords;3]\n250607;1405;G4ABC;1;59;001;59;012;;IO92AB;45;;N;;\n"
      "250607;1410;G3XYZ;7;599;002;599;034;;JO21AB;120;;N;;\n[END;DL1ABC]\n";
  std::string micro = edi;
  micro.replace(micro.find("144 MHz"), 7, "1,3 GHz").replace(micro.find(";3]"), 3, ";2]");
  const std::string detected = "\nREG1TEST format detected\n" + kWriting + "\n\n2 QSOs processed\n";
  const std::string refused = "no contact read from file log: ";
  const std::tuple<std::string, int, std::string, std::string> cases[] = {
      {edi, 0, detected + "file log says it holds 3 contacts ([QSORecords;3]); 2 were read\n" + kSorting,
       " 20250607 1410      144RTTY G3XYZ\n 20250607 1405      144 SSB G4ABC\n"},
      {micro, 0, detected + kSorting, " 20250607 1410     1.2GRTTY G3XYZ\n 20250607 1405     1.2G SSB G4ABC\n"},
      {"\x1F\x8B\x08\x00rest", 1, refused + "it is gzip-compressed; decompress it first\n", ""},
      {"PK\x03\x04rest", 1, refused + "it is zip-compressed; decompress it first\n", ""},
      {"BZh91AY&SYrest", 1, refused + "it is bzip2-compressed; decompress it first\n", ""},
      {"22-JUN-02 1432 14 SSB G4ABC\0\0\n"s, 1, refused + "it holds binary data, not text\n", ""},
      {"250614_101500    14.074 Rx FT8    -12  0.3 1520 CQ G3XYZ JO21\n"
       "20250614_101515  -3  0.1 800 ~ G3XYZ G4ABC -05\n",
       1, refused + "it holds decoded signals, not contacts\n", ""},
  };
  for (const auto& [log, status, err, list] : cases) {
    expectFolder({{"log", log}}, {"log"}, status, status == 0 ? bucketRow() : "", err,
                 status == 0 ? with(allBuckets("TXT"), {{"log", log}, {"G.TXT", list}}) : Files{{"log", log}});
  }
  // A time zone's letter: J, Japan's time, moves the time and its date to
  // UTC; the column's dates, three numbers of two digits whose first takes
  // one value, are year, month and day. A column of city codes is no time.
  const std::string zoned =
      "JA2ABC,25/06/15,08:05J,599,599,14,SSB,2001,,J,Taro\n"
      "JA1XYZ,25/06/14,19:30J,599,599,7,CW,100101,,J,Hanako\n"
      "JA3DEF,25/06/16,10:15U,599,599,21,CW,250101,,J,Ken\n"
      "JA4GHI,2025-06-17,07:00J,599,599,21,CW,250101,,J,Ken\n";
  expectRun("", zoned,
            "Using column 0 (JA2ABC) as callsign\nUsing column 1 (25/06/15) as date\nUsing column 2 (08:05J) as "
            "time\nUsing column 5 (14) as band\nUsing column 6 (SSB) as mode\n" +
                kWriting + read(4) + kSorting,
            {{"J.TXT",
              " 25/06/14 1030   7  CW JA1XYZ\n2025-06-14 2305  14 SSB JA2ABC\n 25/06/16 1015  21  CW JA3DEF\n"
              "2025-06-16 2200  21  CW JA4GHI\n"}});
  // Dates whose year may stand first or last, and which the column does
  // not settle (two days are too few to tell), stay as written.
  expectRun("", "JA5XYZ,14/06/25,08:05J,7,CW\nJA6XYZ,14/06/26,09:05J,7,CW\n",
            "Using column 0 (JA5XYZ) as callsign\nUsing column 1 (14/06/25) as date\nUsing column 2 (08:05J) as "
            "time\nUsing column 3 (7) as band\nUsing column 4 (CW) as mode\n" +
                kWriting + read(2) + kSorting,
            {{"J.TXT", " 14/06/25 2305   7  CW JA5XYZ\n 14/06/26 0005   7  CW JA6XYZ\n"}});
  // The other logs of the run are still read.
  const std::string adi = "<EOH>\n<CALL:5>G4ABC <BAND:3>20M <MODE:2>CW <EOR>\n";
  const std::string decodes = std::get<0>(cases[6]);
  expectFolder(
      {{"ALL.TXT", decodes}, {"log.adi", adi}}, {"-nodate", "ALL.TXT", "log.adi"}, 1, bucketRow(),
      "no contact read from file ALL.TXT: it holds decoded signals, not contacts\n" + adif(1) +
          "1 QSOs read from 2 logs\n",
      with(allBuckets("TXT"), {{"ALL.TXT", decodes}, {"log.adi", adi}, {"G.TXT", "           20  CW G4ABC\n"}}));
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

}  // namespace
}  // namespace quorvel::testing
