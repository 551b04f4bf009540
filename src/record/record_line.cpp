#include "record/record_line.h"

#include <string_view>

#include "base/files.h"

namespace quorvel {

namespace {

constexpr int kWideBandWidth = 8;
constexpr int kNarrowBandWidth = 3;
static_assert(kDateWidth <= kBlankPiece && kWideBandWidth <= static_cast<int>(kBlankPiece),
              "a field's blanks go down in one piece");

// Writes `value` at `out`; returns the end. (An empty value may have no
// data at all.)
char* put(char* out, std::string_view value) {
  copyBytes(out, value.data(), value.size());
  return out + value.size();
}

// Writes `value` right-aligned in `width` columns at `out`; returns the end.
char* putRightAligned(char* out, std::string_view value, std::size_t width) {
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

RecordLayout chooseLayout(LayoutSet set, const RunOptions& options) {
  RecordLayout layout;
  layout.withDate = !options.noDate;
  layout.withTime = !options.noTime;
  layout.withComment = set == LayoutSet::WideWithComment;
  layout.bandWidth = set == LayoutSet::Narrow ? kNarrowBandWidth : kWideBandWidth;
  return layout;
}

std::size_t recordLineSize(const RecordLayout& layout, const RecordFields& fields) {
  const std::size_t bandWidth = static_cast<std::size_t>(layout.bandWidth);
  std::size_t size =
      widthOf(fields.band, bandWidth) + widthOf(fields.mode, kModeWidth) + 1 + fields.callsign.size() + kLineEnd.size();
  if (layout.withDate) size += widthOf(fields.date, kDateWidth) + 1;
  if (layout.withTime) size += widthOf(fields.time, kTimeWidth) + 1;
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

}  // namespace quorvel
