#include "readers/adif_tags.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "base/ascii.h"
#include "base/bounds.h"
#include "base/bytes.h"

namespace quorvel {

namespace {

// The names a "<" may open, indexed by AdifTag; the end of the record is
// matched with its ">".
constexpr std::array<std::string_view, kAdifTagCount + 1> kTagNames = {
    "CALL", "COMMENT", "FREQ", "BAND", "MODE", "QSO_DATE", "TIME_ON", "SUBMODE", "NOTES", "EOR>",
};
constexpr std::size_t kTimeLength = 4;

// A name compared in any letter case eight bytes at a time: the bytes
// after a "<", read as one number, masked and compared with the name's.
// Letter bytes lose their case bit in the mask, other bytes keep every bit,
// and bytes past the name count for nothing.
struct NamePattern {
  std::uint64_t bits = 1;  // a free slot matches no bytes
  std::uint64_t mask = 0;
};

constexpr NamePattern patternOf(std::string_view name) {
  NamePattern pattern{0, 0};
  for (std::size_t i = 0; i < name.size(); ++i) {
    auto c = static_cast<unsigned char>(name[i]);
    std::uint64_t mask = isAsciiAlpha(c) ? 0xDF : 0xFF;
    pattern.bits |= static_cast<std::uint64_t>(c) << (8 * i);
    pattern.mask |= mask << (8 * i);
  }
  return pattern;
}

// Each name in the slot its first four bytes pick in a small table (a
// perfect hash), so that the name behind a "<" is told by one lookup and
// one masked comparison.
struct NameSlot {
  NamePattern pattern;
  std::uint8_t length = 0;
  AdifTag tag = AdifTag::Other;
};

constexpr int kSlotBits = 4;
constexpr std::uint32_t kSlotMultiplier = 0x3B1A11DFu;

// The slot of the bytes behind a "<", picked by their first four with the
// case bit of every byte cleared.
constexpr std::size_t slotOf(std::uint64_t word) {
  auto key = static_cast<std::uint32_t>(word) & 0xDFDFDFDFu;
  return static_cast<std::uint32_t>(key * kSlotMultiplier) >> (32 - kSlotBits);
}

constexpr std::array<NameSlot, std::size_t{1} << kSlotBits> nameSlots() {
  std::array<NameSlot, std::size_t{1} << kSlotBits> slots{};
  for (std::size_t i = 0; i < kTagNames.size(); ++i) {
    if (kTagNames[i].size() > 8) throw "an ADIF name longer than one eight-byte load";
    NamePattern pattern = patternOf(kTagNames[i]);
    NameSlot& slot = slots[slotOf(pattern.bits)];
    if (slot.tag != AdifTag::Other) throw "two ADIF names share a slot: pick another multiplier";
    slot = {pattern, static_cast<std::uint8_t>(kTagNames[i].size()), static_cast<AdifTag>(i)};
  }
  return slots;
}
constexpr std::array<NameSlot, std::size_t{1} << kSlotBits> kNameSlots = nameSlots();

// What the "<" at `position` of the `size` bytes at `data` opens, its name
// in any letter case. The eight bytes behind the "<" are read whole, the
// padding after the line included, and only those within the line count.
AdifTag tagOpenedAt(const char* data, std::size_t position, std::size_t size) {
  std::uint64_t word = loadEightBytes(data + position + 1);
  const NameSlot& slot = kNameSlots[slotOf(word)];
  if ((word & slot.pattern.mask) != slot.pattern.bits) return AdifTag::Other;
  std::size_t after = position + 1 + slot.length;  // the ":" or ">" closing the name
  if (slot.tag == AdifTag::EndOfRecord) return after <= size ? AdifTag::EndOfRecord : AdifTag::Other;
  return after < size && (data[after] == ':' || data[after] == '>') ? slot.tag : AdifTag::Other;
}

// Where the "<" stand among the 16 bytes at data[at], of which those from
// `size` on are padding: bit i for data[at + i].
std::uint32_t opensAt(const char* data, std::size_t at, std::size_t size) {
  std::uint32_t mask = bytesEqualMask(data + at, '<');
  return size - at >= 16 ? mask : mask & ((std::uint32_t{1} << (size - at)) - 1);
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

// scanf's "%s" after its white space: the text from `start` up to the next
// white space, or only its first `most` characters. Most values are short
// and end within their first eight bytes.
std::string_view readWord(std::string_view text, std::size_t start, std::size_t most) {
  std::size_t stop = text.size() - start > most ? start + most : text.size();
  std::size_t end = std::min(stop, start + bytesBeforeControl(loadEightBytes(text.data() + start)));
  while (end < stop && !isScanSpace(static_cast<unsigned char>(text[end]))) ++end;
  return std::string_view(text.data() + start, end - start);
}

}  // namespace

std::string_view adifTagName(AdifTag tag) { return kTagNames[static_cast<std::size_t>(tag)]; }

ContactMeaning adifMeaning(const RecordFields& fields, int band, std::string_view mode, std::string_view submode,
                           Meanings meanings, MeaningText& room) {
  // One object filled and returned on every path: the caller's meaning is
  // made in place, and read where it was written.
  ContactMeaning meaning;
  if (meanings == Meanings::None) return meaning;
  meaning.band = band;
  // A FREQ is shown as it stands, and a BAND less its unit, which its
  // number names all the same (20 for 20M, 70C for 70CM).
  meaning.bandSaid = true;
  meaning.submode = lostModeName(mode, submode);
  if (meanings == Meanings::ForPage) {
    meaning.date = meantDate(fields.date, DateOrder::Unknown, room);
    meaning.time = meantTime(fields.time, room);
  }
  return meaning;
}

AdifTag adifTagNamed(std::string_view name) {
  for (std::size_t i = 0; i < kAdifTagCount; ++i) {
    if (name.size() == kTagNames[i].size() && startsWithCaseless(name, kTagNames[i])) return static_cast<AdifTag>(i);
  }
  return AdifTag::Other;
}

AdifTagValue adifValueOf(std::string_view text) {
  AdifTagValue value;
  value.lengthRead = true;
  value.length = text.size();
  value.closed = true;
  value.afterTag = text;
  std::size_t start = skipScanSpace(text, 0);
  std::size_t end = start;
  while (end < text.size() && !isScanSpace(static_cast<unsigned char>(text[end]))) ++end;
  value.hasValue = start < text.size();
  value.value = text.substr(start, end - start);
  return value;
}

namespace {

// Where the value of the tag whose "<" stands at `position` ends, when its
// declared length lands on the end of a value: white space, a "<" or the
// end of the line; npos for any other tag. The name is found in one look
// at the 16 bytes behind the "<" (the padding after the line included);
// a tag's length is most often one or two digits.
std::size_t declaredValueEnd(const char* data, std::size_t position, std::size_t size) {
  const std::uint32_t ends = bytesEqualMask(data + position + 1, ':') | bytesEqualMask(data + position + 1, '>');
  if (ends == 0) return std::string_view::npos;
  std::size_t at = position + 1 + static_cast<std::size_t>(std::countr_zero(ends));
  if (at + 2 >= size || data[at] != ':') return std::string_view::npos;
  std::size_t length = 0;
  const std::size_t digits = ++at;
  while (at < size && at < digits + 9 && isAsciiDigit(static_cast<unsigned char>(data[at]))) {
    length = length * 10 + static_cast<std::size_t>(data[at++] - '0');
  }
  if (at == digits || at >= size) return std::string_view::npos;
  if (data[at] == ':' && at + 2 < size && data[at + 2] == '>') at += 2;  // a type indicator
  if (data[at] != '>' || length == 0) return std::string_view::npos;
  const std::size_t end = at + 1 + length;
  if (end > size || (end < size && !isScanSpace(static_cast<unsigned char>(data[end])) && data[end] != '<')) {
    return std::string_view::npos;
  }
  return end;
}

// Where the tags stand, taking each tag's declared length where it lands:
// every tag's length read, a few times slower than findAdifTags' first look.
AdifTagPositions findTagsByLength(std::string_view line) {
  AdifTagPositions positions;
  positions.first.fill(std::string_view::npos);
  const char* data = line.data();
  const std::size_t size = line.size();
  std::size_t inValueUntil = 0;
  for (std::size_t at = 0; at < size; at += 16) {
    for (std::uint32_t opens = opensAt(data, at, size); opens != 0; opens &= opens - 1) {
      std::size_t position = at + static_cast<std::size_t>(std::countr_zero(opens));
      if (position < inValueUntil) continue;
      AdifTag tag = tagOpenedAt(data, position, size);
      if (tag == AdifTag::EndOfRecord) {
        positions.endOfRecord = position;
        return positions;
      }
      if (tag != AdifTag::Other && positions.of(tag) == std::string_view::npos) {
        positions.first[static_cast<std::size_t>(tag)] = position;
      }
      if (const std::size_t end = declaredValueEnd(data, position, size); end != std::string_view::npos) {
        inValueUntil = end;
      }
    }
  }
  return positions;
}

// Whether the free text of tag `text`, found at the first look, holds what
// that look took for a tag: then the line is looked at again, every length
// read.
bool quotesATag(std::string_view line, const AdifTagPositions& positions, AdifTag text) {
  const std::size_t at = positions.of(text);
  const std::size_t end = declaredValueEnd(line.data(), at, line.size());
  if (end == std::string_view::npos) return false;
  if (positions.endOfRecord > at && positions.endOfRecord < end) return true;
  for (std::size_t other : positions.first) {
    if (other != std::string_view::npos && other > at && other < end) return true;
  }
  return false;
}

// Whether a free text at `at` may hold a "<": most are a few characters
// behind a one- or two-digit length and hold none, told at a glance (the
// padding after the line lets 16 bytes be read); any other is looked at
// whole.
[[gnu::always_inline]] inline bool mayQuote(std::string_view line, std::size_t at, std::size_t nameSize) {
  if (at == std::string_view::npos) return false;
  const char* length = line.data() + at + 2 + nameSize;
  if (at + 2 + nameSize + 2 > line.size() || !isAsciiDigit(static_cast<unsigned char>(length[0]))) return true;
  std::size_t value = static_cast<std::size_t>(length[0] - '0'), start = 2;
  if (length[1] != '>') {
    if (!isAsciiDigit(static_cast<unsigned char>(length[1])) || length[2] != '>') return true;
    value = value * 10 + static_cast<std::size_t>(length[1] - '0'), start = 3;
  }
  if (value > 16) return true;
  const std::size_t valueAt = at + 2 + nameSize + start;
  return (bytesEqualMask(line.data() + std::min(valueAt, line.size()), '<') & ((std::uint32_t{1} << value) - 1)) != 0;
}

[[gnu::always_inline]] inline bool quotesATag(std::string_view line, const AdifTagPositions& positions) {
  constexpr std::size_t kComment = 7, kNotes = 5;  // the names' sizes
  return (mayQuote(line, positions.of(AdifTag::Comment), kComment) && quotesATag(line, positions, AdifTag::Comment)) ||
         (mayQuote(line, positions.of(AdifTag::Notes), kNotes) && quotesATag(line, positions, AdifTag::Notes));
}

}  // namespace

namespace {

// findAdifTags' first look, which takes every "<" for a tag: tags are a few
// bytes apart, so the line is looked at 16 bytes at a time, and each "<"
// among them taken from one mask.
[[gnu::always_inline]] inline void findTagsAtFirstLook(std::string_view line, AdifTagPositions& positions) {
  const char* data = line.data();
  const std::size_t size = line.size();
  for (std::size_t at = 0; at < size; at += 16) {
    for (std::uint32_t opens = opensAt(data, at, size); opens != 0; opens &= opens - 1) {
      std::size_t position = at + static_cast<std::size_t>(std::countr_zero(opens));
      AdifTag tag = tagOpenedAt(data, position, size);
      if (tag == AdifTag::EndOfRecord) {
        positions.endOfRecord = position;
        return;
      }
      if (tag != AdifTag::Other && positions.of(tag) == std::string_view::npos) {
        positions.first[static_cast<std::size_t>(tag)] = position;
      }
    }
  }
}

}  // namespace

AdifTagPositions findAdifTags(std::string_view line) {
  // One object filled and returned on every path: the caller reads the
  // positions where they were written, not from a copy made field by field.
  AdifTagPositions positions;
  positions.first.fill(std::string_view::npos);
  findTagsAtFirstLook(line, positions);
  if (quotesATag(line, positions)) positions = findTagsByLength(line);
  return positions;
}

AdifTagValue readAdifTag(std::string_view line, std::size_t position, AdifTag tag, bool cutToLength) {
  AdifTagValue value;
  std::size_t at = position + 1 + adifTagName(tag).size();
  if (at >= line.size() || line[at] != ':') return value;
  ++at;
  if (!readShortLength(line, at, value.length) && !readLength(line, at, value.length)) return value;
  value.lengthRead = true;
  if (at < line.size() && line[at] == '>') {
    ++at;
  } else if (at + 2 < line.size() && line[at] == ':' && line[at + 2] == '>') {
    at += 3;  // ":%c>": the type indicator says nothing the reader needs
  } else {
    return value;
  }
  value.closed = true;
  value.afterTag = std::string_view(line.data() + at, line.size() - at);
  std::size_t start =
      at < line.size() && !isScanSpace(static_cast<unsigned char>(line[at])) ? at : skipScanSpace(line, at);
  value.hasValue = start < line.size();
  value.value = readWord(line, start, cutToLength ? value.length : std::string_view::npos);
  return value;
}

bool keepAdifValue(AdifTag tag, const AdifTagValue& value, std::string_view& field) {
  // A declared length of 0 is an empty value (<NOTES:0>, <FREQ:0>): it
  // gives nothing and replaces nothing, and never reaches into the tag
  // after it.
  if (!value.lengthRead || value.length == 0) return false;
  // A tag with nothing after it on its line keeps what the field held.
  // (The value is fetched as its two parts: fetched as one 16-byte piece
  // right after readAdifTag stored them, it would defeat store-to-load
  // forwarding and stall.)
  std::string_view text = field;
  if (value.hasValue) text = std::string_view(value.value.data(), value.value.size());
  text = text.substr(0, cutAtCharacter(text, kMostValueBytes));
  if (tag == AdifTag::Band) {
    // Band texts name their unit ("20M", "70CM"); the record line shows the
    // number only. A millimetre band ("6MM", 47 GHz) stays whole, or it
    // would read as the metre band of its number. The declared length does
    // not apply here.
    const std::size_t unit = text.find_first_of("Mm");
    const bool millimetre =
        unit != std::string_view::npos && unit + 1 < text.size() && toAsciiUpper(text[unit + 1]) == 'M';
    field = text.substr(0, millimetre ? unit + 2 : unit);
    return true;
  }
  std::size_t kept = value.length;
  if (tag == AdifTag::TimeOn) kept = std::min(kept, kTimeLength);  // seconds dropped
  field = text.substr(0, kept);
  return true;
}

}  // namespace quorvel
