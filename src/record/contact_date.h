#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// The date a list line's date text gives, as YYYYMMDD, so that dates sort
// as text; empty when it gives none. Understood: YYYYMMDD; three parts
// split by "-", ".", "/" or a blank, the year first (2024-03-09) or last
// (09.03.2024, 03/09/2024, 9-MAR-24), the month as a number or an English
// name of three letters or more. Of day and month as numbers, a part past
// 12 is the day; otherwise a slash puts the month first, as in the United
// States, and other separators the day. A year of two digits is 20YY
// below 50 and 19YY from 50.
std::string sortableDate(std::string_view text);

}  // namespace quorvel
