#include "record/record_line.h"

#include <algorithm>
#include <string_view>

#include "base/ascii.h"
#include "base/bytes.h"
#include "base/files.h"
#include "radio/band_notation.h"
#include "radio/field_shapes.h"
#include "radio/recognisers.h"

namespace quorvel {

namespace {

constexpr int kWideBandWidth = 8;
constexpr int kNarrowBandWidth = 3;
static_assert(kDateWidth <= kBlankPiece && kWideBandWidth <= static_cast<int>(kBlankPiece),
              "a field's blanks go down in one piece");

// Writes `value` at `out`; returns the end. (An empty value may have no
// data at all.)
[[gnu::always_inline]] inline char* put(char* out, std::string_view value) {
  copyBytes(out, value.data(), value.size());
  return out + value.size();
}

// Writes `value` right-aligned in `width` columns at `out`; returns the end.
[[gnu::always_inline]] inline char* putRightAligned(char* out, std::string_view value, std::size_t width) {
  if (value.size() < width) {
    putBlanks(out, width - value.size());
    out += width - value.size();
  }
  return put(out, value);
}

std::size_t widthOf(std::string_view value, std::size_t width) { return value.size() > width ? value.size() : width; }

}  // namespace

int RecordLayout::sortColumn() const {
  std::size_t before = static_cast<std::size_t>(bandWidth) + kModeWidth + 1;
  if (withDate) before += kDateWidth + 1;
  if (withTime) before += kTimeWidth + 1;
  return static_cast<int>(before) + 1;
}

RecordLayout chooseLayout(LayoutSet set, LeftOut leftOut) {
  RecordLayout layout;
  layout.withDate = !leftOut.date;
  layout.withTime = !leftOut.time;
  layout.withComment = set == LayoutSet::WideWithComment;
  layout.bandWidth = set == LayoutSet::Narrow ? kNarrowBandWidth : kWideBandWidth;
  return layout;
}

std::string_view zeroedCallsign(std::string_view call, std::string& room) {
  if (!anyHighBytePlain(call)) return call;
  room.clear();
  for (std::size_t i = 0; i < call.size(); ++i) {
    const std::size_t zero = slashedZeroAt(call, i);
    room.push_back(zero > 0 ? '0' : call[i]);
    i += zero > 0 ? zero - 1 : 0;
  }
  return room;
}

std::size_t callsignOffset(const RecordLayout& layout, const RecordFields& fields) {
  std::size_t offset =
      widthOf(fields.band, static_cast<std::size_t>(layout.bandWidth)) + widthOf(fields.mode, kModeWidth) + 1;
  if (layout.withDate) offset += widthOf(fields.date, kDateWidth) + 1;
  if (layout.withTime) offset += widthOf(fields.time, kTimeWidth) + 1;
  return offset;
}

std::size_t recordLineSize(const RecordLayout& layout, const RecordFields& fields) {
  std::size_t size = callsignOffset(layout, fields) + fields.callsign.size() + kLineEnd.size();
  if (layout.withComment) size += 1 + fields.comment.size();
  return size;
}

void formatRecordLine(const RecordLayout& layout, const RecordFields& fields, char* out) {
  if (layout.withDate) {
    out = putRightAligned(out, fields.date, kDateWidth);
    *out++ = ' ';
  }
  if (layout.withTime) {
    out = putRightAligned(out, fields.time, kTimeWidth);
    *out++ = ' ';
  }
  out = putRightAligned(out, fields.band, static_cast<std::size_t>(layout.bandWidth));
  out = putRightAligned(out, fields.mode, kModeWidth);
  *out++ = ' ';
  out = put(out, fields.callsign);
  if (layout.withComment) {
    *out++ = ' ';
    out = put(out, fields.comment);
  }
  if constexpr (kCrLfLineEnds) *out++ = '\r';
  *out = '\n';
}

// Reading a record line back: for the page, and for the sort.

namespace {

bool isNumberByte(char c) { return isAsciiDigit(static_cast<unsigned char>(c)) || c == '.'; }

// Values are short: a loop finds their ends sooner than a call would.
std::size_t wordEnd(std::string_view line, std::size_t at) {
  while (at < line.size() && line[at] != ' ') ++at;
  return at;
}

// Reads the field of `width` columns at `at`, right-aligned or wider; moves
// `at` past it. False when the line has no such field there.
bool readField(std::string_view line, std::size_t& at, std::size_t width, std::string_view& value) {
  const std::size_t start = at;
  while (at < line.size() && at < start + width && line[at] == ' ') ++at;
  if (at == start + width) {
    value = {};
    return true;
  }
  const std::size_t end = wordEnd(line, at);
  // A value shorter than its field ends where the field does; a longer one
  // fills it from its first column.
  if (at == line.size() || (at > start && end != start + width) || (at == start && end < start + width)) return false;
  value = line.substr(at, end - at);
  at = end;
  return true;
}

bool readSeparator(std::string_view line, std::size_t& at) {
  if (at >= line.size() || line[at] != ' ') return false;
  ++at;
  return true;
}

// Whether the mode of a band and mode split at `cut` can be what the line
// holds: glued to the band, four characters or more; after blanks, any.
bool modeFitsAfter(std::string_view line, std::size_t cut, std::size_t wordEnd) {
  if (cut < wordEnd) return wordEnd - cut >= kModeWidth;
  std::size_t at = cut;
  std::string_view mode;
  return readField(line, at, kModeWidth, mode);
}

// The mode that a cut at `cut` leaves glued to the band, if any.
std::string_view gluedMode(std::string_view line, std::size_t cut, std::size_t wordEnd) {
  return cut < wordEnd ? line.substr(cut, wordEnd - cut) : std::string_view();
}

// Where the band ends in the word at `start` that fills the band's field
// and goes on past it: the band is a number wider than its field, perhaps
// with the unit of a band's name (160M, 1.2G), or it fills the field and
// the mode is glued to it. Of the cuts that leave a mode the line can
// hold, the first that leaves a mode's name wins (160 and MSK144, not 160M
// and SK144), else the first: the number with its unit, the number, then
// shorter numbers, for a mode may begin with a digit (8PSK).
std::size_t bandCut(std::string_view line, std::size_t start, std::size_t width) {
  const std::size_t end = wordEnd(line, start);
  bool number = true;
  for (char c : line.substr(start, width)) number = number && isNumberByte(c);
  if (!number) return start + width;
  std::size_t digits = start + width;
  while (digits < end && isNumberByte(line[digits])) ++digits;
  std::size_t chosen = start + width;
  bool found = false;
  // Whether the cut settles it; else the first cut that fits is kept.
  auto settles = [&](std::size_t cut) {
    if (!modeFitsAfter(line, cut, end)) return false;
    const std::string_view mode = gluedMode(line, cut, end);
    if (!mode.empty() && isModeName(mode)) return true;
    if (!found) chosen = cut;
    found = true;
    return false;
  };
  for (std::string_view unit : kBandUnits) {
    const std::size_t cut = digits + unit.size();
    if (line.substr(digits, unit.size()) == unit && adifBandIndex(line.substr(start, cut - start)) >= 0 && settles(cut))
      return cut;
  }
  for (std::size_t cut = digits; cut >= start + width; --cut) {
    if (settles(cut)) return cut;
  }
  return chosen;
}

bool readBandAndMode(std::string_view line, std::size_t& at, std::size_t width, RecordFields& fields) {
  const std::size_t start = at;
  if (line.size() <= start + width) return false;
  while (at < start + width && line[at] == ' ') ++at;
  if (at < start + width) {
    const std::size_t cut = at == start ? bandCut(line, start, width) : start + width;
    if (line.substr(at, cut - at).find(' ') != std::string_view::npos) return false;
    fields.band = line.substr(at, cut - at);
    at = cut;
  }
  const std::size_t end = wordEnd(line, at);
  if (at < line.size() && line[at] != ' ') {
    if (end - at < kModeWidth) return false;
    fields.mode = line.substr(at, end - at);
    at = end;
    return true;
  }
  return readField(line, at, kModeWidth, fields.mode);
}

}  // namespace

std::optional<RecordFields> parseRecordLine(std::string_view line, const RecordLayout& layout) {
  RecordFields fields;
  std::size_t at = 0;
  if (layout.withDate && !(readField(line, at, kDateWidth, fields.date) && readSeparator(line, at))) return {};
  if (layout.withTime && !(readField(line, at, kTimeWidth, fields.time) && readSeparator(line, at))) return {};
  if (!readBandAndMode(line, at, static_cast<std::size_t>(layout.bandWidth), fields)) return {};
  if (!readSeparator(line, at)) return {};
  const std::size_t end = wordEnd(line, at);
  if (end == at) return {};
  fields.callsign = line.substr(at, end - at);
  if (end < line.size()) fields.comment = line.substr(end + 1);
  return fields;
}

std::string_view callsignAtColumn(std::string_view line, int column) {
  std::size_t at = column > 1 ? static_cast<std::size_t>(column - 1) : 0;
  if (at >= line.size()) return line.substr(line.size());
  // A word that began before the column is not the callsign.
  while (at < line.size() && (line[at] == ' ' || (at > 0 && line[at - 1] != ' '))) ++at;
  return line.substr(at, wordEnd(line, at) - at);
}

std::size_t callsignStart(std::string_view line, const RecordLayout& layout) {
  const std::optional<RecordFields> fields = parseRecordLine(line, layout);
  const std::string_view callsign = fields ? fields->callsign : callsignAtColumn(line, layout.sortColumn());
  return static_cast<std::size_t>(callsign.data() - line.data());
}

}  // namespace quorvel
