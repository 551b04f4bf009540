#pragma once

#include <string_view>
#include <vector>

#include "detect/column_map.h"
#include "record/contact_meaning.h"
#include "record/record_line.h"

namespace quorvel {

// The band text a column text log's band value stands for in a record line:
// a frequency is cut at its first full stop or comma (14.025 and 14,025 give
// 14), except the
// band names that hold one themselves (1.8, 3.5, 3.6, 3.8, 10.1, 24.5).
std::string_view normaliseBand(std::string_view band);

// Room for the date and the time a record line shows where the log does
// not write them so, and for the texts of a contact's meaning; and the
// band texts read so far.
struct ShownDateTime {
  char date[10];
  char time[4];
  MeaningText meant;
  BandMemo bands;
  DateMemo dates;
};

// The values of one line of a column text log whose fields, counted as its
// columns are, are `tokens`: a column the line does not reach gives the
// empty text; a band and mode written as one token (the band and mode
// columns are one) are parted; a date and a time written as one value
// (2025-06-27T18:05:00Z, 3/9/2024 6:15 PM) are parted too; a time written
// with a separator, AM or PM or a zone gives its four digits HHMM, in UTC
// where it names an offset, and a date an offset moves is shown as
// YYYY-MM-DD, both written to `shown`; a mode of MFSK gives the submode
// column's value, when it has one (see shownMode). What the contact
// means, as far as `meanings` asks, goes to `meaning`: its date in the
// order the column settled, its band as its value names it before the
// record line cuts it.
RecordFields columnRecord(const ColumnMap& columns, const std::vector<std::string_view>& tokens, ShownDateTime& shown,
                          Meanings meanings = Meanings::None, ContactMeaning* meaning = nullptr);

}  // namespace quorvel
