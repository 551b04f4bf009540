#include "output/record_line.h"

#include <string_view>

namespace quorvel {

namespace {

constexpr int kDateWidth = 9;
constexpr int kTimeWidth = 4;
constexpr int kModeWidth = 4;
constexpr int kWideBandWidth = 8;
constexpr int kNarrowBandWidth = 3;

void appendRightAligned(std::string& line, std::string_view value, int width) {
  if (value.size() < static_cast<std::size_t>(width)) line.append(width - value.size(), ' ');
  line.append(value);
}

}  // namespace

int RecordLayout::sortColumn() const {
  int before = bandWidth + kModeWidth + 1;
  if (withDate) before += kDateWidth + 1;
  if (withTime) before += kTimeWidth + 1;
  return before + 1;
}

RecordLayout chooseLayout(LayoutSet set, const RunOptions& options) {
  RecordLayout layout;
  layout.withDate = !options.noDate;
  layout.withTime = !options.noTime;
  layout.withComment = set == LayoutSet::WideWithComment;
  layout.bandWidth = set == LayoutSet::Narrow ? kNarrowBandWidth : kWideBandWidth;
  return layout;
}

void formatRecordLine(const RecordLayout& layout, const RecordFields& fields, std::string& line) {
  line.clear();
  if (layout.withDate) {
    appendRightAligned(line, fields.date, kDateWidth);
    line.push_back(' ');
  }
  if (layout.withTime) {
    appendRightAligned(line, fields.time, kTimeWidth);
    line.push_back(' ');
  }
  appendRightAligned(line, fields.band, layout.bandWidth);
  appendRightAligned(line, fields.mode, kModeWidth);
  line.push_back(' ');
  line.append(fields.callsign);
  if (layout.withComment) {
    line.push_back(' ');
    line.append(fields.comment);
  }
  line.push_back('\n');
}

}  // namespace quorvel
