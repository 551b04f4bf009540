#include "output/record_line.h"

#include <gtest/gtest.h>

#include <string>

#include "readers/contact_batch.h"
#include "support/run_invariants.h"

namespace quorvel {
namespace {

struct LayoutCase {
  LayoutSet set;
  bool noDate;
  bool noTime;
  const char* expected;
  int sortColumn;
};

TEST(FormatRecordLine, EveryLayout) {
  const RecordFields fields{"20020622", "1200", "20", "CW", "G4ABC", "** NICE QSO"};
  const LayoutCase cases[] = {
      {LayoutSet::Wide, false, false, " 20020622 1200       20  CW G4ABC\n", 29},
      {LayoutSet::Wide, false, true, " 20020622       20  CW G4ABC\n", 24},
      {LayoutSet::Wide, true, false, "1200       20  CW G4ABC\n", 19},
      {LayoutSet::Wide, true, true, "      20  CW G4ABC\n", 14},
      {LayoutSet::WideWithComment, false, false, " 20020622 1200       20  CW G4ABC ** NICE QSO\n", 29},
      {LayoutSet::WideWithComment, false, true, " 20020622       20  CW G4ABC ** NICE QSO\n", 24},
      {LayoutSet::WideWithComment, true, false, "1200       20  CW G4ABC ** NICE QSO\n", 19},
      {LayoutSet::WideWithComment, true, true, "      20  CW G4ABC ** NICE QSO\n", 14},
      {LayoutSet::Narrow, false, false, " 20020622 1200  20  CW G4ABC\n", 24},
      {LayoutSet::Narrow, false, true, " 20020622  20  CW G4ABC\n", 19},
      {LayoutSet::Narrow, true, false, "1200  20  CW G4ABC\n", 14},
      {LayoutSet::Narrow, true, true, " 20  CW G4ABC\n", 9},
  };
  for (const LayoutCase& c : cases) {
    RunOptions options;
    options.noDate = c.noDate;
    options.noTime = c.noTime;
    RecordLayout layout = chooseLayout(c.set, options);
    std::string line;
    formatRecordLine(layout, fields, line);
    EXPECT_EQ(line, c.expected);
    EXPECT_EQ(layout.sortColumn(), c.sortColumn) << c.expected;
    // The callsign starts at the sort column when no field overflows.
    EXPECT_EQ(line.substr(static_cast<std::size_t>(c.sortColumn - 1), 5), "G4ABC");
  }
}

TEST(FormatRecordLine, EmptyFieldsAreBlanksAndLongOnesAreNeverCut) {
  RecordLayout wide = chooseLayout(LayoutSet::Wide, RunOptions{});
  std::string line;
  formatRecordLine(wide, {"2002-06-22", "", "", "OLIVIA", "G4ABC", ""}, line);
  EXPECT_EQ(line, "2002-06-22" + std::string(14, ' ') + "OLIVIA G4ABC\n");

  RecordLayout comment = chooseLayout(LayoutSet::WideWithComment, RunOptions{});
  formatRecordLine(comment, {"20020622", "1200", "20", "CW", "G4ABC", ""}, line);
  EXPECT_EQ(line, " 20020622 1200       20  CW G4ABC \n");

  // Fields that no value reached may hold no data at all.
  formatRecordLine(comment, RecordFields{}, line);
  EXPECT_EQ(line, std::string(28, ' ') + " \n");

  formatRecordLine(comment, {"", "", "", "", "G4ABC", "** 100% %s %n"}, line);
  EXPECT_EQ(line, std::string(28, ' ') + "G4ABC ** 100% %s %n\n");
}

// A batch upper-cases the lines added with upperCase, however they mix
// with lines added without it, and replays them in order.
TEST(ContactBatch, UpperCasesOnlyTheLinesAskedFor) {
  RecordLayout narrow = chooseLayout(LayoutSet::Narrow, RunOptions{.noDate = true, .noTime = true});
  ContactBatch batch;
  batch.add('G', narrow, {"", "", "20", "cw", "g4abc", ""}, true);
  batch.add('K', narrow, {"", "", "40", "ssb", "k1ab", ""});
  batch.add('W', narrow, {"", "", "80", "ft8", "w1aw", ""}, true);
  batch.settle();
  batch.add('D', narrow, {"", "", "2", "fm", "dl1x", ""}, true);
  testing::RecordingSink sink;
  RunContext run;
  run.console.out = std::tmpfile();
  run.sink = &sink;
  ASSERT_TRUE(batch.replay(run, 0).isOk());
  std::fclose(run.console.out);
  EXPECT_EQ(sink.lines['G'], std::vector<std::string>{" 20  CW G4ABC\n"});
  EXPECT_EQ(sink.lines['K'], std::vector<std::string>{" 40 ssb k1ab\n"});
  EXPECT_EQ(sink.lines['W'], std::vector<std::string>{" 80 FT8 W1AW\n"});
  EXPECT_EQ(sink.lines['D'], std::vector<std::string>{"  2  FM DL1X\n"});
}

}  // namespace
}  // namespace quorvel
