#include "readers/cabrillo_contact.h"

#include <array>
#include <utility>

#include "base/ascii.h"
#include "radio/recognisers.h"

namespace quorvel {

namespace {

// The ten contests read since the program's first version, found anywhere
// in the contest name, in this order: their token is taken whatever it
// holds, so their lists stay as they always were.
struct FirstContest {
  std::string_view text;
  int callsignToken;
};
constexpr std::array<FirstContest, 10> kFirstContests = {{
    {"RSGB-IOTA", 9},
    {"ARRL-VHF-SEP", 7},
    {"CQ-WW-RTTY", 9},
    {"ARRL-SS-CW", 10},
    {"IARU", 8},
    {"AP-SPRINT", 8},
    {"ARRL-10", 8},
    {"ARRL-160", 8},
    {"ARRL-DX", 8},
    {"CQ-WPX", 8},
}};

// The other contests, by their whole name, or by a family of names with a
// "*" standing for the rest. Where a line's token holds no callsign, it is
// looked for (see findWorkedCall).
struct NamedContest {
  std::string_view name;
  int callsignToken;
};
constexpr NamedContest kNamedContests[] = {
    // Reports and grid squares, or grid squares alone, before the call.
    {"ARRL-VHF-*", 7},
    {"ARRL-UHF-*", 7},
    {"ARRL-10-GHZ", 7},
    {"ARRL-222", 7},
    {"CQ-VHF", 7},
    {"STEW-PERRY", 7},
    {"BARTG-SPRINT*", 7},
    // Number, name and state; or report, serial and time; and the like.
    {"NA-SPRINT-*", 9},
    {"BARTG-RTTY", 9},
    {"ARRL-SCR", 9},
    {"HELVETIA", 9},
    {"RSGB-160", 9},
    {"RSGB-21/28", 9},
    {"RSGB-COMMONWEALTH", 9},
    {"RSGB-LOW-POWER", 9},
    {"RSGB-SSB-FD", 9},
    {"TARA-*", 9},
    {"UBA-DX-CW", 9},
    {"VOLTA-RTTY", 9},
    // Number, precedence, check and section.
    {"ARRL-SS-*", 10},
    // Report and exchange, or name and place: the eighth token.
    {"7QP", 8},
    {"AADX-*", 8},
    {"ARI-DX", 8},
    {"ARRL-DIGI", 8},
    {"ARRL-FD", 8},
    {"ARRL-RR-*", 8},
    {"ARRL-RTTY", 8},
    {"AZQP", 8},
    {"CQ-160-*", 8},
    {"CQ-M", 8},
    {"CQ-WW-*", 8},
    {"CW-OPS", 8},
    {"CWOPS-*", 8},
    {"DARC-WAEDC-*", 8},
    {"DL-DX-RTTY", 8},
    {"EU-HF", 8},
    {"EUHFC", 8},
    {"FCG-FQP", 8},
    {"JARTS-WW-RTTY", 8},
    {"JIDX-*", 8},
    {"NAQP-*", 8},
    {"NCCC-CQP", 8},
    {"NEQP", 8},
    {"NRAU-BALTIC-*", 8},
    {"OCEANIA-DX-*", 8},
    {"OK-OM-DX", 8},
    {"PACC", 8},
    {"RADIO-WW-RTTY", 8},
    {"RAEM", 8},
    {"RDAC", 8},
    {"RDXC", 8},
    {"REF-*", 8},
    {"RSGB-80M-*", 8},
    {"RSGB-AFS-*", 8},
    {"RSGB-CLUB-CALLS", 8},
    {"RSGB-FT4", 8},
    {"RSGB-NFD", 8},
    {"RSGB-ROPOCO", 8},
    {"SAC-*", 8},
    {"SARTG-RTTY", 8},
    {"SP-DX-RTTY", 8},
    {"SPDX*", 8},
    {"TMC-RTTY", 8},
    {"UBA-DX-SSB", 8},
    {"WAE*", 8},
    {"XE-RTTY", 8},
    {"*-QSO-PARTY", 8},
    {"*QP", 8},
};

// Whether `name` is `pattern`, a "*" at either end of which stands for any
// text.
bool nameMatches(std::string_view name, std::string_view pattern) {
  if (pattern.back() == '*') return name.substr(0, pattern.size() - 1) == pattern.substr(0, pattern.size() - 1);
  if (pattern.front() == '*') return name.size() >= pattern.size() && name.ends_with(pattern.substr(1));
  return name == pattern;
}

constexpr std::string_view kContactMarker = "QSO:";
constexpr std::string_view kMissingField = "                    ";  // 20 blanks
constexpr int kSentCallToken = 5;

// Whether `before`, what stands before a line's "QSO:", starts it as a
// contact line: blanks, and "X-" for a contact made but not scored.
bool onlyBlanksBefore(std::string_view before) {
  if (before.size() >= 2 && before[before.size() - 2] == 'X' && before.back() == '-') before.remove_suffix(2);
  for (char c : before) {
    if (!isScanSpace(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

// Cuts the next token off `text`, which it shortens: a run of bytes other
// than white space. Empty when none is left.
std::string_view cutToken(std::string_view& text) {
  const char* at = text.data();
  const char* const end = at + text.size();
  while (at < end && isScanSpace(static_cast<unsigned char>(*at))) ++at;
  const char* start = at;
  // Bytes above the blank are never white space: most of a token is
  // passed over with one test a byte.
  while (at < end && (static_cast<unsigned char>(*at) > ' ' || !isScanSpace(static_cast<unsigned char>(*at)))) ++at;
  text = std::string_view(at, static_cast<std::size_t>(end - at));
  return std::string_view(start, static_cast<std::size_t>(at - start));
}

// The worked callsign of a line (the text after "QSO:") whose contest
// token holds none: the first token after the sent call `sent` that looks
// like a callsign, is not the sent call and is no locator; else the first
// such token even if it looks like a locator (GB50TG); else nothing.
std::string_view findWorkedCall(std::string_view text, std::string_view sent) {
  for (int skipped = 0; skipped < kSentCallToken; ++skipped) cutToken(text);
  for (bool locatorsToo : {false, true}) {
    std::string_view rest = text;
    for (std::string_view token = cutToken(rest); !token.empty(); token = cutToken(rest)) {
      if (token != sent && looksLikeCallsign(token) && (locatorsToo || !isLocator(token))) return token;
    }
  }
  return {};
}

}  // namespace

bool isContactLine(std::string_view upperLine) {
  const std::size_t marker = upperLine.find(kContactMarker);
  return marker != std::string_view::npos && onlyBlanksBefore(upperLine.substr(0, marker));
}

ContestLayout contestLayoutFor(std::string_view contestName) {
  // A contest named whole before the first contests found within names:
  // ARRL-10-GHZ is no ARRL-10.
  for (const NamedContest& contest : kNamedContests) {
    if (contest.name.find('*') == std::string_view::npos && contestName == contest.name) {
      return {contest.callsignToken, true, false};
    }
  }
  for (const FirstContest& contest : kFirstContests) {
    if (contains(contestName, contest.text)) return {contest.callsignToken, true, true};
  }
  for (const NamedContest& contest : kNamedContests) {
    if (!contestName.empty() && nameMatches(contestName, contest.name)) return {contest.callsignToken, true, false};
  }
  return {};
}

// Built with all it calls inline (flatten): a call of cutToken for each
// token costs more than cutting it.
[[gnu::flatten]] CabrilloParse parseCabrilloQso(std::string_view upperLine, const ContestLayout& layout,
                                                CabrilloContact& contact) {
  const std::size_t marker = upperLine.find(kContactMarker);
  if (marker == std::string_view::npos || !onlyBlanksBefore(upperLine.substr(0, marker))) {
    return CabrilloParse::NotContact;
  }
  const std::string_view text = upperLine.substr(marker + kContactMarker.size());

  contact = CabrilloContact{kMissingField, kMissingField, kMissingField, kMissingField, kMissingField};
  std::string_view rest = text, sent;
  std::string_view* fields[] = {&contact.band, &contact.mode, &contact.date, &contact.time, &sent};
  int number = 0;
  // The line is read up to its contest token only, unless that holds no
  // callsign and the call is looked for.
  for (std::string_view token; number < layout.callsignToken && !(token = cutToken(rest)).empty();) {
    if (++number <= kSentCallToken) *fields[number - 1] = token;
    if (number == layout.callsignToken) contact.callsign = token;
  }
  if (number == 0) return CabrilloParse::Empty;
  std::string_view token = number == layout.callsignToken ? contact.callsign : std::string_view();
  // The first contests' token stands whatever it holds, but for one that
  // is no callsign at all (a report, where a logger left out an optional
  // exchange field before the call).
  bool isCall = (layout.takenAsItStands && (token.empty() || looksLikeCallsign(token) || !allDigits(token))) ||
                (looksLikeCallsign(token) && (layout.named || (token != sent && !isLocator(token))));
  if (!isCall) {
    // A line where nothing looks like a callsign keeps its token as it stands.
    std::string_view found = findWorkedCall(text, sent);
    if (!found.empty()) contact.callsign = found;
  }
  return CabrilloParse::Contact;
}

}  // namespace quorvel
