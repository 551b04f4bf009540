#include "readers/adif_tags.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>

#include "detect/ascii.h"
#include "detect/byte_masks.h"

namespace quorvel {

namespace {

constexpr std::array<std::string_view, kAdifTagCount> kTagNames = {
    "CALL", "COMMENT", "FREQ", "BAND", "MODE", "QSO_DATE", "TIME_ON",
};
constexpr std::string_view kEndOfRecord = "EOR>";
constexpr std::size_t kTimeLength = 4;

// A name compared in any letter case eight bytes at a time: the bytes
// after a "<", read as one number, masked and compared with the name's.
// Letter bytes lose their case bit in the mask, other bytes keep every bit,
// and bytes past the name count for nothing.
struct NamePattern {
  std::uint64_t bits = 0;
  std::uint64_t mask = 0;
};

constexpr NamePattern patternOf(std::string_view name) {
  NamePattern pattern;
  for (std::size_t i = 0; i < name.size() && i < 8; ++i) {
    auto c = static_cast<unsigned char>(name[i]);
    std::uint64_t mask = isAsciiAlpha(c) ? 0xDF : 0xFF;
    pattern.bits |= static_cast<std::uint64_t>(c) << (8 * i);
    pattern.mask |= mask << (8 * i);
  }
  return pattern;
}

constexpr std::array<NamePattern, kAdifTagCount> tagPatterns() {
  std::array<NamePattern, kAdifTagCount> patterns{};
  for (std::size_t i = 0; i < kTagNames.size(); ++i) patterns[i] = patternOf(kTagNames[i]);
  return patterns;
}
constexpr std::array<NamePattern, kAdifTagCount> kTagPatterns = tagPatterns();
constexpr NamePattern kEndOfRecordPattern = patternOf(kEndOfRecord);

// Whether `text` begins with `name` in any letter case.
bool startsWithName(std::string_view text, std::string_view name, const NamePattern& pattern) {
  if (text.size() >= 8) return (loadEightBytes(text.data()) & pattern.mask) == pattern.bits;
  return startsWithCaseless(text, name);
}

// For each byte, the first of the tags whose name begins with it (in
// either letter case), or -1. A table, not a switch: this runs for every
// "<" of every line.
constexpr std::array<signed char, 256> firstTagByInitial() {
  std::array<signed char, 256> table{};
  for (auto& entry : table) entry = -1;
  for (std::size_t i = kTagNames.size(); i-- > 0;) {
    auto initial = static_cast<unsigned char>(kTagNames[i][0]);
    table[initial] = table[initial + ('a' - 'A')] = static_cast<signed char>(i);
  }
  return table;
}
constexpr std::array<signed char, 256> kFirstTagByInitial = firstTagByInitial();

// Which tag, if any, `afterOpen` (the text behind a "<") names exactly, in
// any letter case.
int tagAt(std::string_view afterOpen) {
  if (afterOpen.empty()) return -1;
  int first = kFirstTagByInitial[static_cast<unsigned char>(afterOpen[0])];
  if (first < 0) return -1;
  // CALL and COMMENT share their initial; no other two tags do.
  int last = first == static_cast<int>(AdifTag::Call) ? static_cast<int>(AdifTag::Comment) : first;
  for (int i = first; i <= last; ++i) {
    std::string_view name = kTagNames[static_cast<std::size_t>(i)];
    if (afterOpen.size() > name.size() && startsWithName(afterOpen, name, kTagPatterns[static_cast<std::size_t>(i)]) &&
        (afterOpen[name.size()] == ':' || afterOpen[name.size()] == '>')) {
      return i;
    }
  }
  return -1;
}

std::size_t skipScanSpace(std::string_view text, std::size_t at) {
  while (at < text.size() && isScanSpace(static_cast<unsigned char>(text[at]))) ++at;
  return at;
}

// scanf's "%d": white space, an optional sign, then digits. Sets `at` past
// the number; false when no digit comes or the number is negative.
bool readLength(std::string_view text, std::size_t& at, std::size_t& length) {
  std::size_t i = skipScanSpace(text, at);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::size_t digitsStart = i;
  std::size_t value = 0;
  constexpr std::size_t kMax = std::numeric_limits<std::size_t>::max();
  while (i < text.size() && isAsciiDigit(static_cast<unsigned char>(text[i]))) {
    std::size_t digit = static_cast<std::size_t>(text[i] - '0');
    bool overflows = value > kMax / 10 || (value == kMax / 10 && digit > kMax % 10);
    value = overflows ? kMax : value * 10 + digit;
    ++i;
  }
  if (i == digitsStart || (negative && value != 0)) return false;
  at = i;
  length = value;
  return true;
}

// scanf's "%s" after its white space: the text from `start` up to the next
// white space, or only its first `most` characters.
std::string_view readWord(std::string_view text, std::size_t start, std::size_t most) {
  std::size_t stop = text.size() - start > most ? start + most : text.size();
  std::size_t end = start;
  if (text.size() - start >= 8) {
    // Most values are short. Among their first eight bytes, those below
    // "!" (blanks and control characters) are flagged; the lowest flag is
    // exact, the ones above it may be false. No flag means no white space.
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    std::uint64_t bytes = loadEightBytes(text.data() + start);
    std::uint64_t low = (bytes - kOnes * 0x21) & ~bytes & (kOnes * 0x80);
    std::size_t wanted = std::min<std::size_t>(stop - start, 8);
    std::uint64_t inValue = wanted == 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * wanted)) - 1;
    if ((low & inValue) == 0) {
      if (stop - start == wanted) return std::string_view(text.data() + start, wanted);
      end = start + 8;
    } else {
      end = start + static_cast<std::size_t>(std::countr_zero(low)) / 8;
    }
  }
  while (end < stop && !isScanSpace(static_cast<unsigned char>(text[end]))) ++end;
  return std::string_view(text.data() + start, end - start);
}

}  // namespace

bool keepAdifValue(AdifTag tag, const AdifTagValue& value, std::string_view& field) {
  if (!value.lengthRead) return false;
  // A tag with nothing after it on its line keeps what the field held.
  // (The value is fetched as its two parts: fetched as one piece right
  // after readAdifTag stored them, it would stall the processor.)
  std::string_view text = field;
  if (value.hasValue) text = std::string_view(value.value.data(), value.value.size());
  if (tag == AdifTag::Band) {
    // Band texts name their unit ("20M", "70CM"); the record line shows the
    // number only. The declared length does not apply here.
    field = text.substr(0, text.find_first_of("Mm"));
    return true;
  }
  std::size_t kept = value.length;
  if (tag == AdifTag::TimeOn) kept = std::min(kept, kTimeLength);  // seconds dropped
  field = text.substr(0, kept);
  if (tag == AdifTag::Mode && field.size() == 5 && startsWithCaseless(field, "PSK31")) field = "PSK";
  return true;
}

std::string_view adifTagName(AdifTag tag) { return kTagNames[static_cast<std::size_t>(tag)]; }

namespace {

// The names a "<" may open on a line, each in the slot its first four
// bytes pick in a small table, so that a "<" is told by one comparison.
struct NameSlot {
  NamePattern pattern{1, 0};  // in a free slot, matches no bytes
  std::uint8_t length = 0;    // of the name
  signed char tag = -1;       // -2 for the end of the record
};

constexpr int kSlotBits = 4;
constexpr std::uint32_t kSlotMultiplier = 0x9E3779B1u;

// The slot of the bytes behind a "<", picked by their first four with the
// case bit of every byte cleared.
constexpr std::size_t slotOf(std::uint64_t word) {
  auto key = static_cast<std::uint32_t>(word) & 0xDFDFDFDFu;
  return static_cast<std::uint32_t>(key * kSlotMultiplier) >> (32 - kSlotBits);
}

constexpr std::array<NameSlot, std::size_t{1} << kSlotBits> nameSlots() {
  std::array<NameSlot, std::size_t{1} << kSlotBits> slots{};
  auto place = [&slots](std::string_view name, int tag) {
    NamePattern pattern = patternOf(name);
    NameSlot& slot = slots[slotOf(pattern.bits)];
    // Two names in one slot: the table needs another multiplier.
    if (slot.tag != -1) throw "two ADIF names share a slot";
    slot = {pattern, static_cast<std::uint8_t>(name.size()), static_cast<signed char>(tag)};
  };
  for (std::size_t i = 0; i < kTagNames.size(); ++i) place(kTagNames[i], static_cast<int>(i));
  place(kEndOfRecord, -2);
  return slots;
}
constexpr std::array<NameSlot, std::size_t{1} << kSlotBits> kNameSlots = nameSlots();

// Which tag, if any, the nine or more bytes at `afterOpen` (behind a "<")
// name exactly; -2 for the end of the record. Their first eight bytes are
// compared as one word.
int tagAtLong(const char* afterOpen) {
  std::uint64_t word = loadEightBytes(afterOpen);
  const NameSlot& slot = kNameSlots[slotOf(word)];
  if ((word & slot.pattern.mask) != slot.pattern.bits) return -1;
  if (slot.tag == -2) return -2;  // "EOR>" is matched with its ">"
  char after = afterOpen[slot.length];
  return after == ':' || after == '>' ? slot.tag : -1;
}

}  // namespace

namespace {

// Where the "<" stand among the 16 bytes at data[at], or among those left
// before `size` when fewer remain: bit i for data[at + i].
std::uint32_t opensAt(const char* data, std::size_t at, std::size_t size) {
  if (size - at >= 16) return bytesEqualMask(data + at, '<');
  // The last 16 bytes of the line, less those already looked at.
  if (size >= 16) return bytesEqualMask(data + size - 16, '<') >> (16 - (size - at));
  std::uint32_t mask = 0;
  for (std::size_t i = 0; at + i < size; ++i) mask |= static_cast<std::uint32_t>(data[at + i] == '<') << i;
  return mask;
}

// Which tag the "<" at `position` opens: a tag's index, -2 for the end of
// the record, or -1.
int tagOpenedAt(const char* data, std::size_t position, std::size_t size) {
  if (size - position > 9) return tagAtLong(data + position + 1);
  std::string_view afterOpen(data + position + 1, size - position - 1);
  return startsWithName(afterOpen, kEndOfRecord, kEndOfRecordPattern) ? -2 : tagAt(afterOpen);
}

}  // namespace

AdifTagPositions findAdifTags(std::string_view line) {
  AdifTagPositions positions;
  positions.first.fill(std::string_view::npos);
  const char* data = line.data();
  const std::size_t size = line.size();
  // Tags are a few bytes apart: the line is looked at 16 bytes at a time,
  // and each "<" among them taken from one mask.
  for (std::size_t at = 0; at < size; at += 16) {
    for (std::uint32_t opens = opensAt(data, at, size); opens != 0; opens &= opens - 1) {
      std::size_t position = at + static_cast<std::size_t>(std::countr_zero(opens));
      int tag = tagOpenedAt(data, position, size);
      if (tag == -2) {
        positions.endOfRecord = position;
        return positions;
      }
      if (tag >= 0 && positions.first[static_cast<std::size_t>(tag)] == std::string_view::npos) {
        positions.first[static_cast<std::size_t>(tag)] = position;
      }
    }
  }
  return positions;
}

namespace {

// Most lengths are one or two plain digits right before the ">": read at
// a glance, which readLength would take the long way to. False when the
// length is written any other way.
bool readShortLength(std::string_view text, std::size_t& at, std::size_t& length) {
  if (text.size() - at < 3) return false;
  auto first = static_cast<unsigned char>(text[at]);
  auto second = static_cast<unsigned char>(text[at + 1]);
  if (!isAsciiDigit(first)) return false;
  if (second == '>') {
    length = first - '0';
    at += 1;
    return true;
  }
  if (!isAsciiDigit(second) || text[at + 2] != '>') return false;
  length = (first - '0') * 10u + (second - '0');
  at += 2;
  return true;
}

}  // namespace

AdifTagValue readAdifTag(std::string_view line, std::size_t position, std::size_t nameLength, bool cutToLength) {
  AdifTagValue tag;
  std::size_t at = position + 1 + nameLength;
  if (at >= line.size() || line[at] != ':') return tag;
  ++at;
  if (!readShortLength(line, at, tag.length) && !readLength(line, at, tag.length)) return tag;
  tag.lengthRead = true;
  if (at < line.size() && line[at] == '>') {
    ++at;
  } else if (at + 2 < line.size() && line[at] == ':' && line[at + 2] == '>') {
    at += 3;  // ":%c>": the type indicator says nothing the reader needs
  } else {
    return tag;
  }
  tag.closed = true;
  tag.afterTag = std::string_view(line.data() + at, line.size() - at);
  std::size_t start =
      at < line.size() && !isScanSpace(static_cast<unsigned char>(line[at])) ? at : skipScanSpace(line, at);
  tag.hasValue = start < line.size();
  tag.value = readWord(line, start, cutToLength ? tag.length : std::string_view::npos);
  return tag;
}

}  // namespace quorvel
