#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// The date a list line's date text gives, as YYYYMMDD, so that dates sort
// as text; empty when it gives none. Read as readDate() reads a date (a
// date and a time together as readDateTime() does): 20240309, 2024-03-09,
// 09.03.2024, 3/9/2024 (the month first), 9-MAR-24 and the like.
std::string sortableDate(std::string_view text);

}  // namespace quorvel
