// A contact's meaning end to end: text logs whose values their list lines
// cannot tell alone, lists in callsign order wherever a value put it,
// -unique by what contacts mean and by whole lines, and a page that shows
// the lists beside it.
// (The cards themselves, in real browsers: tests/browser.)
#include "e2e/e2e.h"

namespace quorvel::testing {
namespace {

const std::string kHeader = "Date,Time,Call,Band,Mode\n";

// Each log alone, the list it gives: bands with their units and the
// frequencies of 30 m and below 1 MHz keep their band; values wider than
// their fields leave each list in callsign order.
TEST(MeaningE2e, TextLogsKeepWhatTheirValuesMean) {
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {kHeader + "2024-05-12,1042,M0XYZ,1.25m,FM\n2024-05-12,1043,M0ABC,2.5mm,CW\n", "M.TXT",
       "2024-05-12 1043 2.5MM  CW M0ABC\n2024-05-12 1042 1.25M  FM M0XYZ\n"},
      {"Date,Time,Call,Freq,Mode\n2024-06-01,1200,ON4ABC,10.136,FT8\n2024-06-01,1210,ON5ABC,0.4757,CW\n"
       "2024-06-01,1220,ON6ABC,10.2,CW\n2024-06-01,1230,ON7ABC,10.15,CW\n2024-06-01,1240,ON8ABC,10.151,CW\n",
       "O.TXT",
       "2024-06-01 1200 10.1 FT8 ON4ABC\n2024-06-01 1210 0.475  CW ON5ABC\n2024-06-01 1220  10  CW ON6ABC\n"
       "2024-06-01 1230 10.1  CW ON7ABC\n2024-06-01 1240  10  CW ON8ABC\n"},
      {"DATE       TIME   BAND MODE CALL\n2024-03-09 181502 70CM FM   G4ABC\n2024-03-09 181602 2M   FM   G0ABC\n"
       "2024-03-09 181702 23CM FM   G2ABC\n2024-03-09 181802 13cm RTTY G1ABC\n",
       "G.TXT",
       "2024-03-09 181602  2M  FM G0ABC\n2024-03-09 181802 13CMRTTY G1ABC\n2024-03-09 181702 23CM  FM G2ABC\n"
       "2024-03-09 181502 70CM  FM G4ABC\n"},
  };
  for (const auto& [log, list, lines] : cases) {
    ScratchDir dir;
    dir.write("log", log);
    const Outcome got = runProgram(dir, {"log"});
    EXPECT_EQ(got.status, 0) << log;
    EXPECT_EQ(dir.files()[list], lines) << log;
  }
}

// Lines alike in their text are one contact only when they mean one: a
// 30 m frequency and a 10 m band, a 60 m frequency, the 5 m band and 5.0
// MHz (no band) all written 5, PSK31 and PSK both shown PSK, or a date
// each log's column reads its own way round, stay two lines.
TEST(MeaningE2e, UniqueKeepsContactsThatDifferInMeaning) {
  const Files logs = {
      {"band.csv",
       "Date,Time,Call,Freq,Mode\n2024-06-01,1200,ON4ABC,10.136,FT8\n2024-06-01,1200,ON4ABC,28.074,FT8\n"
       "2024-06-01,1200,ON4ABC,5.357,FT8\n2024-06-01,1200,ON4ABC,5,FT8\n2024-06-01,1200,ON4ABC,5.0,FT8\n"},
      {"ten.adi",
       "<EOH>\n<CALL:6>ON4ABC <BAND:3>10M <MODE:3>FT8 <EOR>\n<CALL:6>ON4ABC <FREQ:6>28.074 <MODE:3>FT8 <EOR>\n"
       "<CALL:6>ON4ABC <BAND:3>20M <MODE:5>PSK31 <EOR>\n<CALL:6>ON4ABC <BAND:3>20M <MODE:3>PSK <EOR>\n"},
      {"days.csv", kHeader + "04/06/2024,1200,PA3ABC,20m,SSB\n21/06/2024,1300,PA9XYZ,20m,SSB\n"},
      {"months.csv", kHeader + "04/06/2024,1200,PA3ABC,20m,SSB\n06/21/2024,1300,PA8XYZ,20m,SSB\n"},
      {"again.csv", kHeader + "04/06/2024,1200,PA3ABC,20m,SSB\n"}};
  ScratchDir dir;
  for (const auto& [name, content] : logs) dir.write(name, content);
  const Outcome got =
      runProgram(dir, {"-unique", "-nodate", "-notime", "band.csv", "ten.adi", "days.csv", "months.csv", "again.csv"});
  EXPECT_EQ(got.status, 0);
  EXPECT_EQ(got.err.substr(got.err.rfind('\n', got.err.size() - 2) + 1),
            "14 QSOs read from 5 logs, 1 repeated lines dropped\n");
  Files files = dir.files();
  EXPECT_EQ(files["O.TXT"],
            "       5 FT8 ON4ABC\n       5 FT8 ON4ABC\n       5 FT8 ON4ABC\n      10 FT8 ON4ABC\n"
            "      20 PSK ON4ABC\n      20 PSK ON4ABC\n      28 FT8 ON4ABC\n    10.1 FT8 ON4ABC\n"
            "  28.074 FT8 ON4ABC\n");
  EXPECT_EQ(files["P.TXT"], "     20M SSB PA3ABC\n     20M SSB PA3ABC\n     20M SSB PA8XYZ\n     20M SSB PA9XYZ\n");
}

// A run that replaces the lists of a folder that holds a page writes the
// page anew, as -html would have, and says so; the page's working files
// go.
TEST(MeaningE2e, APageShowsTheListsBesideIt) {
  ScratchDir dir, fresh;
  const std::string adif = "<EOH>\n<CALL:5>G4ABC <BAND:3>20M <MODE:2>CW <EOR>\n";
  for (const ScratchDir* folder : {&dir, &fresh}) folder->write("log.txt", kLog);
  dir.write("contest.adi", adif);
  EXPECT_EQ(runProgram(dir, {"-html", "contest.adi"}).status, 0);
  const Outcome again = runProgram(dir, {"log.txt"});
  EXPECT_EQ(again.status, 0);
  const std::string anew = " written anew: it showed the lists this run replaced\n";
  EXPECT_EQ(again.err, kLogErr + dir.shown("LOOKUP.HTM") + anew);
  EXPECT_EQ(runProgram(fresh, {"-html", "log.txt"}).status, 0);
  EXPECT_EQ(dir.files(), with(fresh.files(), {{"contest.adi", adif}}));
  // With -lower the page beside the lower-case lists is the one replaced:
  // none, where names differ by case; where they do not (Windows), the
  // lists and the page are the same files.
  EXPECT_EQ(runProgram(dir, {"-lower", "log.txt"}).err, kLogErr + (kWindows ? dir.shown("lookup.htm") + anew : ""));
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

}  // namespace
}  // namespace quorvel::testing
