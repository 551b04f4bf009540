// Writes large, realistic, reproducible logs of every kind quorvel reads:
//
//   generate_logs DIR [CONTACTS]
//
// makes DIR/log.adi (ADIF, one record of about a dozen tags per line),
// DIR/log.adx (its contacts again as ADX, ADIF's XML form),
// DIR/cqww.log and DIR/arrlss.log (Cabrillo with a CQ-WW and an ARRL-SS
// header), DIR/paper.txt (a column text log with headings every 60
// lines) and DIR/log.csv (a spreadsheet's CSV export: a header row naming
// the columns, colon times, quoted comments holding commas), CONTACTS
// contacts each (1,000,000 unless given). The same
// arguments always give the same bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// A small generator of our own, so the logs do not depend on the standard
// library's distributions.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return state_;
  }
  int below(int bound) { return static_cast<int>(next() % static_cast<std::uint64_t>(bound)); }
  char letter() { return static_cast<char>('A' + below(26)); }
  char digit() { return static_cast<char>('0' + below(10)); }

 private:
  std::uint64_t state_;
};

// Prefixes roughly as often as they are heard on the air; the rest of the
// calls start with any of the 36 characters.
const std::vector<std::pair<const char*, int>> kPrefixes = {
    {"K", 14},  {"W", 14}, {"N", 6},  {"AA", 3}, {"VE", 3}, {"G", 4},  {"M", 2},  {"DL", 7}, {"F", 3},
    {"I", 3},   {"EA", 4}, {"JA", 6}, {"VK", 2}, {"ZL", 1}, {"PY", 2}, {"LU", 1}, {"UA", 3}, {"R", 2},
    {"OK", 2},  {"SP", 3}, {"HA", 2}, {"YO", 1}, {"LZ", 1}, {"9A", 1}, {"S5", 1}, {"4X", 1}, {"5B", 1},
    {"3D2", 1}, {"7X", 1}, {"8P", 1}, {"2E", 1}, {"6Y", 1}, {"BY", 1}, {"HL", 1}, {"XE", 1}, {"ON", 2},
};

std::string callsign(Random& random) {
  std::string call;
  if (random.below(10) == 0) {
    const char* firsts = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    call.push_back(firsts[random.below(36)]);
    call.push_back(random.letter());
  } else {
    int total = 0;
    for (const auto& prefix : kPrefixes) total += prefix.second;
    int pick = random.below(total);
    for (const auto& prefix : kPrefixes) {
      if ((pick -= prefix.second) < 0) {
        call = prefix.first;
        break;
      }
    }
  }
  call.push_back(random.digit());
  int suffix = 1 + random.below(3);
  for (int i = 0; i < suffix; ++i) call.push_back(random.letter());
  if (random.below(50) == 0) call += "/P";
  return call;
}

struct Band {
  const char* name;
  const char* mhz;
};
const Band kBands[] = {{"160M", "1.830"}, {"80M", "3.525"},  {"40M", "7.025"},  {"30M", "10.120"},
                       {"20M", "14.025"}, {"17M", "18.080"}, {"15M", "21.025"}, {"12M", "24.900"},
                       {"10M", "28.025"}, {"6M", "50.125"},  {"2M", "144.300"}};
const char* kModes[] = {"CW", "SSB", "FT8", "RTTY", "PSK31", "FM"};
const char* kNames[] = {"JOHN", "MARIA", "HANS", "YUKI", "PIERRE", "OLGA", "RAJ", "ANA"};

struct Contact {
  std::string call;
  char date[9];
  char time[7];
  const Band* band;
  const char* mode;
};

Contact contact(Random& random, long index) {
  Contact c;
  c.call = callsign(random);
  long day = index / 2000;
  std::snprintf(c.date, sizeof c.date, "2024%02ld%02ld", 1 + (day / 28) % 12, 1 + day % 28);
  long second = (index * 43) % 86400;
  std::snprintf(c.time, sizeof c.time, "%02ld%02ld%02ld", second / 3600, second / 60 % 60, second % 60);
  c.band = &kBands[random.below(11)];
  c.mode = kModes[random.below(6)];
  return c;
}

void tag(std::string& line, const char* name, const std::string& value) {
  line += '<';
  line += name;
  line += ':';
  line += std::to_string(value.size());
  line += '>';
  line += value;
  line += ' ';
}

void writeAdif(std::FILE* out, long count) {
  std::fputs("Generated test log for G4ZZZ\n<ADIF_VER:5>3.1.4 <PROGRAMID:8>loggen <EOH>\n", out);
  Random random(1);
  std::string line;
  for (long i = 0; i < count; ++i) {
    Contact c = contact(random, i);
    line.clear();
    tag(line, "CALL", c.call);
    tag(line, "QSO_DATE", c.date);
    tag(line, "TIME_ON", c.time);
    tag(line, "TIME_OFF", c.time);
    tag(line, "BAND", c.band->name);
    tag(line, "FREQ", c.band->mhz);
    tag(line, "MODE", c.mode);
    tag(line, "RST_SENT", "599");
    tag(line, "RST_RCVD", "579");
    tag(line, "NAME", kNames[random.below(8)]);
    tag(line, "GRIDSQUARE", std::string("JO") + random.digit() + random.digit());
    tag(line, "STATION_CALLSIGN", "G4ZZZ");
    tag(line, "COMMENT", "TNX QSO " + std::to_string(i % 1000));
    line += "<EOR>\n";
    std::fputs(line.c_str(), out);
  }
}

// The contacts of log.adi again, as ADX: each record's elements on lines of
// their own, as XML exporters indent them.
void writeAdx(std::FILE* out, long count) {
  std::fputs(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ADX>\n  <HEADER>\n    <ADIF_VER>3.1.4</ADIF_VER>\n"
      "    <PROGRAMID>loggen</PROGRAMID>\n  </HEADER>\n  <RECORDS>\n",
      out);
  Random random(1);
  std::string text;
  auto element = [&text](const char* name, const std::string& value) {
    text.append("      <").append(name).append(">").append(value).append("</").append(name).append(">\n");
  };
  for (long i = 0; i < count; ++i) {
    Contact c = contact(random, i);
    text = "    <RECORD>\n";
    element("CALL", c.call);
    element("QSO_DATE", c.date);
    element("TIME_ON", c.time);
    element("TIME_OFF", c.time);
    element("BAND", c.band->name);
    element("FREQ", c.band->mhz);
    element("MODE", c.mode);
    element("RST_SENT", "599");
    element("RST_RCVD", "579");
    element("NAME", kNames[random.below(8)]);
    element("GRIDSQUARE", std::string("JO") + random.digit() + random.digit());
    element("STATION_CALLSIGN", "G4ZZZ");
    element("COMMENT", "TNX QSO " + std::to_string(i % 1000));
    text += "    </RECORD>\n";
    std::fputs(text.c_str(), out);
  }
  std::fputs("  </RECORDS>\n</ADX>\n", out);
}

void writeCabrillo(std::FILE* out, long count, const char* contest, bool sweepstakes) {
  std::fprintf(out, "START-OF-LOG: 3.0\nCONTEST: %s\nCALLSIGN: G4ZZZ\nCATEGORY-OPERATOR: SINGLE-OP\n", contest);
  std::fputs("CREATED-BY: loggen\nNAME: A. Operator\nSOAPBOX: generated for benchmarks\n", out);
  Random random(sweepstakes ? 3 : 2);
  for (long i = 0; i < count; ++i) {
    Contact c = contact(random, i);
    int khz = static_cast<int>(std::atof(c.band->mhz) * 1000);
    char date[11] = {c.date[0], c.date[1], c.date[2], c.date[3], '-', c.date[4],
                     c.date[5], '-',       c.date[6], c.date[7], 0};
    if (sweepstakes) {
      std::fprintf(out, "QSO: %5d CW %s %.4s G4ZZZ %4ld A 72 CT %-10s %4ld B 75 ENY\n", khz, date, c.time, i % 9999 + 1,
                   c.call.c_str(), i % 9999 + 1);
    } else {
      std::fprintf(out, "QSO: %5d CW %s %.4s G4ZZZ         599 14     %-13s 599 %02d\n", khz, date, c.time,
                   c.call.c_str(), 1 + random.below(40));
    }
  }
  std::fputs("END-OF-LOG:\n", out);
}

void writeColumnText(std::FILE* out, long count) {
  Random random(4);
  static const char* kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
  for (long i = 0; i < count; ++i) {
    if (i % 60 == 0) {
      std::fprintf(out, "\f Page %ld\n DATE      TIME  BAND   MODE  CALL        RST-S RST-R\n\n", i / 60 + 1);
    }
    Contact c = contact(random, i);
    const char* mode = c.mode[0] == 'F' && c.mode[1] == 'T' ? "PSK31" : c.mode;
    std::fprintf(out, "%.2s-%s-%.2s %.4s  %-6s %-5s %-11s 599   579\n", c.date + 6,
                 kMonths[((c.date[4] - '0') * 10 + (c.date[5] - '0') + 11) % 12], c.date + 2, c.time, c.band->mhz, mode,
                 c.call.c_str());
  }
}

void writeCsv(std::FILE* out, long count) {
  Random random(5);
  std::fputs("Date,Time,Call,Freq,Mode,RST sent,RST rcvd,Comment\n", out);
  for (long i = 0; i < count; ++i) {
    Contact c = contact(random, i);
    std::fprintf(out, "%.4s-%.2s-%.2s,%.2s:%.2s:%.2s,%s,%s,%s,599,579,%s\n", c.date, c.date + 4, c.date + 6, c.time,
                 c.time + 2, c.time + 4, c.call.c_str(), c.band->mhz, c.mode,
                 i % 7 == 0 ? "\"Tnx, 73, good signal\"" : "");
  }
}

bool writeFile(const std::string& path, void (*write)(std::FILE*, long), long count) {
  std::FILE* out = std::fopen(path.c_str(), "w");
  if (out == nullptr) return false;
  write(out, count);
  return std::fclose(out) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: generate_logs DIR [CONTACTS]\n", stderr);
    return 1;
  }
  std::string dir = argv[1];
  long count = argc > 2 ? std::atol(argv[2]) : 1000000;
  bool ok =
      writeFile(dir + "/log.adi", writeAdif, count) && writeFile(dir + "/log.adx", writeAdx, count) &&
      writeFile(
          dir + "/cqww.log", [](std::FILE* out, long n) { writeCabrillo(out, n, "CQ-WW-CW", false); }, count) &&
      writeFile(
          dir + "/arrlss.log", [](std::FILE* out, long n) { writeCabrillo(out, n, "ARRL-SS-CW", true); }, count) &&
      writeFile(dir + "/paper.txt", writeColumnText, count) && writeFile(dir + "/log.csv", writeCsv, count);
  if (!ok) {
    std::fprintf(stderr, "generate_logs: cannot write into %s\n", dir.c_str());
    return 1;
  }
  return 0;
}
