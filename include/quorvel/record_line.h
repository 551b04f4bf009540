#pragma once

#include <string_view>

namespace quorvel {

// The family of record-line layouts a reader writes.
enum class LayoutSet {
  Wide,             // ADIF without -comment, and Cabrillo: 8-character band field
  WideWithComment,  // ADIF with -comment: as Wide, the comment after the callsign
  Narrow,           // column text logs: 3-character band field
};

// The values of one contact, already prepared by its reader (upper case, cut,
// PSK31 shortened). Empty values print as blanks to their field's width.
struct RecordFields {
  std::string_view date;
  std::string_view time;
  std::string_view band;
  std::string_view mode;
  std::string_view callsign;
  std::string_view comment;  // used by WideWithComment only
};

}  // namespace quorvel
