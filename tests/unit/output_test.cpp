// The line sort and the sort stage on a folder of bucket files, and the
// journal that undoes a failed run.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "output/bucket_journal.h"
#include "output/bucket_names.h"
#include "output/line_sort.h"
#include "output/sort_stage.h"
#include "record/bucket_line.h"
#include "support/harness.h"

namespace quorvel {
namespace {

// Lines whose keys (from the third column) are pieced together from a
// few pieces, zero and high bytes among them: they share long prefixes and
// differ only in length or far in. The first two characters tell equal
// keys apart, or, with `repeats`, seldom do.
std::string piecedLines(bool repeats) {
  const std::string pieces[] = {"AAAAAAAA", "AAAA", std::string(1, '\0'), "\xFF", "A", " "};
  std::uint32_t state = 12345;
  auto next = [&state](std::uint32_t bound) { return ((state = state * 1103515245u + 12345u) >> 16) % bound; };
  std::string content;
  for (int i = 0; i < 3000; ++i) {
    std::string line{static_cast<char>('a' + i % (repeats ? 2 : 26)), static_cast<char>('a' + i / 26 % 26)};
    for (std::uint32_t c = next(6 + 40 * (i % 100 == 0)); c > 0; --c) line += pieces[next(6)];
    content += line + "\n";
  }
  return content;
}

// Record lines whose values now fit their fields and now pass them,
// pushing the callsign right; a few other lines among them.
std::string recordLines(const RecordLayout& layout) {
  const std::string_view bands[] = {"20M", "145.946030", "14025", "14.074000000"};
  const std::string_view modes[] = {"CW", "FM", "OLIVIA", "C", "DSTAR"};
  const std::string_view callsigns[] = {"G1AAK", "GW4OUU", "D2HAI", "D8UFJ", "G1AA"};
  std::string content = "K1ABC\n\n  20M  CW\n";
  for (int i = 0; i < 400; ++i) {
    const RecordFields fields{
        i % 3 ? "20240310" : "2024-03-10", "1015", bands[i % 4], modes[i / 4 % 5], callsigns[i / 20 % 5], ""};
    std::string line(recordLineSize(layout, fields) + kRecordLineSlack, ' ');
    formatRecordLine(layout, fields, line.data());
    content += line.substr(0, recordLineSize(layout, fields) - kLineEnd.size()) + "\n";
  }
  return content;
}

// A bucket as a run leaves it: lines an earlier run left, then this run's,
// each telling its callsign's place where the line before it does not;
// values wider than their fields (a 12-character date, 70CM beside FM,
// 23CM, a 9-digit frequency) put callsigns where a line read back alone
// would not find them. Gives the bytes earlier runs left.
std::size_t runsLines(std::string& content) {
  content = "2024-03-09 181502 70CM  FM G9OLD\n";
  const std::size_t earlier = content.size();
  const RecordLayout narrow = chooseLayout(LayoutSet::Narrow);
  const std::string_view dates[] = {"2024-03-09", "2024-03-09 18", "09.03.24"};
  const std::string_view bands[] = {"70CM", "2M", "23CM", "145.94603", "14"};
  const std::string_view callsigns[] = {"G4ABC", "G0ABC", "G2ABC", "G1AA", "G"};
  BucketPlaces places;
  ContactMeaning meaning;
  for (int i = 0; i < 300; ++i) {
    const RecordFields fields{dates[i % 3], "181502", bands[i / 3 % 5], "PSK", callsigns[i / 15 % 5], ""};
    std::string line(recordLineSize(narrow, fields) + kRecordLineSlack, ' ');
    formatRecordLine(narrow, fields, line.data());
    line.resize(recordLineSize(narrow, fields) - kLineEnd.size());
    // Some contacts alike in their text differ in their submode.
    meaning.submode = i % 4 == 1 ? "PSK63" : i % 4 == 2 ? "PSK31" : "";
    const CarriedText carried(callsignOffset(narrow, fields), fields, meaning, Meanings::ForRepeats);
    line.resize(line.size() + carried.size());
    carried.write(line.data() + line.size() - carried.size());
    const std::size_t untold = carried.size() > 0 ? std::string_view::npos : callsignOffset(narrow, fields);
    content += line + std::string(places.tell(line, untold)) + "\n";
  }
  return earlier;
}

// Bucket files are sorted whole, or, when too large for the memory, in
// runs merged in one pass or, with room for two runs at a time, in
// rounds: the lists are the same. Lines of every length, up to and past
// the longest the sort keeps track of without looking for its end and
// longer than the memory; a last line without its new line; keys alike
// over megabytes; record lines whose callsigns values pushed right. The
// lists are those of the plain twin whatever the key, dropping repeated
// lines or not; this run's lines sort by their callsigns where the run
// wrote them.
TEST(SortBuckets, SortsBucketFilesWhateverTheirLinesAndMemory) {
  const RecordLayout wide = chooseLayout(LayoutSet::Wide);
  const SortKey keys[] = {SortKey(3), SortKey(wide), SortKey(260)};
  std::vector<std::string> lines;
  for (std::size_t length : {65534u, 3u, 65535u, 70000u, 65536u, 0u, 65535u, 10u}) {
    lines.push_back(std::to_string(lines.size()) + " ");
    lines.back().resize(std::max(length, lines.back().size()), static_cast<char>('Z' - length % 7));
  }
  std::string content;
  for (const std::string& line : lines) content += line + "\n";
  std::string twins = "2 " + std::string(2000000, 'C') + "\n1 " + std::string(2000000, 'C') + "\n";
  for (int i = 0; i < 20; ++i) twins += std::to_string(i % 10) + " " + std::string(600000, 'D') + "\n";
  std::string own;
  const std::size_t earlier = runsLines(own);
  const testing::Files buckets = {{"G.TMP", own},
                                  {"K.TMP", content.substr(0, content.size() - 1)},
                                  {"W.TMP", twins},
                                  {"A.TMP", piecedLines(false)},
                                  {"B.TMP", piecedLines(true)},
                                  {"R.TMP", recordLines(wide)}};
  std::FILE* devNull = testing::scratchStream();
  int round = 0;
  for (std::size_t memory : {WorkPlan{}.sortMemory, std::size_t{8} << 20, std::size_t{4000}}) {
    for (bool unique : {false, true}) {
      const SortKey& key = keys[round++ % 3];
      testing::ScratchDir dir;
      for (char bucket : kBucketCharacters) dir.write(std::string(1, bucket) + ".TMP", "");
      testing::Files lists;
      long dropped = 0;
      for (const auto& [name, bucket] : buckets) {
        if (memory < 5000 && name == "W.TMP") continue;  // a few rounds of megabytes
        dir.write(name, bucket);
        lists[name.substr(0, 2) + "TXT"] = testing::listOf(bucket, key, unique, name == "G.TMP" ? earlier : SIZE_MAX);
        dropped += std::count(bucket.begin(), bucket.end(), '\n') + (name == "K.TMP") -
                   std::count(lists[name.substr(0, 2) + "TXT"].begin(), lists[name.substr(0, 2) + "TXT"].end(), '\n');
      }
      SortSettings settings{key, unique, 2, memory, {}};
      settings.earlierBytes[static_cast<std::size_t>(bucketIndex('G'))] = earlier;
      SortOutcome outcome = sortBuckets(RunFolder(dir.path() + "/"), settings, Console{devNull, devNull});
      EXPECT_TRUE(deleteSortedBuckets(RunFolder(dir.path() + "/"), settings, outcome).isOk());
      EXPECT_EQ(outcome.dropped, dropped) << memory << unique << round;
      testing::Files files = dir.files();
      EXPECT_EQ(files.size(), 36u);
      for (const auto& [name, list] : lists)
        EXPECT_TRUE(files[name] == list) << name << " " << memory << unique << round;
    }
  }
  // A run file that cannot be made (a folder holds its name) fails the
  // bucket, which stays as it was, and leaves no run file behind; a bucket
  // that cannot be read fails with the reason it cannot.
  testing::ScratchDir dir;
  for (char bucket : kBucketCharacters) dir.write(std::string(1, bucket) + ".TMP", bucket == 'B' ? "<dir>" : "");
  dir.write("A.TMP", buckets.at("A.TMP"));
  dir.write("A.TMP.run3", "<dir>");
  const SortSettings settings{SortKey(3), false, 1, 4000, {}};
  SortOutcome outcome = sortBuckets(RunFolder(dir.path() + "/"), settings, Console{devNull, devNull});
  const std::string folder = testing::kWindows ? ": Access denied.\n" : ": Is a directory\n";
  EXPECT_EQ(
      deleteSortedBuckets(RunFolder(dir.path() + "/"), settings, outcome).message(),
      "unable to sort file " + dir.shown("A.TMP") + folder + "unable to sort file " + dir.shown("B.TMP") + folder);
  testing::Files files = dir.files();
  EXPECT_EQ(files.size(), 37u);
  EXPECT_TRUE(files["A.TMP"] == buckets.at("A.TMP") && files["A.TMP.run3"] == "<dir>" && !files.contains("A.TXT"));
  std::fclose(devNull);
}

// A list as the lookup page holds it: the same whether its bytes come at
// once or one by one.
// A failed run that cannot cut its lines back out of a bucket (a folder
// took its name) says so as its own failure, not as the undoing of an
// interrupted run. Windows gives a folder no size to cut.
TEST(BucketJournal, ABucketThatCannotBeCutBackIsNamed) {
  if (testing::kWindows) GTEST_SKIP() << "a folder has no size on Windows";
  testing::ScratchDir dir;
  BucketJournal journal(RunFolder(dir.path() + "/"));
  ASSERT_TRUE(journal.begin().isOk());
  dir.write("K.TMP", "<dir>");
  EXPECT_EQ(journal.takeBack("").status.message(),
            "unable to take this run's contacts out of the bucket files again: K.TMP cannot be cut back: Is a "
            "directory\n");
}

}  // namespace
}  // namespace quorvel
