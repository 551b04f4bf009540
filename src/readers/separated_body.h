#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "detect/column_map.h"
#include "detect/text_row.h"
#include "readers/column_values.h"
#include "readers/log_body.h"

namespace quorvel {

// The data rows of a text log whose fields are separated by a comma, a
// semicolon, a tab or "|", once its columns are known: each row that
// rowKind() takes for data, its callsign field holding a callsign, gives a
// record line. A row runs on over the next line while a quoted field is
// open and that line belongs to it (see rowEnd()); a quote that opened a
// field no line closes was a stray character, and the body remembers the
// line of the first such quote.
class SeparatedBody {
 public:
  SeparatedBody() = default;
  // `lineBefore` is the number of the last line read before the body's
  // first, from 1; `fieldsOfARow` how many fields a whole row has.
  SeparatedBody(RecordLayout layout, ColumnMap columns, int lastColumn, char separator, std::size_t fieldsOfARow,
                std::size_t lineBefore)
      : layout_(layout),
        columns_(columns),
        lastColumn_(lastColumn),
        separator_(separator),
        fieldsOfARow_(fieldsOfARow),
        lines_(lineBefore) {}

  void readLine(const Line& line, ContactBatch& batch);
  // Keeps the record line of the first data row; `lineEnds` tells
  // whether it ran over several lines.
  void readFirstRow(const CutTextRow& row, bool lineEnds, ContactBatch& batch) {
    const std::size_t wanted = std::min(row.fields.size(), static_cast<std::size_t>(lastColumn_ + 1));
    fields_.assign(row.fields.begin(), row.fields.begin() + static_cast<std::ptrdiff_t>(wanted));
    readCutRow(row.upper, lineEnds, batch);
  }
  // The line of the first quote that was read as a character, from 1;
  // 0 for none.
  std::size_t strayQuoteLine() const { return strayQuote_; }

  // A block starts outside any row; the one after a row left open is read
  // again from the true state. Lines are counted from the block's start
  // until the state before it is known.
  SeparatedBody atBlockStart() const {
    SeparatedBody copy = *this;
    copy.open_.clear();
    copy.lines_ = copy.strayQuote_ = 0;
    return copy;
  }
  bool readsOnFrom(const SeparatedBody& before) const { return before.open_.empty(); }
  void carryOver(const SeparatedBody& before) {
    strayQuote_ = before.strayQuote_ != 0 ? before.strayQuote_ : strayQuote_ != 0 ? before.lines_ + strayQuote_ : 0;
    if (!open_.empty()) openLine_ += before.lines_;  // counted from the block's start too
    lines_ += before.lines_;
  }
  static bool cutsAfter(std::string_view) { return true; }
  void detach() {}
  // A quoted field still open at the end of the log, as a download cut
  // short leaves it: the row's fields before it are whole.
  void endInput(ContactBatch& batch) {
    if (open_.empty()) return;
    readRow(open_, true, batch);
    open_.clear();
  }

 private:
  // Reads a row; `lineEnds` tells whether it ran over several lines.
  void readRow(std::string_view upperRow, bool lineEnds, ContactBatch& batch) {
    cutSeparatedRow(upperRow, separator_, fields_, static_cast<std::size_t>(lastColumn_ + 1));
    readCutRow(upperRow, lineEnds, batch);
  }
  // Reads a row whose first fields, as many as a record takes, are in
  // fields_.
  void readCutRow(std::string_view upperRow, bool lineEnds, ContactBatch& batch);

  RecordLayout layout_;
  ColumnMap columns_;
  int lastColumn_ = -1;
  char separator_ = ',';
  std::size_t fieldsOfARow_ = 0;
  std::size_t lines_ = 0;       // lines read, from the log's start or the block's
  std::size_t strayQuote_ = 0;  // see strayQuoteLine()
  std::string upper_;
  std::string open_;          // the lines of a row whose quoted field is still open
  std::size_t openLine_ = 0;  // the line it began on
  std::vector<RowField> fields_;
  std::vector<std::string_view> values_;
  std::vector<std::string> unquoted_;  // a field's text with its doubled quotes made one
  ShownDateTime shown_ = {};
};

}  // namespace quorvel
