#include "readers/edi_contact.h"

#include <array>
#include <cstddef>

#include "base/ascii.h"
#include "radio/band_notation.h"

namespace quorvel {

namespace {

// The modes by their code, from 0: a code 3 or 4 (sent in one mode,
// received in the other) is named by the mode sent.
constexpr std::array<std::string_view, 10> kModeCodes = {"",   "SSB", "CW",   "SSB",  "CW",
                                                         "AM", "FM",  "RTTY", "SSTV", "ATV"};

// The field of `line` from `at` to the next ";", and `at` moved past it.
std::string_view nextField(std::string_view line, std::size_t& at) {
  if (at > line.size()) return {};
  const std::size_t end = std::min(line.find(';', at), line.size());
  const std::string_view field = line.substr(at, end - at);
  at = end + 1;
  return field;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isScanSpace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && isScanSpace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

}  // namespace

bool parseEdiContact(std::string_view upperLine, EdiContact& contact) {
  std::size_t at = 0;
  const std::string_view date = trimmed(nextField(upperLine, at));
  const std::string_view time = trimmed(nextField(upperLine, at));
  const std::string_view call = trimmed(nextField(upperLine, at));
  const std::string_view code = trimmed(nextField(upperLine, at));
  if (date.size() != 6 || !allDigits(date) || call.empty()) return false;
  // Two-digit years: the format dates from the 1990s.
  contact.date.assign(date.substr(0, 2) < "90" ? "20" : "19").append(date);
  contact.time = time.size() == 4 && allDigits(time) ? time : std::string_view();
  contact.callsign = call;
  contact.mode = code.size() == 1 && isAsciiDigit(static_cast<unsigned char>(code[0]))
                     ? kModeCodes[static_cast<std::size_t>(code[0] - '0')]
                     : std::string_view();
  return true;
}

int ediBandIndex(std::string_view pband) {
  // Blanks left out and the decimal comma of Europe read as a point:
  // "1,3 GHz" is 1.3GHZ.
  std::string value;
  for (char c : pband) {
    if (isScanSpace(static_cast<unsigned char>(c))) continue;
    value.push_back(c == ',' ? '.' : toAsciiUpper(c));
  }
  return value.empty() ? -1 : adifBandIndex(value);
}

std::string_view ediBandText(int index) {
  if (index < 0) return {};
  const Band& band = kBands[static_cast<std::size_t>(index)];
  return band.cabrilloText.empty() ? band.name : band.cabrilloText;
}

}  // namespace quorvel
