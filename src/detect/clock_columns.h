#pragma once

#include <string_view>
#include <vector>

namespace quorvel {

// Which columns of a text log write its times with a dot (18.05), judged
// from the fields of its data rows, `rows`: a column is one when each of
// its values reads as such a time, and either one of them is no
// frequency within an amateur band (18.20 is none, nor is 19.05) or
// another column holds the band plainly (20M, 14.025, 40CW). A column of
// frequencies whose every value could be a time (14.07, 7.04) is none.
std::vector<bool> clockColumns(const std::vector<std::vector<std::string_view>>& rows);

}  // namespace quorvel
