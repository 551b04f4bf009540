#include "detect/text_row.h"

#include <algorithm>
#include <string>

#include "radio/recognisers.h"

namespace quorvel {

std::vector<std::string_view> fieldTexts(std::string_view row, char separator) {
  std::vector<RowField> fields;
  cutRow(row, separator, fields);
  std::vector<std::string_view> texts;
  texts.reserve(fields.size());
  for (const RowField& field : fields) texts.push_back(field.text);
  return texts;
}

RowEnd rowEnd(std::string_view row, std::string_view next, char separator, std::size_t fieldsOfARow) {
  if (row.size() >= kMostRowBytes || !SeparatedFields::endsInQuotes(row, separator)) return RowEnd::Whole;
  // A line that closes the open field into a whole row belongs to it.
  const std::string joined = std::string(row).append("\n").append(next);
  if (!SeparatedFields::endsInQuotes(joined, separator) && fieldTexts(joined, separator).size() >= fieldsOfARow) {
    return RowEnd::GoesOn;
  }
  const std::vector<std::string_view> fields = fieldTexts(next, separator);
  const bool ownRow =
      fields.size() > 1 && fields.size() >= fieldsOfARow &&
      std::any_of(fields.begin(), fields.end(), [](std::string_view field) { return isCallsign(field); });
  return ownRow ? RowEnd::StrayQuote : RowEnd::GoesOn;
}

}  // namespace quorvel
