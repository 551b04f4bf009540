#include "detect/text_sample.h"

#include "detect/separated_fields.h"

namespace quorvel {

bool fitsSample(std::string_view start) {
  if (start.size() < kTextSampleSize) return true;
  const std::size_t lastEnd = start.rfind('\n');
  return lastEnd != std::string_view::npos && lastEnd >= kTextSampleSize / 2;
}

std::size_t FittingRows::placeOf(std::size_t index) const {
  if (index < places.size()) return places[index];
  return places.empty() ? index : places.back() + 1 + (index - places.size());
}

FittingRows fittingRows(std::string_view window) {
  FittingRows rows;
  for (std::size_t index = 0; !window.empty() && rows.text.size() < kTextSampleSize; ++index) {
    const std::size_t end = window.find('\n');
    if (end == std::string_view::npos) break;  // cut off by the window's end
    const std::string_view line = window.substr(0, end + 1);
    window.remove_prefix(end + 1);
    if (line.size() > kMostRowBytes || rows.text.size() + line.size() > kTextSampleSize) continue;
    rows.text.append(line);
    rows.places.push_back(index);
  }
  return rows;
}

TextLayout judgeLayoutOfFittingRows(std::string_view window) {
  const FittingRows rows = fittingRows(window);
  TextLayout layout = judgeTextLayout(rows.text);
  // A long line left out right before the first data row may be the first
  // data row itself: its rows are then told from there on.
  const std::size_t first = layout.firstDataLine;
  const std::size_t after = first == 0 ? 0 : rows.placeOf(first - 1) + 1;
  if (after != rows.placeOf(first)) layout.firstDataFound = false;
  layout.firstDataLine = after;
  return layout;
}

}  // namespace quorvel
