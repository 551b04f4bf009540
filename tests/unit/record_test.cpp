// Reading list lines back into their fields: every line a layout writes
// splits into the values it was written from, and the values' own forms
// (bands, dates) are understood as logs write them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/files.h"
#include "radio/band_notation.h"
#include "record/bucket_line.h"
#include "record/contact_date.h"
#include "record/contact_meaning.h"
#include "record/record_line.h"
#include "support/harness.h"

namespace quorvel {
namespace {

std::string written(const RecordLayout& layout, const RecordFields& fields) {
  std::string line(recordLineSize(layout, fields) + kRecordLineSlack, '#');
  formatRecordLine(layout, fields, line.data());
  line.resize(recordLineSize(layout, fields) - kLineEnd.size());
  return line;
}

// Values that fill their fields, fall short of them or pass them; bands
// glued to modes of four characters or more, modes that begin with a digit
// or with a band's unit. The callsign is found where the line is read.
TEST(RecordLine, EveryWrittenLineSplitsIntoItsValues) {
  const std::vector<std::string_view> dates = {"", "20240310", "2024-11-23", "23-JUN-02"};
  const std::vector<std::string_view> times = {"", "1015", "101500"};
  const std::vector<std::string_view> bands = {"",    "20",  "14.025", "14.074000", "147.8217",    "2190",
                                               "70C", "SAT", "1.2G",   "160",       "14.074000000"};
  const std::vector<std::string_view> modes = {"", "CW", "SSB", "RTTY", "WINMOR", "8PSK", "MFSK", "MSK144"};
  for (LayoutSet set : {LayoutSet::Wide, LayoutSet::WideWithComment, LayoutSet::Narrow}) {
    for (int switches = 0; switches < 4; ++switches) {
      const RecordLayout layout = chooseLayout(set, {(switches & 1) != 0, (switches & 2) != 0});
      for (std::string_view date : dates) {
        for (std::string_view time : times) {
          for (std::string_view band : bands) {
            for (std::string_view mode : modes) {
              const std::string_view comment = layout.withComment && mode == "CW" ? "hello <b>  there" : "";
              const std::string line = written(layout, {date, time, band, mode, "VK2/W1X", comment});
              const std::optional<RecordFields> fields = parseRecordLine(line, layout);
              ASSERT_TRUE(fields) << "[" << line << "]";
              EXPECT_EQ(fields->date, layout.withDate ? date : "") << "[" << line << "]";
              EXPECT_EQ(fields->time, layout.withTime ? time : "") << "[" << line << "]";
              EXPECT_EQ(fields->band, band) << "[" << line << "]";
              EXPECT_EQ(fields->mode, mode) << "[" << line << "]";
              EXPECT_EQ(fields->callsign, "VK2/W1X") << "[" << line << "]";
              EXPECT_EQ(fields->comment, comment) << "[" << line << "]";
              EXPECT_EQ(line.data() + callsignStart(line, layout), fields->callsign.data()) << "[" << line << "]";
            }
          }
        }
      }
    }
  }
}

// Lines of bucket files left by other runs: split when they fit the run's
// layout, and otherwise left whole, their callsign where the sort saw it.
TEST(RecordLine, LinesOfOtherLayoutsAreLeftWhole) {
  const RecordLayout wide = chooseLayout(LayoutSet::Wide);
  const RecordLayout narrow = chooseLayout(LayoutSet::Narrow);
  const RecordLayout bare = chooseLayout(LayoutSet::Wide, {true, true});
  struct Case {
    const RecordLayout& layout;
    std::string_view line;
    std::string_view band, mode, callsign, comment;
  };
  const Case split[] = {
      {wide, " 20240406 1925       30MFSK DL1ASR", "30", "MFSK", "DL1ASR", ""},
      {wide, " 20240406 1925 147.8217WINMOR DL1ELF", "147.8217", "WINMOR", "DL1ELF", ""},
      {wide, " 20240311 1200       20  CW G4ABD hello <b>", "20", "CW", "G4ABD", "hello <b>"},
      {narrow, "23-JUN-02 1010 3.5  CW G3ABC", "3.5", "CW", "G3ABC", ""},
      {narrow, "23-JUN-02 1010 160MRTTY G3ABC", "160M", "RTTY", "G3ABC", ""},
      {narrow, "23-JUN-02 1010 14.0748PSK G3ABC", "14.074", "8PSK", "G3ABC", ""},
      {wide, " 20250703 1615 0.135926MSK144 T6CHS", "0.135926", "MSK144", "T6CHS", ""},
      {wide, " 20250703 1615 14.074000MXYZW T6CHS", "14.074000", "MXYZW", "T6CHS", ""},
  };
  for (const Case& c : split) {
    const std::optional<RecordFields> fields = parseRecordLine(c.line, c.layout);
    ASSERT_TRUE(fields) << c.line;
    EXPECT_EQ(fields->band, c.band) << c.line;
    EXPECT_EQ(fields->mode, c.mode) << c.line;
    EXPECT_EQ(fields->callsign, c.callsign) << c.line;
    EXPECT_EQ(fields->comment, c.comment) << c.line;
  }
  const Case whole[] = {
      {narrow, " 20240310 1015       10RTTY 9A1A", "", "", "9A1A", ""},
      {wide, "23-JUN-02 1011  21 SSB 4X4ABC", "", "", "", ""},
      {wide, "      20  CW G4ABC", "", "", "", ""},
      {bare, " 20240310 1015       10RTTY 9A1A", "", "", "10RTTY", ""},
      {wide, " 20240310 1015       10RTTY", "", "", "", ""},
      {wide, " 20240310 1015 ", "", "", "", ""},
      {wide, "", "", "", "", ""},
  };
  for (const Case& c : whole) {
    EXPECT_FALSE(parseRecordLine(c.line, c.layout)) << c.line;
    EXPECT_EQ(callsignAtColumn(c.line, c.layout.sortColumn()), c.callsign) << c.line;
    EXPECT_EQ(c.line.substr(callsignStart(c.line, c.layout)).substr(0, c.callsign.size()), c.callsign) << c.line;
  }
}

// The band memo is read against meantBand: 10104.09 and 90104.01 differ
// only in their first and eighth bytes, which a memo key must both keep.
TEST(RecordLine, BandsAndDatesAsLogsWriteThem) {
  const std::pair<std::string_view, std::string_view> bands[] = {
      {"24.5", "12M"},    {"7,040", "40M"},    {"144MHZ", "2M"},     {"1.25M", "1.25M"},
      {"0.4757", "630M"}, {"5.357", "60M"},    {"13CM", "13CM"},     {"10.136", "30M"},
      {"20", "20M"},      {"20m", "20M"},      {"14.025", "20M"},    {"14025", "20M"},
      {"7", "40M"},       {"1", "160M"},       {"3.5", "80M"},       {"24", "12M"},
      {"10", "10M"},      {"10.12", "30M"},    {"50", "6M"},         {"144", "2M"},
      {"432", "70CM"},    {"70C", "70CM"},     {"70", "4M"},         {"1.2G", "23CM"},
      {"10G", "3CM"},     {"75G", "4MM"},      {"0.1365", "2190M"},  {"1.25", "1.25M"},
      {"SUBMM", "SUBMM"}, {"SAT", ""},         {"13.5", ""},         {"", ""},
      {"20X", ""},        {"3500", "80M"},     {"10136", "30M"},     {"10368", "3CM"},
      {"2400", "13CM"},   {"10104.09", "3CM"}, {"2310410", "SUBMM"}, {"90104.01", ""},
  };
  BandMemo bandMemo;
  for (int round = 0; round < 2; ++round) {
    for (const auto& [text, name] : bands) {
      const int index = meantBand(text);
      EXPECT_EQ(index < 0 ? "" : kAdifBandNames[static_cast<std::size_t>(index)], name) << text;
      EXPECT_EQ(bandMemo.bandOf(text), index) << text;
    }
    for (int i = 0; i < 200; ++i) {  // more texts than the memo holds: it starts afresh
      const std::string text = std::to_string(1800 + i * 997 % 148000);
      EXPECT_EQ(bandMemo.bandOf(text), meantBand(text)) << text;
    }
  }
  const std::pair<std::string_view, std::string_view> dates[] = {
      {"20240310", "20240310"},
      {"2024-03-10", "20240310"},
      {"2024/3/9", "20240309"},
      {"09.03.2024", "20240309"},
      {"03/09/2024", "20240309"},
      {"25/12/2024", "20241225"},
      {"12-25-24", "20241225"},
      {"23-JUN-02", "20020623"},
      {"9-Mar-1999", "19990309"},
      {"JUN-23-02", "20020623"},
      {"31.12.79", "19791231"},
      {"20241310", ""},
      {"2024-11", ""},
      {"", ""},
      {"23-XYZ-02", ""},
      {"2024-03-10-1", ""},
      {"2024-03/10", ""},
  };
  for (const auto& [text, date] : dates) EXPECT_EQ(sortableDate(text), date) << text;
  // The order a column settled reads a date that leaves it open; a date
  // that shows its order keeps it.
  const std::tuple<std::string_view, DateOrder, std::string_view, bool> settled[] = {
      {"04/06/2024", DateOrder::Unknown, "20240406", true},
      {"04/06/2024", DateOrder::DayFirst, "20240604", true},
      {"04.06.2024", DateOrder::MonthFirst, "20240406", true},
      {"21/06/2024", DateOrder::MonthFirst, "20240621", false},
      {"2024-06-04", DateOrder::MonthFirst, "20240604", false},
      {" 2024X ", DateOrder::DayFirst, "2024X", false},
      {"25/06/14", DateOrder::YearFirst, "20250614", true},
      {"25/06/14", DateOrder::DayFirst, "20140625", false},
      {"25/02/30", DateOrder::YearFirst, "25/02/30", false},  // no such day
      {"2025/06/14", DateOrder::YearFirst, "20250614", false},
  };
  MeaningText room;
  DateMemo memo;
  for (const auto& [text, order, date, inDoubt] : settled) {
    bool doubt = !inDoubt;
    EXPECT_EQ(meantDate(text, order, room, &doubt), date) << text;
    EXPECT_EQ(doubt, inDoubt) << text;
    EXPECT_EQ(memo.dateOf(text, order, doubt), date) << text;
    EXPECT_EQ(memo.dateOf(text, order, doubt), date) << text;
  }
}

// What a bucket line carries is read back as it was written; a line tells
// its callsign's place only where the line before it in its bucket did not.
TEST(BucketLine, CarriedAsWrittenAndPlacesToldOnce) {
  const RecordFields fields{"2024-03-09", "1815", "13CM", "RTTY", "G4ABC", ""};
  ContactMeaning meaning;
  meaning.date = "20240309", meaning.time = "1815", meaning.band = 22, meaning.submode = "PSK31";
  for (Meanings meanings : {Meanings::ForPage, Meanings::ForRepeats}) {
    const CarriedText carried(5, fields, meaning, meanings);
    std::string line =
        "TEXT WITH A \x1F"
        "12 IN IT";
    line.resize(line.size() + carried.size());
    carried.write(line.data() + line.size() - carried.size());
    const BucketLine read = readBucketLine(line);
    EXPECT_EQ(read.text,
              "TEXT WITH A \x1F"
              "12 IN IT");
    EXPECT_EQ(read.callsignAt, 5u);
    const std::optional<CarriedMeaning> page = carriedMeaning(read);
    ASSERT_EQ(page.has_value(), meanings == Meanings::ForPage) << line;
    if (page) {
      EXPECT_EQ(page->meaning, meaning);
      EXPECT_EQ(std::string(page->bandText) + std::string(page->mode), "13CMRTTY");
    }
  }
  meaning.submode = "", meaning.bandSaid = true;
  EXPECT_EQ(CarriedText(27, fields, meaning, Meanings::ForRepeats).size(), 0u);
  meaning.band = -1, meaning.time = "\t";
  EXPECT_EQ(CarriedText(27, fields, meaning, Meanings::ForPage).size(), 0u);
  const std::string mark = "\x1F", ten = "TEN BYTES ";
  for (const std::string& bare :
       {ten, ten + "12", "X" + mark + "99", mark, std::string("A\t0"), ten + mark + "20M\t99", ten + mark + "12"}) {
    EXPECT_FALSE(readBucketLine(bare).carriesCallsign()) << bare;
  }
  BucketPlaces places;
  const std::tuple<std::string, std::size_t, std::string> told[] = {{"A", 4, mark + "4"},
                                                                    {"B", 4, ""},
                                                                    {ten + mark + "9", 4, mark + "4"},
                                                                    {ten + mark + "20M\t\t\t7", SIZE_MAX, ""},
                                                                    {"E", 7, ""},
                                                                    {"F", 12, mark + "12"}};
  for (const auto& [text, untold, tells] : told) EXPECT_EQ(places.tell(text, untold), tells) << text;
}

// A batch handed to a sink that fails part way shows progress up to the
// line it could not take, and not past it.
TEST(ContactBatch, ProgressStopsWhereTheSinkFails) {
  std::string log;
  for (int i = 0; i < 250; ++i) log += "2024-03-09 1815 14 CW K1ABC\n";
  EXPECT_EQ(testing::traceRead(log, {}, WorkPlan{std::size_t{1} << 30, 1}, 149).out, ".");
}

}  // namespace
}  // namespace quorvel
