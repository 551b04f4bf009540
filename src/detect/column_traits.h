#pragma once

#include <string_view>
#include <vector>

#include "radio/date_time.h"

namespace quorvel {

// What the values of one column of a text log's data rows have in common:
// what a column is can show in many rows where one row leaves it open.
struct ColumnTraits {
  // Clock times written with a dot (18.05), in no column of frequencies:
  // one of them is no frequency within an amateur band (18.20 is none,
  // nor is 19.05), or another column holds the band plainly (20M, 14.025,
  // 40CW). A column of 14.07 and 7.04 is none.
  bool clock = false;
  // Signal reports, 5x9 or 5x (599, 579, 59): never a band.
  bool report = false;
  // Numbers counting up one a row over three rows or more (1, 2, 3; 0001,
  // 0002, 0003): a serial number, never a band.
  bool counting = false;
  // The same value on every row, two rows or more.
  bool constant = false;
  // Every value shaped like a callsign (isCallsign).
  bool callsigns = false;
  // The order of day and month that its dates show where one of the two
  // is above 12 (21/06/2024), when none shows the other: the order of its
  // dates that leave it open (04/06/2024). YearFirst where its dates are
  // three numbers of two digits and the first takes far fewer values than
  // the last, as a log's years do against its days (25/06/14, 25/06/15).
  DateOrder dateOrder = DateOrder::Unknown;
};

// The traits of each column of `rows`, the fields of a log's data rows
// (an empty field says nothing; a column no row reaches has none).
std::vector<ColumnTraits> columnTraits(const std::vector<std::vector<std::string_view>>& rows);

// Whether column `column` of `traits` holds the operator's own call: the
// same callsign on every row, while another column's callsigns change.
bool ownCallColumn(const std::vector<ColumnTraits>& traits, std::size_t column);

}  // namespace quorvel
