// Runs the program on many generated logs of every kind, with noise, odd
// line ends, random options and leftover bucket files, and checks what
// every run leaves behind against what reading the same log yields.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "e2e/scratch_run.h"
#include "support/run_invariants.h"

namespace quorvel::testing {
namespace {

class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed * 2654435761u + 1) {}
  std::uint64_t next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return state_;
  }
  int below(int bound) { return static_cast<int>(next() % static_cast<std::uint64_t>(bound)); }
  bool chance(int percent) { return below(100) < percent; }
  template <typename T>
  const T& pick(const std::vector<T>& items) {
    return items[static_cast<std::size_t>(below(static_cast<int>(items.size())))];
  }

 private:
  std::uint64_t state_;
};

std::string callsign(Random& random) {
  static const std::vector<std::string> kForms = {"K1AB",   "w1aw",   "G4ABC",   "DL1XYZ",  "9A2BB",
                                                  "4X4ABC", "JA1QRZ", "VK2/W1X", "G4ABC/P", "ZZ9ZZZ",
                                                  "/P",     "-X1",    "7\xC4X1", "1AB"};
  return random.pick(kForms);
}

std::string noise(Random& random) {
  static const std::vector<std::string> kNoise = {"",
                                                  " ",
                                                  "\t",
                                                  "Page 2",
                                                  "DATE TIME CALL",
                                                  "\f",
                                                  "599 599",
                                                  std::string("a\0b", 3),
                                                  "\xFF\xFE",
                                                  "\r",
                                                  "remark <EOR> x",
                                                  "ADIF",
                                                  "QSO:",
                                                  "START-OF-LOG:",
                                                  "END-OF-LOG:",
                                                  "<EOH>"};
  return random.pick(kNoise);
}

std::string lineEnd(Random& random, bool crlf) { return crlf ? "\r\n" : (random.chance(2) ? "\r" : "\n"); }

std::string adifLog(Random& random) {
  bool crlf = random.chance(30);
  std::string log;
  if (random.chance(80))
    log += "Log of " + callsign(random) + lineEnd(random, crlf) + "<adif_ver:5>3.1.0 <EOH>" + lineEnd(random, crlf);
  static const std::vector<std::string> kTags = {"CALL",    "call",    "BAND",         "FREQ",    "MODE", "QSO_DATE",
                                                 "TIME_ON", "COMMENT", "QSO_DATE_OFF", "BAND_RX", "NAME"};
  static const std::vector<std::string> kValues = {"20M",    "14.025",   "CW", "PSK31", "20240101",
                                                   "181502", "NICE 50%", "",   "2m",    "x"};
  int records = random.below(40);
  for (int r = 0; r < records; ++r) {
    int tags = random.below(6);
    for (int t = 0; t < tags; ++t) {
      const std::string& tag = random.pick(kTags);
      std::string value = tag == "CALL" || tag == "call" ? callsign(random) : random.pick(kValues);
      int declared = random.chance(10) ? random.below(12) : static_cast<int>(value.size());
      log += "<" + tag + ":" + std::to_string(declared) + (random.chance(20) ? ":S" : "") + ">" + value;
      log += random.chance(70) ? " " : (random.chance(50) ? lineEnd(random, crlf) : "");
    }
    if (random.chance(10)) log += noise(random) + lineEnd(random, crlf);
    log += random.chance(50) ? "<EOR>" : "<eor>";
    log += random.chance(80) ? lineEnd(random, crlf) : "";
  }
  return log;
}

std::string cabrilloLog(Random& random) {
  static const std::vector<std::string> kContests = {
      "CQ-WW-CW", "ARRL-SS-CW", "ARRL-VHF-SEP", "RSGB-IOTA", "cq-ww-rtty", "IARU-HF", ""};
  std::string log = "START-OF-LOG: 3.0\nCONTEST: " + random.pick(kContests) + "\nCALLSIGN: G4ZZZ\n";
  int lines = random.below(40);
  for (int i = 0; i < lines; ++i) {
    if (random.chance(10)) {
      log += noise(random) + "\n";
      continue;
    }
    std::string line = "QSO: 14025 " + std::string(random.chance(20) ? "psk31" : "CW") + " 2024-01-01 1200";
    int tokens = random.below(12);
    for (int t = 0; t < tokens; ++t) line.append(random.chance(10) ? "\t" : " ").append(callsign(random));
    log += line + "\n";
  }
  if (random.chance(70)) log += "END-OF-LOG:\n";
  return log;
}

std::string columnLog(Random& random) {
  std::string log = "My log\n\nDATE TIME BAND MODE CALL\n";
  static const std::vector<std::string> kBands = {"14", "7.040", "3.5", "10.12", "20M", "SAT", "144"};
  static const std::vector<std::string> kModes = {"SSB", "CW", "PSK31", "USB", "RTTY"};
  int lines = random.below(60);
  for (int i = 0; i < lines; ++i) {
    if (random.chance(10)) {
      log += noise(random) + "\n";
      continue;
    }
    std::string line = "22-JUN-02  1432 " + random.pick(kBands) + " " + random.pick(kModes);
    if (!random.chance(10)) line += "   " + callsign(random);
    if (random.chance(30)) line += " 59 59";
    log += line + (random.chance(95) ? "\n" : "");
  }
  return log;
}

TEST(GeneratedLogs, EveryRunKeepsTheInvariants) {
  for (std::uint64_t seed = 1; seed <= 90; ++seed) {
    Random random(seed);
    std::string log = seed % 3 == 0 ? adifLog(random) : seed % 3 == 1 ? cabrilloLog(random) : columnLog(random);
    RunOptions options;
    options.noDate = random.chance(30);
    options.noTime = random.chance(30);
    options.keepComments = random.chance(40);
    options.lowerCaseNames = random.chance(20);
    std::vector<std::string> arguments = argumentsFor(options, "log");

    ScratchDir dir;
    dir.write("log", log);
    std::map<std::string, std::string> leftovers;
    if (random.chance(25)) {
      std::string name = options.lowerCaseNames ? "k.tmp" : "K.TMP";
      leftovers[name] = "  20240101 1200       20  CW K0OLD\n  20240101 1200       20  CW KZ9Z";
      dir.write(name, leftovers[name]);
    }
    ExpectedRun expected = readExpected(dir.work() + "/log", options);
    RunResult result = runQuorvel(dir, arguments);
    std::vector<std::string> problems = checkRun(dir.work(), options, result.exitStatus, expected, leftovers);
    EXPECT_TRUE(problems.empty()) << "seed " << seed << ": " << problems.front() << "\nlog:\n" << log;
    EXPECT_EQ(result.exitStatus, expected.failed ? 1 : 0) << "seed " << seed << "\n" << result.err;
  }
}

// Contacts are read in blocks of lines on several threads; wherever the
// blocks are cut, the console shows and the buckets get exactly what one
// block gives, up to a bucket that cannot be written. Small blocks cut ADIF records apart and separate records
// from the QSO_DATE they inherit.
TEST(GeneratedLogs, ReadingInBlocksChangesNothing) {
  for (std::uint64_t seed = 1; seed <= 60; ++seed) {
    Random random(seed);
    std::string log;
    for (int part = 0; part < 4; ++part) {
      log += seed % 3 == 0 ? adifLog(random) : seed % 3 == 1 ? cabrilloLog(random) : columnLog(random);
    }
    RunOptions options;
    options.keepComments = random.chance(50);
    ScratchDir dir;
    dir.write("log", log);
    const std::string path = dir.work() + "/log";
    // Every other log meets a full disk part way.
    std::size_t failAt = seed % 2 == 0 ? static_cast<std::size_t>(random.below(60)) : SIZE_MAX;
    ReadTrace whole = traceRead(path, options, WorkPlan{std::size_t{1} << 30, 1}, failAt);
    for (std::size_t blockBytes : {1, 30, 200, 1000}) {
      EXPECT_EQ(traceRead(path, options, WorkPlan{blockBytes, 2}, failAt), whole)
          << "seed " << seed << ", blocks of " << blockBytes << ", failing at " << failAt << "\nlog:\n"
          << log;
    }
  }
}

}  // namespace
}  // namespace quorvel::testing
