// The lookup page end to end: what -html writes beside the lists, and
// never through what is planted at its name. (The page in real browsers:
// tests/browser.)
#include "e2e/e2e.h"

namespace quorvel::testing {
namespace {

// -html writes the lookup page beside the lists, each line's fields
// parted by tabs, a bucket line left by another run read into its fields
// or, where it cannot be, whole with its callsign, and the log's counts,
// a single contact of no mode and no year among them: never through what
// is planted at its name.
TEST(ProgramE2e, HtmlWritesTheLookupPage) {
  const std::string leftover = "22-JUN-02 1432  14 SSB K1OLD";
  for (const char* page : {"LOOKUP.HTM", "lookup.htm"}) {
    ScratchDir dir;
    dir.write("log.txt", kLog);
    const bool lower = page[0] == 'l';
    // A tab would part a field on the page: a line holding one stays whole.
    // A callsign past ASCII leaves its list out of the script's order.
    dir.write(lower ? "k.tmp" : "K.TMP",
              leftover + "\n22-JUN-02 1432  14 SSB K1T\tAB\n22-JUN-02 1435   7  CW K1\xC3\x98X\n");
    Outcome got = runProgram(dir, lower ? std::vector<std::string>{"-HTML", "-lower", "log.txt"}
                                        : std::vector<std::string>{"log.txt", "-html"});
    std::string lists;
    for (char c : std::string("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ")) {
      lists += c == 'G'   ? R"(,"G4ABC\t20020622\t1433\t7\tCW")"
               : c == 'K' ? R"(,"K1ABC\t20020622\t1432\t14\tSSB\nK1OLD\t20020622\t1432\t14\tSSB)"
                            R"(\nK1T\t\u000122-JUN-02 1432  14 SSB K1T\u0009AB\nK1)"
                            "\xC3\x98"
                            R"(X\t20020622\t1435\t7\tCW")"
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
            R"(],"sorted":[true,true,true,true,true,true,true,true,true,true,true,true,true,true,true,true,true,true,true,true,false,true,true,true,true,true,true,true,true,true,true,true,true,true,true,true],"bandOf":{"14":8,"7":6},"overview":{"bands":[["40M",2],["20M",2],["other",1]],"modes":[["CW",2],["SSB",2],["other",1]],"years":[["2002",4],["unknown",1]],"calls":[["G4ABC",1],["K1ABC",1],["K1OLD",1],["K1T",1],["K1)"
            "\xC3\x98"
            R"(X",1]]}}</script>)"),
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

}  // namespace
}  // namespace quorvel::testing
