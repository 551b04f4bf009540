// The vocabulary of contact logs: the recognisers, and the grammar of
// dates and times.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "radio/date_time.h"
#include "radio/recognisers.h"

namespace quorvel {
namespace {

TEST(Recognisers, BandsModesCallsignsAndLocators) {
  for (const char* yes : {"7", "14.0250", "SAT", "70CM", "579", "23CM", "6m", "1.25M"}) EXPECT_TRUE(isBand(yes)) << yes;
  for (const char* no : {"2", "432", "14.02500", "", "M6", "23CMX", "3MM"}) EXPECT_FALSE(isBand(no)) << no;
  for (const char* yes : {"CW", "PSK31"}) EXPECT_TRUE(isMode(yes)) << yes;
  for (const char* no : {"PSK63", "ssb", "USB"}) EXPECT_FALSE(isMode(no)) << no;
  for (const char* yes : {"GB4XYZ", "DLA1X", "4X4ABC", "1AB", "22/JUN/02", "G4ABC/P", "ABC/DEFG1H", "A.B/1",
                          "K1\xC4X/P", "K\xD8X", "DLA\xC3\x98X",
                          "DL\xC3\xB8"
                          "1A"}) {
    EXPECT_TRUE(isCallsign(yes)) << yes;
  }
  for (const char* no :
       {"ABCD1", "K1", "599", "SSB", "14.025", "12/06/02", "ABCDE/1", "AB-1", "K1\xC4X", "K\xC3X", "ABCD\xD8X"}) {
    EXPECT_FALSE(isCallsign(no)) << no;
  }
  for (const char* yes : {"K1ABC", "9A1A", "2E0ABC", "E73A", "W200YARC", "GB50TG", "I2/K3LR", "KA2CKI/R", "VP2E/W1AW",
                          "VK2/W1XYZ/P", "K\xC3\x98XYZ",
                          "DL\xD8"
                          "1ABC/P"}) {
    EXPECT_TRUE(looksLikeCallsign(yes)) << yes;
  }
  for (const char* no :
       {"599", "5NN", "14", "10A", "4A", "MDC", "EU-005", "TX", "------", "FN31", "K1/", "A/B/C/K1AB", "5N\xC3\x98",
        "K\xC4"
        "1ABC"}) {
    EXPECT_FALSE(looksLikeCallsign(no)) << no;
  }
  for (const char* locator : {"FN31", "FN21AB", "GB50TG"}) EXPECT_TRUE(isLocator(locator)) << locator;
  for (const char* no : {"FN3", "FS31", "SN31", "FN31YA", "FN31AZ", "K1ABC"}) EXPECT_FALSE(isLocator(no)) << no;
}

// What readDateTime makes of a text: the date, "?" where day and month
// could be either way round; the time; for both with an offset, " = " and
// the date and time in UTC.
std::string reading(std::string_view text) {
  const DateTimeRead read = readDateTime(text);
  char date[10], time[4];
  std::string out;
  if (read.date) out += std::string(isoDate(read.date->date, date)) + (read.date->notation.orderGuessed ? "?" : "");
  if (read.time) out += (out.empty() ? "" : " ") + std::string(hoursAndMinutes(read.time->time, time));
  if (const std::optional<UtcDateTime> utc = inUtc(read); utc && read.time->offsetMinutes != 0) {
    out += " = " + std::string(isoDate(utc->date, date)) + " " + std::string(hoursAndMinutes(utc->time, time));
  }
  return out.empty() ? "-" : out;
}

// Every notation of a date, a time, or both in one field, and their near
// misses.
TEST(DateTime, OneGrammarForEveryNotation) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"20240309", "2024-03-09"},
      {"250627", "2025-06-27"},
      {"2024-03-09", "2024-03-09"},
      {"2024/3/9", "2024-03-09"},
      {"2024.03.09", "2024-03-09"},
      {"09.03.2024", "2024-03-09?"},
      {"25/12/2024", "2024-12-25"},
      {"3/9/2024", "2024-03-09?"},
      {"12-25-24", "2024-12-25"},
      {"31.12.79", "1979-12-31"},
      {"9-MAR-24", "2024-03-09"},
      {"JUN-23-02", "2002-06-23"},
      {"MAR 9, 2024", "2024-03-09"},
      {"09Mar2024", "2024-03-09"},
      {"9 September 1999", "1999-09-09"},
      {"29.02.2024", "2024-02-29"},
      {"1805", "1805"},
      {"181502", "1815"},
      {"18:15", "1815"},
      {"8:15", "0815"},
      {"18:15:02.500", "1815"},
      {"18.05", "1805"},
      {"18H05", "1805"},
      {"1815Z", "1815"},
      {"18:15 UTC", "1815"},
      {"1:05 PM", "1305"},
      {"12:00 AM", "0000"},
      {"12:30:00PM", "1230"},
      {"120530", "2012-05-30"},
      {"18:05+02:00", "1805"},
      {"2025-06-27T18:05:00Z", "2025-06-27 1805"},
      {"20250627T180500Z", "2025-06-27 1805"},
      {"2025-06-27 18:05:00", "2025-06-27 1805"},
      {"3/9/2024 6:15 PM", "2024-03-09? 1815"},
      {"2025-06-27T23:30:00-02:00", "2025-06-27 2330 = 2025-06-28 0130"},
      {"2024-03-01 00:30+01:00", "2024-03-01 0030 = 2024-02-29 2330"},
      {"2024-12-31T23:30:00-01:00", "2024-12-31 2330 = 2025-01-01 0030"},
      {"2025-06-15 08:05J", "2025-06-15 0805 = 2025-06-14 2305"},
      {"2025-06-15 10:15U", "2025-06-15 1015"},
      {"31.02.2024", "-"},
      {"29.02.2023", "-"},
      {"20241310", "-"},
      {"14074000", "-"},
      {"24:00", "-"},
      {"13:60", "-"},
      {"13:05 PM", "-"},
      {"14.025", "-"},
      {"932", "-"},
      {"23-XYZ-02", "-"},
      {"9-MARX-24", "-"},
      {"09-SEPT-24", "2024-09-09"},
      {"2024-03/10", "-"},
      {"18:05+15:00", "-"},
      {"G4ABC", "-"},
      {"1815X", "-"},
      {"2025-06-27T25:00", "-"},
  };
  for (const auto& [text, read] : cases) EXPECT_EQ(reading(text), read) << text;
}

}  // namespace
}  // namespace quorvel
