#pragma once

#include "radio/date_time.h"

namespace quorvel {

// Which space-separated token (0-based) of a column text log line holds each
// value; -1 while no token of the first data line has been taken for it.
struct ColumnMap {
  static constexpr int kUnassigned = -1;

  int dateColumn = kUnassigned;
  int timeColumn = kUnassigned;
  int bandColumn = kUnassigned;
  int modeColumn = kUnassigned;
  int callsignColumn = kUnassigned;
  // A column that a header row names the submode, beside one it names the
  // mode: where the mode is MFSK, the submode says which (FT4, JS8, ...).
  int submodeColumn = kUnassigned;
  // The date column's order of day and month, as the rows the layout was
  // judged from show it (ColumnTraits::dateOrder).
  DateOrder dateOrder = DateOrder::Unknown;
};

}  // namespace quorvel
