// Runs and folders end to end: the command line, several logs, failures
// of every kind, what is planted in the folder, interrupted runs and runs
// that take turns, and the README's tour; each run by the built binary in
// a fresh folder, its status, streams and every file it leaves checked.
#include <filesystem>
#include <fstream>
#include <thread>

#include "base/system_error.h"
#include "e2e/e2e.h"

namespace quorvel::testing {
namespace {

using namespace std::literals;

const std::string kUsage =
    "usage: quorvel [-nodate -notime -comment -lower] filename\n\n"
    "       -nodate:  produce output files with no date information\n"
    "       -notime:  produce output files with no time information\n"
    "       -comment: leave ADIF commemt lines in the output files\n"
    "       -lower:   create output files with lower case filenames\n"
    "       -unique:  write a line that stands more than once in a list once\n"
    "       -html:    also write LOOKUP.HTM, a page to look callsigns up in a browser\n"
    "       several logs may be named: all are read into the same lists\n";

// Runs that end before a bucket is made leave the folder as it was: no
// log named, help asked for, a log that cannot be opened among several, a
// log that is a file the run writes (on Windows in any letter case).
TEST(ProgramE2e, UsageBannerAndRunsThatReadNothing) {
  const std::string banner = "QZ9ZZ quorvel: Version 1.17 - 22/JUN/2002\n", own = "the run writes to it\n";
  const std::string badName = kWindows ? "Invalid name." : kNoSuchFile;  // Windows takes no control in a name
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
      {{"--nosuch", "-"}, 1, "", "unknown option --nosuch ignored\nunknown option - ignored\n" + kUsage},
      {{"\x1B]0;x\a.log"}, 1, "", "unable to open file \\x1B]0;x\\x07.log: " + badName + "\n"},
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
  // A line cut at the bound plans no column; the rows after it do.
  auto head = [](const std::string& call, const std::string& time) {
    return "Using column 0 (" + call + ") as callsign\nUsing column 1 (2024-03-09) as date\n" + time + kWriting;
  };
  const std::tuple<std::string, std::string, std::string, std::string> cases[] = {
      {"<EOH>\n<CALL:4>K1AB <COMMENT:3>ok! <EOR>\n<CALL:4>K1AC <COMMENT:5000001>" + accents +
           " <EOR>\n<CALL:4>K1AD <EOR>\n",
       "-comment", adifLines, before(adif(3), cut("3", "COMMENT"))},
      {"<EOH>\n<CALL:2000000>K" + blob.substr(1, 1'999'999) + " <EOR>\n<CALL:4>K1AD <EOR>\n", "",
       "             K1AD\n             K" + std::string(1'048'575, 'X') + "\n", before(adif(2), cut("2", "CALL"))},
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
       head("K1AC", "") + read(2) + cut("1", "line") + kSorting},
      {"K1AB,2024-03-09," + std::string(100'000, 'x') + "\nK1AC,2024-03-09,x\n", "", "        K1AB\n        K1AC\n",
       head("K1AB", "") + read(2) + kSorting},  // longer than the first look, within the bound
      {"K1AB 2024-03-09 1815 " + blob + "\nK1AC 2024-03-09 1816\n", "", "        K1AB\n        K1AC\n",
       head("K1AC", "Using column 2 (1816) as time\n") + read(2) + cut("1", "line") + kSorting},
      {"K1AB 2024-03-09 1815 " + blob + "\nthe end of it\n", "", "        K1AB\n",  // the only row
       head("K1AB", "Using column 2 (1815) as time\n") + read(1) + cut("1", "line") + kSorting},
      {"Call,Date,Time" + repeat(",C7,C10", 700'000) + "\nK1AD,2024-03-09,1815\nK1AE,2024-03-09,1816\n", "",
       "        K1AD\n        K1AE\n",
       "Using column 0 (K1AD) as callsign\nUsing column 1 (2024-03-09) as date\nUsing column 2 (1815) as time\n" +
           kWriting + read(2) + cut("1", "line") + kSorting},
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
// a Windows user) fails at the lock, named with the system's reason. The
// reason is the one the same call gets here: a host may refuse the folder
// for another (a container mounts /sys read-only; sysfs denies it).
TEST(ProgramE2e, AFolderThatCannotBeWrittenIn) {
  const std::string folder = kWindows ? "Z:\\sys" : "/sys";
  const std::string lock = folder + (kWindows ? "\\" : "/") + "QUORVEL.LCK";
  if (openForAppending(lock).isOpen()) {
    (void)removeFile(lock);
    GTEST_SKIP() << folder << " takes new files here";
  }
  const std::string reason = lastSystemError().reason;
  ScratchDir logs;
  logs.write("log.txt", kLog);
  Outcome got = runProgram(folder, {logs.path() + "/log.txt"});
  EXPECT_EQ(got.status, 1);
  EXPECT_EQ(got.err, "unable to create file " + (kWindows ? lock : "QUORVEL.LCK") + ": " + reason + "\n");
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
