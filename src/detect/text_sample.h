#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "detect/text_layout.h"

namespace quorvel {

// How much of a text log's start is looked through for rows that fit the
// sample when a long line fills it: a line at the readers' bound and room
// for the rows after it.
inline constexpr std::size_t kTextWindowSize = (std::size_t{4} << 20) + 2 * kTextSampleSize;

// Whether `start`, the first kTextSampleSize bytes of a text log (or all
// of a shorter one), is a sample of its rows as it stands: no line in it
// is so long that few rows fit.
bool fitsSample(std::string_view start);

// The rows of a text log's start that fit the sample: the whole lines of
// `window` no longer than a row may be (kMostRowBytes), up to
// kTextSampleSize bytes of them, and where each stood.
struct FittingRows {
  std::string text;                 // the lines, each with its "\n"
  std::vector<std::size_t> places;  // each line's index in the window, from 0
  // The index in the log of the sample's line `index` (one past the last
  // for an index past the sample's lines).
  std::size_t placeOf(std::size_t index) const;
};
FittingRows fittingRows(std::string_view window);

// The layout of a text log, judged from its rows that fit the sample, so
// that a long first line or header does not hide the rows after it, and
// numbered by the log's lines.
// `window` is its first kTextWindowSize bytes, or all of a shorter log.
TextLayout judgeLayoutOfFittingRows(std::string_view window);

}  // namespace quorvel
