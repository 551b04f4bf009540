#pragma once

// What the end-to-end tests share: the program's own texts, and runs of
// the built binary in a fresh folder checked whole.
#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "support/harness.h"

namespace quorvel::testing {

inline const std::string kWriting = "\nEach dot is 100 QSOs. Writing logs\n";
inline const std::string kSorting = "\nSorting logs....\n";
inline const std::string kTakenBack =
    "this run's contacts were taken out of the bucket files again: run it again once the cause is mended\n";
inline std::string read(int count) { return "\n\n" + std::to_string(count) + " QSOs read\n"; }

// What an ADIF or a Cabrillo run prints on standard error, `count`
// contacts processed (-1: no count printed).
inline std::string adif(int count, const char* kind = "ADIF") {
  std::string counted = count < 0 ? "" : "\n\n" + std::to_string(count) + " QSOs processed\n";
  return "\n" + std::string(kind) + " format detected\n" + kWriting + counted + kSorting;
}
inline std::string cabrillo(int count) { return adif(count, "Cabrillo"); }
// What a log prints up to, not including, the sort.
inline std::string unsorted(const std::string& err) { return err.substr(0, err.size() - kSorting.size()); }

// What a column text run prints on standard error when its first data line
// is "22-JUN-02 1432 14 SSB " and `callsign`, up to the count.
inline std::string columns(const std::string& callsign) {
  return "Using column 0 (22-JUN-02) as date\nUsing column 1 (1432) as time\nUsing column 2 (14) as band\n"
         "Using column 3 (SSB) as mode\nUsing column 4 (" +
         callsign + ") as callsign\n" + kWriting;
}

inline std::string repeat(std::string_view piece, std::size_t times) {
  std::string text;
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

// `files` with `changes` laid over them.
inline Files with(Files files, const Files& changes) {
  for (const auto& [name, content] : changes) files[name] = content;
  return files;
}

// Stands in an expected message for the folder the run works in, as its
// failure messages name it: nothing on POSIX systems, the full path on
// Windows.
inline const std::string kHere = "{here}";

// `text` with kHere made the way `dir` is named.
inline std::string namedIn(const ScratchDir& dir, std::string text) {
  for (std::size_t at; (at = text.find(kHere)) != std::string::npos;) text.replace(at, kHere.size(), dir.shown(""));
  return text;
}

// Runs the program with `arguments` in a folder that holds `before` (see
// ScratchDir::make), and checks its exit status, both its streams and
// everything the folder holds after.
inline void expectFolder(const Files& before, const std::vector<std::string>& arguments, int status,
                         const std::string& out, const std::string& err, const Files& after, long fileSizeLimit = 0) {
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
inline void expectRun(const std::string& options, const std::string& log, const std::string& err, const Files& lists,
                      const std::string& dots = "") {
  std::istringstream words(options + " log");
  expectFolder({{"log", log}}, {std::istream_iterator<std::string>(words), {}}, 0, dots + bucketRow(), err,
               with(with(allBuckets("TXT"), lists), {{"log", log}}));
}

// A column text log of two contacts, K1ABC and G4ABC, and a row that
// lacks its callsign: no contact.
inline const std::string kLog = "22-JUN-02 1432 14 SSB K1ABC\n22-JUN-02 1433 7 CW G4ABC\n22-JUN-02 1434 7 CW\n";
inline const std::string kLogErr = columns("K1ABC") + read(2) + kSorting;
// The system's words for a file that is not there.
inline const std::string kNoSuchFile = kWindows ? "File not found." : "No such file or directory";
inline const std::string kK1abc = "22-JUN-02 1432  14 SSB K1ABC\n";
inline const std::string kG4abc = "22-JUN-02 1433   7  CW G4ABC\n";

// A contact line whose every token after the first four names its place,
// so the record line shows which token was taken for the callsign.
inline const std::string kContact = "QSO: 14025 CW 2024-11-23 1200 K5 K6 K7 K8 K9 K10 K11 K12 K13 K14 K15\n";
inline std::string header(const std::string& lines) { return "START-OF-LOG: 3.0\nCALLSIGN: G4ZZZ\n" + lines; }
inline std::string record(const std::string& callsign) { return "2024-11-23 1200    14025  CW " + callsign + "\n"; }

}  // namespace quorvel::testing
