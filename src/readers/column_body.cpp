#include "readers/column_body.h"

#include <algorithm>

namespace quorvel {

namespace {

std::size_t overlap(const RowField& field, const ColumnSpan& span) {
  const std::size_t begin = std::max(field.begin, span.begin), end = std::min(field.end(), span.end);
  return end > begin ? end - begin : 0;
}

// The column each field of a row short of values stands in, in the row's
// order; empty when a field stands in none, or out of order.
std::vector<std::size_t> placesOf(const std::vector<RowField>& fields, const std::vector<ColumnSpan>& spans) {
  std::vector<std::size_t> places;
  for (const RowField& field : fields) {
    std::size_t best = spans.size(), most = 0;
    for (std::size_t k = places.empty() ? 0 : places.back() + 1; k < spans.size(); ++k) {
      if (overlap(field, spans[k]) > most) best = k, most = overlap(field, spans[k]);
    }
    if (best == spans.size()) return {};
    places.push_back(best);
  }
  return places;
}

// Whether the fields stand in their own columns, as those of a whole row
// do: a value missing before the callsign's column moves the callsign out
// of it, one missing after it the last field taken.
bool inTheirColumns(const std::vector<RowField>& fields, const std::vector<ColumnSpan>& spans, std::size_t callsign) {
  for (std::size_t i : {callsign, fields.size() - 1}) {
    if (i >= fields.size() || i >= spans.size() || overlap(fields[i], spans[i]) == 0) return false;
  }
  return true;
}

}  // namespace

void ColumnBody::placeValues(std::string_view row) {
  values_.clear();
  const auto wanted = static_cast<std::size_t>(lastColumn_ + 1);
  // A row short of a value stands out where its fields leave their
  // columns: only such a row is cut whole and placed.
  if (!spans_.empty() && !inTheirColumns(fields_, spans_, static_cast<std::size_t>(columns_.callsignColumn))) {
    cutRow(row, ' ', fields_);
    const std::vector<std::size_t> places =
        fields_.size() < spans_.size() ? placesOf(fields_, spans_) : std::vector<std::size_t>();
    if (!places.empty()) {
      values_.resize(std::max(wanted, spans_.size()));
      for (std::size_t i = 0; i < places.size(); ++i) values_[places[i]] = fields_[i].text;
      values_.resize(wanted);
      return;
    }
  }
  for (std::size_t i = 0; i < fields_.size() && i < wanted; ++i) values_.push_back(fields_[i].text);
}

void ColumnBody::writeRecord(std::string_view row, ContactBatch& batch) {
  placeValues(row);
  // A paper log writes the date once a day: a row laid out in columns
  // whose date is blank has the date of the row above.
  if (!spans_.empty() && columns_.dateColumn != ColumnMap::kUnassigned) {
    const auto date = static_cast<std::size_t>(columns_.dateColumn);
    if (date < values_.size() && !values_[date].empty()) {
      // Most rows repeat the date above: compared, not copied again.
      if (values_[date] != lastDate_) lastDate_.assign(values_[date]);
      setDate_ = true;
    } else if (date < values_.size()) {
      tookEarlierDate_ = tookEarlierDate_ || !setDate_;
      values_[date] = lastDate_;
    }
  }
  ContactMeaning meaning;
  RecordFields fields = columnRecord(columns_, values_, shown_, layout_.meanings, &meaning);
  batch.add(layout_, fields, meaning);
}

}  // namespace quorvel
