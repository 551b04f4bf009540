#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/bytes.h"
#include "base/console.h"
#include "base/status.h"
#include "record/bucket_line.h"
#include "record/record_line.h"
#include "record/record_sink.h"

namespace quorvel {

// Whether a record line keeps its letters as the log wrote them, or has
// a-z made upper case (ADIF and ADX logs, whose values any case may write).
enum class LetterCase { AsWritten, Upper };

// What a reader made of a run of lines, kept for the bucket files: the
// record lines in order, each with the number the reader counted it as
// (counting from the start of the batch), and whether the log ended in it.
class ContactBatch {
 public:
  // Counts one line or record that gives no record line.
  void count() { ++counted_; }
  // Counts a contact and keeps its bucket line, for the bucket of its
  // callsign's first character (none for an empty callsign): the record
  // line of `fields` in `layout` (its callsign's slashed zeros written as
  // the digit: zeroedCallsign), its letters in `letters` case, and what
  // it carries (bucket_line.h), `meaning` among it where the layout
  // carries meanings.
  void add(const RecordLayout& layout, const RecordFields& fields, const ContactMeaning& meaning = {},
           LetterCase letters = LetterCase::AsWritten) {
    // Nearly every callsign is ASCII alone, and so holds no slashed zero.
    if (anyHighByte(fields.callsign)) return addZeroed(layout, fields, meaning, letters);
    addLine(layout, fields, meaning, letters);
  }
  // The log ends here (Cabrillo "END-OF-LOG:").
  void finish() { finished_ = true; }
  // The log cannot be read on, for the reason `failure` gives.
  void fail(Status failure) { failure_ = std::move(failure); }
  void clear();

  // Neither finished nor failed: the log may go on after it.
  bool open() const { return !finished_ && failure_.isOk(); }
  bool finished() const { return finished_; }
  long counted() const { return counted_; }

  // Hands the record lines to `sink` in order, marking progress on
  // `console` by their number counted on from `countBefore`. Stops at the
  // first line the sink cannot take, or returns the failure the batch
  // ended with.
  Status handOver(RecordSink& sink, const Console& console, long countBefore);

 private:
  // add() for a callsign that may hold a slashed zero, and for one without.
  void addZeroed(const RecordLayout& layout, const RecordFields& fields, const ContactMeaning& meaning,
                 LetterCase letters);
  void addLine(const RecordLayout& layout, const RecordFields& fields, const ContactMeaning& meaning,
               LetterCase letters);

  // Where its record line ends in text_, its number, where its callsign
  // starts when its line does not carry that, and its bucket.
  using Contact = RecordSink::HandedLine;

  // The record lines fill text_ from the front, up to used_; the rest is
  // room, grown by doubling, that no line has to clear first.
  std::string text_;
  std::size_t used_ = 0;
  std::vector<Contact> contacts_;
  std::string callsignRoom_;  // a callsign written with its slashed zeros as digits
  long counted_ = 0;
  bool finished_ = false;
  Status failure_ = Status::ok();
};

}  // namespace quorvel
