#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "record/contact_meaning.h"
#include "record/record_line.h"

namespace quorvel {

// What a "<" on an ADIF line opens: one of the tags the reader takes, in
// the order it takes them on a line; the end of the record; or anything
// else.
// NOTES is found for where it stands only: a free text, whose value may
// quote a tag.
enum class AdifTag : std::uint8_t {
  Call,
  Comment,
  Freq,
  Band,
  Mode,
  QsoDate,
  TimeOn,
  Submode,
  Notes,
  EndOfRecord,
  Other
};
inline constexpr std::size_t kAdifTagCount = 9;  // the tags before EndOfRecord

// Where the tags stand on one line, written in any letter case: the "<" of
// the first occurrence of each tag (npos if none) and of the first
// "<EOR>". A tag counts only under its exact name, followed by ":" or ">":
// "<QSO_DATE_OFF:" is no QSO_DATE. Only the text before the first "<EOR>"
// is searched. A value is as long as its tag declares, where that lands on
// the end of a value (white space, a "<" or the end of the line): what
// looks like a tag within it, as a COMMENT that quotes "<EOR>", is data. `line` must be followed by kReadPadding
// readable bytes, as every text a LineReader gives is.
struct AdifTagPositions {
  std::array<std::size_t, kAdifTagCount> first;
  std::size_t endOfRecord = std::string_view::npos;

  std::size_t of(AdifTag tag) const { return first[static_cast<std::size_t>(tag)]; }
};

AdifTagPositions findAdifTags(std::string_view line);

// What a tag at a known place on its line says, read as "<NAME:%d>%s" and,
// failing that, as "<NAME:%d:%c>%s" (a type indicator, read and ignored).
struct AdifTagValue {
  // The declared length was read and is not negative. Without it the tag
  // says nothing and its field stays as it is.
  bool lengthRead = false;
  // The declared length; a number too large for the machine reads as the
  // largest size, which is larger than any value.
  std::size_t length = 0;
  // A value followed the tag: after white space, the text up to the next
  // white space or the end of the line. It may run into the next tag; the
  // declared length cuts that off again.
  bool hasValue = false;
  std::string_view value;
  // The text right after the ">" that closes the tag, to the end of the
  // line: where a COMMENT's text begins. Empty when no ">" closes it.
  bool closed = false;
  std::string_view afterTag;
};

// Reads the tag `tag` whose "<" stands at `position` of `line`, which is
// followed by kReadPadding readable bytes. With `cutToLength` the value
// ends after the declared length already, for a reader that keeps no more.
AdifTagValue readAdifTag(std::string_view line, std::size_t position, AdifTag tag, bool cutToLength = false);

// Makes `field` what a CALL, FREQ, BAND, MODE, QSO_DATE, TIME_ON or SUBMODE tag
// says it is: the value (or, without one, what the field held) cut to the
// declared length, and to kMostValueBytes at a character boundary; BAND
// ended before its first "M" instead, a millimetre band ("6MM") kept
// whole; TIME_ON to its first four characters. The field views the value or its old text, in their letter
// case; the record line is upper-cased as a whole. Returns false, leaving
// the field alone, when the declared length could not be read or is 0.
bool keepAdifValue(AdifTag tag, const AdifTagValue& value, std::string_view& field);

// What an ADIF or ADX contact means, as far as `meanings` asks (nothing
// for Meanings::None), its record line's values `fields` taken from its
// tags: the band `band` that its BAND or FREQ names (meantBand), the finer
// name of its MODE `mode` and SUBMODE `submode` that the list does not
// show, and for the page its QSO_DATE and TIME_ON read (ADIF's dates leave
// no order in doubt). Views `fields`, the mode and `room`.
ContactMeaning adifMeaning(const RecordFields& fields, int band, std::string_view mode, std::string_view submode,
                           Meanings meanings, MeaningText& room);

// The tag's name as it is written between "<" and ":".
std::string_view adifTagName(AdifTag tag);

// The tag of the reader's that `name` names, in any letter case; Other for
// any other name, EndOfRecord included.
AdifTag adifTagNamed(std::string_view name);

// What a tag says whose declared length holds `text` exactly, as when an
// element of ADX, ADIF's XML form, gives its value whole: its value is the
// first word of `text`, and it has none when `text` is blank. The value
// views `text`.
AdifTagValue adifValueOf(std::string_view text);

}  // namespace quorvel
