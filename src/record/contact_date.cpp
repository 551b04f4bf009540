#include "record/contact_date.h"

#include "radio/date_time.h"

namespace quorvel {

std::string sortableDate(std::string_view text) {
  const DateTimeRead read = readDateTime(text);
  if (!read.date) return {};
  char iso[10];
  const std::string_view date = isoDate(read.date->date, iso);
  return std::string(date.substr(0, 4)).append(date.substr(5, 2)).append(date.substr(8, 2));
}

}  // namespace quorvel
