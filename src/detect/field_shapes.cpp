#include "detect/field_shapes.h"

#include <algorithm>
#include <array>

#include "base/ascii.h"
#include "detect/recognisers.h"

namespace quorvel {

namespace {

// ADIF's modes and the submodes in everyday use, and the short forms of
// contest loggers, beyond the names isMode() knows.
constexpr std::array<std::string_view, 64> kModeNames = {
    "AM",     "ARDOP",  "ATV",     "C4FM",  "CHIP",   "CLO",    "CONTESTI", "DATA",   "DIG",   "DIGITALVOICE", "DMR",
    "DOMINO", "DSTAR",  "DYNAMIC", "FAX",   "FREEDV", "FSK441", "FST4",     "FST4W",  "FT4",   "FT8",          "HELL",
    "ISCAT",  "JS8",    "JT4",     "JT65",  "JT6M",   "JT9",    "JT44",     "LSB",    "M17",   "MFSK",         "MSK144",
    "MT63",   "OLIVIA", "OPERA",   "PAC",   "PAX",    "PH",     "PHONE",    "PKT",    "PSK63", "PSK125",       "PSK2K",
    "Q15",    "Q65",    "QPSK31",  "QRA64", "ROS",    "RY",     "RTTYM",    "SSTV",   "T10",   "THOR",         "THRB",
    "TOR",    "USB",    "V4",      "VARA",  "VOI",    "WINMOR", "WSPR",     "BPSK31", "FSQ",
};

// The bands a contest logger writes before a glued mode, in metres.
constexpr std::array<std::string_view, 13> kGluedBands = {"160", "80", "60", "40", "30", "20", "17",
                                                          "15",  "12", "10", "6",  "4",  "2"};

bool allDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return isAsciiDigit(static_cast<unsigned char>(c)); });
}

int twoDigits(std::string_view text, std::size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); }

bool isMonthDay(int month, int day) { return month >= 1 && month <= 12 && day >= 1 && day <= 31; }

}  // namespace

namespace {

// The clock of a time written with colons, and its AM or PM.
struct ColonTime {
  int hours = 0;
  std::size_t colon = 0;  // where the minutes' colon stands
  char meridiem = 0;      // 'A', 'P', or 0 for a 24-hour time
};

// Reads H:MM, HH:MM or HH:MM:SS, then, with blanks before it or none, AM
// or PM (of a US spreadsheet's "1:05 PM"), whose hours run 1 to 12.
bool readColonTime(std::string_view token, ColonTime& time) {
  time.colon = token.size() > 1 && token[1] == ':' ? 1 : token.size() > 2 && token[2] == ':' ? 2 : 0;
  if (time.colon == 0) return false;
  std::string_view rest = token.substr(time.colon + 1);
  time.meridiem = 0;
  if (rest.size() > 2 && (rest.ends_with("AM") || rest.ends_with("PM"))) {
    time.meridiem = rest[rest.size() - 2];
    rest.remove_suffix(2);
    while (!rest.empty() && rest.back() == ' ') rest.remove_suffix(1);
  }
  const std::string_view hours = token.substr(0, time.colon);
  if (!allDigits(hours)) return false;
  time.hours = hours.size() == 2 ? twoDigits(hours, 0) : hours[0] - '0';
  if (time.meridiem != 0 ? time.hours < 1 || time.hours > 12 : time.hours > 23) return false;
  if (rest.size() != 2 && !(rest.size() == 5 && rest[2] == ':')) return false;
  for (std::size_t at = 0; at < rest.size(); at += 3) {
    if (!allDigits(rest.substr(at, 2)) || twoDigits(rest, at) > 59) return false;
  }
  return true;
}

}  // namespace

bool isColonTime(std::string_view token) {
  ColonTime time;
  return readColonTime(token, time);
}

bool isMeridiem(std::string_view token) { return token == "AM" || token == "PM"; }

bool isLongDate(std::string_view token) {
  if (token.size() == 8 && allDigits(token)) {
    return (token.starts_with("19") || token.starts_with("20")) && isMonthDay(twoDigits(token, 4), twoDigits(token, 6));
  }
  return token.size() == 10 && token[2] == '.' && token[5] == '.' && allDigits(token.substr(0, 2)) &&
         allDigits(token.substr(3, 2)) && allDigits(token.substr(6)) &&
         isMonthDay(twoDigits(token, 3), twoDigits(token, 0));
}

bool isFrequency(std::string_view token) {
  const std::size_t dot = token.find('.');
  return dot != std::string_view::npos && allDigits(token.substr(0, dot)) && allDigits(token.substr(dot + 1));
}

bool isModeName(std::string_view token) {
  return isMode(token) || std::find(kModeNames.begin(), kModeNames.end(), token) != kModeNames.end();
}

std::size_t gluedBandLength(std::string_view token) {
  std::size_t length = 0;
  while (length < token.size() && isAsciiDigit(static_cast<unsigned char>(token[length]))) ++length;
  if (length == token.size()) return 0;
  const std::string_view band = token.substr(0, length);
  if (std::find(kGluedBands.begin(), kGluedBands.end(), band) == kGluedBands.end()) return 0;
  return isModeName(token.substr(length)) ? length : 0;
}

std::string_view fourDigitTime(std::string_view time, char (&out)[4]) {
  // Most times are digits alone: they are passed on at a glance.
  ColonTime clock;
  if (time.size() < 4 || (time[1] != ':' && time[2] != ':') || !readColonTime(time, clock)) return time;
  // 12 AM is midnight, 12 PM noon.
  const int hours = clock.meridiem == 0 ? clock.hours : clock.hours % 12 + (clock.meridiem == 'P' ? 12 : 0);
  out[0] = static_cast<char>('0' + hours / 10);
  out[1] = static_cast<char>('0' + hours % 10);
  out[2] = time[clock.colon + 1];
  out[3] = time[clock.colon + 2];
  return std::string_view(out, 4);
}

}  // namespace quorvel
