#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "base/ascii.h"
#include "detect/column_map.h"
#include "detect/row_kind.h"
#include "detect/text_layout.h"
#include "detect/text_row.h"
#include "readers/column_values.h"
#include "readers/log_body.h"

namespace quorvel {

// The data rows of a blank-separated text log, once its columns are known:
// each row that rowKind() takes for data gives a record line, its values
// taken by their columns' numbers. In a log laid out in columns (see
// TextLayout::columnSpans) a row short of values places each by where it
// stands, a missing value empty, and a missing date is the date of the
// row above, as a paper log leaves it blank below the day's first contact.
class ColumnBody {
 public:
  ColumnBody() = default;
  ColumnBody(RecordLayout layout, ColumnMap columns, int lastColumn, std::vector<ColumnSpan> spans)
      : layout_(layout), columns_(columns), lastColumn_(lastColumn), spans_(std::move(spans)) {}

  void readLine(const Line& line, ContactBatch& batch) {
    upperCaseInto(line.text, upper_);
    // Headings, page breaks and blank lines between the data are skipped;
    // a mark of another log kind on a later line changes nothing. Most
    // rows show their callsign within the columns a record takes: only
    // the others are cut whole.
    const auto wanted = static_cast<std::size_t>(std::max(lastColumn_ + 1, 1));
    cutBlankRow(upper_, fields_, wanted);
    RowKind kind = rowKind(upper_, fields_, ' ', columns_.callsignColumn);
    if (kind != RowKind::Data && fields_.size() == wanted) {
      cutRow(upper_, ' ', fields_);
      kind = rowKind(upper_, fields_, ' ', columns_.callsignColumn);
    }
    if (kind == RowKind::Data) writeRecord(upper_, batch);
  }
  // Keeps the record line of the first data row.
  void readFirstRow(const CutTextRow& row, ContactBatch& batch) {
    fields_ = row.fields;
    writeRecord(row.upper, batch);
  }

  // A block starts as if no date stood above it; one that took that for
  // true where a date did is read again from the true state.
  ColumnBody atBlockStart() const {
    ColumnBody copy = *this;
    copy.lastDate_.clear();
    copy.setDate_ = copy.tookEarlierDate_ = false;
    return copy;
  }
  bool readsOnFrom(const ColumnBody& before) const { return !tookEarlierDate_ || before.lastDate_.empty(); }
  void carryOver(const ColumnBody& before) {
    if (!setDate_) lastDate_ = before.lastDate_;
  }
  static bool cutsAfter(std::string_view) { return true; }
  void detach() {}
  void endInput(ContactBatch&) {}

 private:
  // Takes the values of `row`, whose first fields are in fields_, into
  // values_, by their columns.
  void placeValues(std::string_view row);
  void writeRecord(std::string_view row, ContactBatch& batch);

  RecordLayout layout_;
  ColumnMap columns_;
  int lastColumn_ = -1;  // the highest column any value is taken from
  std::vector<ColumnSpan> spans_;
  std::string upper_;
  std::vector<RowField> fields_;
  std::vector<std::string_view> values_;
  ShownDateTime shown_ = {};
  std::string lastDate_;          // of the last row that had one, in a log laid out in columns
  bool setDate_ = false;          // this copy's rows gave a date of their own
  bool tookEarlierDate_ = false;  // before that, a row took the date above the block
};

}  // namespace quorvel
