#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "readers/adif_tags.h"
#include "record/contact_batch.h"
#include "record/record_line.h"

namespace quorvel {

// One RECORD of an ADX log, ADIF written as XML, made into the record
// line that the same record gives in an ADIF file whose tags stand on the
// lines its elements stand on. The ADIF reader takes a record's tags a
// line at a time, and so does this: on one line the first CALL, COMMENT,
// FREQ, BAND, MODE, QSO_DATE, TIME_ON and SUBMODE count, a BAND with a
// value makes FREQ count for nothing, and a later line's field replaces an
// earlier one's. Values are read as the ADIF reader reads a tag's
// (adifValueOf, keepAdifValue); MFSK shows as its SUBMODE, and a record
// without QSO_DATE takes the last one read before it.
class AdxRecord {
 public:
  explicit AdxRecord(RecordLayout layout) : layout_(layout) {}

  // A RECORD element begins.
  void open();
  // The tag an element of the record named `name`, whose start tag stands
  // on line `line`, fills; Other when the record does not keep it (an
  // unknown name, a second one of the name on its line, a COMMENT when the
  // layout has no comment field).
  AdifTag wanted(std::string_view name, std::uint64_t line);
  // Where the text of the element just wanted goes, entities decoded, as
  // the parser gives it piece by piece.
  std::string& textOf(AdifTag tag) { return texts_[static_cast<std::size_t>(tag)]; }
  // The RECORD element ends: adds its record line to `batch`.
  void close(ContactBatch& batch);

 private:
  // Keeps the fields of the elements of the line read last.
  void keepLineFields();
  // Keeps in `field` what the element of `tag` on the line says; false
  // when the line has none. keepValue() keeps a value read already.
  bool keepFieldOnLine(AdifTag tag, std::string& field);
  void keepValue(AdifTag tag, const AdifTagValue& value, std::string& field);

  RecordLayout layout_;
  std::uint64_t line_ = 0;
  std::array<std::string, kAdifTagCount> texts_;  // of the elements on line_
  std::array<bool, kAdifTagCount> onLine_{};
  std::string call_, band_, mode_, qsoDate_, timeOn_, submode_, comment_;
  int bandMeant_ = -1;  // the band that band_'s BAND or FREQ names, where lines carry meanings
  BandMemo bands_;
  std::string lastQsoDate_;  // of any record so far
};

}  // namespace quorvel
