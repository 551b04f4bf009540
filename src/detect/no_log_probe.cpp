#include "detect/no_log_probe.h"

#include <array>
#include <cstddef>

#include "base/ascii.h"
#include "detect/space_tokens.h"

namespace quorvel {

namespace {

// The magic numbers that begin a compressed file or an archive, and what
// each is called in a message.
struct Magic {
  std::string_view bytes;
  std::string_view reason;
};

constexpr std::array<Magic, 7> kCompressed = {{
    {"\x1F\x8B", "it is gzip-compressed; decompress it first"},
    {"PK\x03\x04", "it is zip-compressed; decompress it first"},
    {"PK\x05\x06", "it is zip-compressed; decompress it first"},  // an empty archive
    {"\xFD"
     "7zXZ",
     "it is xz-compressed; decompress it first"},
    {"7z\xBC\xAF\x27\x1C", "it is 7z-compressed; decompress it first"},
    {"\x28\xB5\x2F\xFD", "it is zstd-compressed; decompress it first"},
    {"BZh", "it is bzip2-compressed; decompress it first"},
}};

// bzip2's "BZh" is a word a text may begin with: its level digit and the
// magic of its first block follow it.
bool bzip2Follows(std::string_view start) {
  return start.size() >= 10 && start[3] >= '1' && start[3] <= '9' && start.substr(4, 6) == "1AY&SY";
}

// A binary file holds a NUL on its first line: no text log does, and a
// log that a crash padded with NULs holds its rows before them.
bool holdsBinaryData(std::string_view start) {
  const std::size_t lineEnd = start.find_first_of("\r\n");
  return start.substr(0, lineEnd).find('\0') != std::string_view::npos;
}

// A number of `text` with an optional sign, and a point with digits
// after it where `decimal`, none where not.
bool isNumber(std::string_view text, bool decimal) {
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
  const std::size_t point = text.find('.');
  if (!decimal) return point == std::string_view::npos && allDigits(text);
  return point != std::string_view::npos && (point == 0 || allDigits(text.substr(0, point))) &&
         allDigits(text.substr(point + 1));
}

bool isStamp(std::string_view token) {
  const std::size_t joint = token.find('_');
  if (joint == std::string_view::npos) return false;
  const std::string_view date = token.substr(0, joint), time = token.substr(joint + 1);
  return (date.size() == 6 || date.size() == 8) && (time.size() == 4 || time.size() == 6) && allDigits(date) &&
         allDigits(time);
}

}  // namespace

bool isDecodeRow(std::string_view row) {
  SpaceTokens cut(row);
  std::string_view stamp;
  if (!cut.next(stamp) || !isStamp(stamp)) return false;
  // Frequency, direction and mode may stand between the stamp and the
  // report: six tokens hold the report wherever a program writes it.
  std::array<std::string_view, 6> tokens;
  for (std::string_view& token : tokens) (void)cut.next(token);
  for (std::size_t i = 0; i + 2 < tokens.size(); ++i) {
    if (isNumber(tokens[i], false) && isNumber(tokens[i + 1], true) && isNumber(tokens[i + 2], false) &&
        tokens[i + 2][0] != '-') {
      return true;
    }
  }
  return false;
}

std::string_view noLogReason(std::string_view start) {
  for (const Magic& magic : kCompressed) {
    if (start.starts_with(magic.bytes) && (magic.bytes != "BZh" || bzip2Follows(start))) return magic.reason;
  }
  if (holdsBinaryData(start)) return "it holds binary data, not text";
  // A decode record: three rows in four of its start are decodes. The
  // last row of a start cut short is left out.
  std::size_t rows = 0, decodes = 0;
  for (std::size_t at = 0; at < start.size();) {
    const std::size_t end = start.find_first_of("\r\n", at);
    if (end == std::string_view::npos && at > 0) break;
    const std::string_view row = start.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
    at = end == std::string_view::npos ? start.size() : end + 1;
    bool blank = true;
    for (char c : row) blank = blank && isScanSpace(static_cast<unsigned char>(c));
    if (blank) continue;
    ++rows;
    decodes += isDecodeRow(row) ? 1 : 0;
  }
  if (decodes > 0 && 4 * decodes >= 3 * rows) return "it holds decoded signals, not contacts";
  return {};
}

}  // namespace quorvel
