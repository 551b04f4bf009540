#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "base/ascii.h"
#include "detect/column_map.h"
#include "detect/column_names.h"
#include "detect/separated_fields.h"
#include "readers/column_values.h"
#include "readers/log_body.h"

namespace quorvel {

// The data rows of a text log whose fields are separated by a comma, a
// semicolon or a tab, once its columns are known: each row with a callsign
// field gives a record line. A row runs on over the next
// line while a quoted field is open.
class SeparatedBody {
 public:
  SeparatedBody() = default;
  SeparatedBody(RecordLayout layout, ColumnMap columns, int lastColumn, char separator)
      : layout_(layout), columns_(columns), lastColumn_(lastColumn), separator_(separator) {}

  void readLine(const Line& line, ContactBatch& batch) {
    const bool joined = !open_.empty();
    if (!joined) {
      upperCaseInto(line.text, upper_);
    } else {
      upper_.swap(open_);
      upper_ += '\n';
      std::string more;
      upperCaseInto(line.text, more);
      upper_ += more;
      open_.clear();
    }
    if (upper_.find('"') != std::string::npos && upper_.size() < kMostRowBytes &&
        SeparatedFields::endsInQuotes(upper_, separator_)) {
      open_.swap(upper_);
      return;
    }
    readRow(upper_, batch, joined);
  }
  // Keeps the record line of the upper-cased first data row.
  void readFirstRow(std::string_view upperRow, ContactBatch& batch) {
    readRow(upperRow, batch, upperRow.find('\n') != std::string_view::npos);
  }

  // A block starts outside any row; the one after a row left open is read
  // again from the true state.
  SeparatedBody atBlockStart() const {
    SeparatedBody copy = *this;
    copy.open_.clear();
    return copy;
  }
  bool readsOnFrom(const SeparatedBody& before) const { return before.open_.empty(); }
  void carryOver(const SeparatedBody&) {}
  static bool cutsAfter(std::string_view) { return true; }
  void detach() {}
  // A quoted field still open at the end of the log, as a download cut
  // short leaves it: the row's fields before it are whole.
  void endInput(ContactBatch& batch) {
    if (open_.empty()) return;
    upper_.swap(open_);
    open_.clear();
    readRow(upper_, batch, true);
  }

 private:
  // Reads a row; `lineEnds` tells whether it ran over several lines.
  void readRow(std::string_view upperRow, ContactBatch& batch, bool lineEnds) {
    tokens_.clear();
    SeparatedFields fields(upperRow, separator_);
    std::string_view field;
    // A quoted field keeps its doubled quotes until here; few have any.
    // (Sized before any field views one of them.)
    unquoted_.resize(static_cast<std::size_t>(lastColumn_ + 1));
    while (static_cast<int>(tokens_.size()) <= lastColumn_ && fields.next(field)) {
      tokens_.push_back(SeparatedFields::unquoted(field, unquoted_[tokens_.size()], lineEnds));
    }
    const RecordFields record = columnRecord(columns_, tokens_, shown_);
    // A blank row, or the header row repeated, is no contact; a callsign
    // field holds whatever callsign the exporting program had.
    if (record.callsign.empty() || !isAsciiAlnum(static_cast<unsigned char>(record.callsign.front())) ||
        (std::none_of(record.callsign.begin(), record.callsign.end(),
                      [](char c) { return isAsciiDigit(static_cast<unsigned char>(c)); }) &&
         roleNamed(record.callsign))) {
      return;
    }
    batch.add(record.callsign.front(), layout_, record);
  }

  RecordLayout layout_;
  ColumnMap columns_;
  int lastColumn_ = -1;
  char separator_ = ',';
  std::string upper_;
  std::string open_;  // the lines of a row whose quoted field is still open
  std::vector<std::string_view> tokens_;
  std::vector<std::string> unquoted_;  // a field's text with its doubled quotes made one
  ShownDateTime shown_ = {};
};

}  // namespace quorvel
