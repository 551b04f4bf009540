#include "record/contact_batch.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "base/ascii.h"
#include "base/bytes.h"
#include "base/console_texts.h"
#include "base/files.h"

namespace quorvel {

void ContactBatch::addZeroed(const RecordLayout& layout, const RecordFields& fields, const ContactMeaning& meaning,
                             LetterCase letters) {
  RecordFields zeroed = fields;
  zeroed.callsign = zeroedCallsign(fields.callsign, callsignRoom_);
  addLine(layout, zeroed, meaning, letters);
}

void ContactBatch::addLine(const RecordLayout& layout, const RecordFields& fields, const ContactMeaning& meaning,
                           LetterCase letters) {
  // (A key's letter case does not matter to its bucket.)
  const char bucketKey = fields.callsign.empty() ? '\0' : fields.callsign.front();
  const std::size_t callsignAt = callsignOffset(layout, fields);
  const CarriedText carried(callsignAt, fields, meaning, layout.meanings);
  const std::size_t textSize =
      callsignAt + fields.callsign.size() + (layout.withComment ? 1 + fields.comment.size() : 0);
  const std::size_t size = textSize + carried.size() + kLineEnd.size();
  std::size_t room = used_ + size + kRecordLineSlack;
  if (room > text_.size()) text_.resize(std::max(room, 2 * text_.size()));
  char* line = text_.data() + used_;
  formatRecordLine(layout, fields, line);
  if (carried.size() > 0) {
    char* end = carried.write(line + textSize);
    if constexpr (kCrLfLineEnds) *end++ = '\r';
    *end = '\n';
  }
  if (letters == LetterCase::Upper) upperCaseBytes(line, line, size);
  used_ += size;
  // Whether the line reads as one that carries something is found here, on
  // the reader's thread, not where the lines are handed over one by one.
  const bool mayCarryAny = carried.size() > 0 || mayCarry(std::string_view(line, textSize));
  contacts_.push_back(
      {used_, ++counted_, carried.size() > 0 ? std::string_view::npos : callsignAt, bucketKey, mayCarryAny});
}

void ContactBatch::clear() {
  used_ = 0;
  contacts_.clear();
  counted_ = 0;
  finished_ = false;
  failure_ = Status::ok();
}

Status ContactBatch::handOver(RecordSink& sink, const Console& console, long countBefore) {
  std::size_t taken = 0;
  const Status status = sink.appendLines(std::string_view(text_.data(), used_), contacts_, taken);
  // Progress shows every line handed over, the one the sink could not take
  // among them.
  const std::size_t marked = status.isOk() ? contacts_.size() : std::min(taken + 1, contacts_.size());
  for (std::size_t i = 0; i < marked; ++i) markProgress(console, countBefore + contacts_[i].number);
  std::fflush(console.out);  // the progress marks of the whole batch
  return status.isOk() ? failure_ : status;
}

}  // namespace quorvel
