#include "readers/separated_body.h"

#include "base/ascii.h"
#include "detect/row_kind.h"
#include "detect/separated_fields.h"

namespace quorvel {

void SeparatedBody::readLine(const Line& line, ContactBatch& batch) {
  ++lines_;
  upperCaseInto(line.text, upper_);
  if (!open_.empty()) {
    switch (rowEnd(open_, upper_, separator_, fieldsOfARow_)) {
      case RowEnd::GoesOn:
        open_.append("\n").append(upper_);
        if (open_.size() < kMostRowBytes && SeparatedFields::endsInQuotes(open_, separator_)) return;
        readRow(open_, true, batch);
        open_.clear();
        return;
      case RowEnd::StrayQuote:
        if (strayQuote_ == 0) strayQuote_ = openLine_;
        [[fallthrough]];
      case RowEnd::Whole:
        readRow(open_, open_.find('\n') != std::string::npos, batch);
        open_.clear();
        break;
    }
  }
  if (upper_.find('"') != std::string::npos && SeparatedFields::endsInQuotes(upper_, separator_)) {
    open_.swap(upper_);
    openLine_ = lines_;
    return;
  }
  readRow(upper_, false, batch);
}

void SeparatedBody::readCutRow(std::string_view upperRow, bool lineEnds, ContactBatch& batch) {
  // A blank row, or the header row repeated, is no contact; a callsign
  // field holds whatever callsign the exporting program had.
  if (rowKind(upperRow, fields_, separator_, columns_.callsignColumn) != RowKind::Data) return;
  // A quoted field keeps its doubled quotes until here; few have any.
  // (Sized before any value views one of them.)
  unquoted_.resize(fields_.size());
  values_.clear();
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    values_.push_back(SeparatedFields::unquoted(fields_[i].text, unquoted_[i], lineEnds));
  }
  ContactMeaning meaning;
  const RecordFields record = columnRecord(columns_, values_, shown_, layout_.meanings, &meaning);
  batch.add(layout_, record, meaning);
}

}  // namespace quorvel
