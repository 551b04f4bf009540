#include "record/contact_batch.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "base/ascii.h"
#include "record/console_texts.h"

namespace quorvel {

void ContactBatch::add(const RecordLayout& layout, const RecordFields& fields, LetterCase letters) {
  // (A key's letter case does not matter to its bucket.)
  const char bucketKey = fields.callsign.empty() ? '\0' : fields.callsign.front();
  std::size_t size = recordLineSize(layout, fields);
  std::size_t room = used_ + size + kRecordLineSlack;
  if (room > text_.size()) text_.resize(std::max(room, 2 * text_.size()));
  char* line = text_.data() + used_;
  formatRecordLine(layout, fields, line);
  if (letters == LetterCase::Upper) upperCaseBytes(line, line, size);
  used_ += size;
  contacts_.push_back({used_, ++counted_, bucketKey});
}

void ContactBatch::clear() {
  used_ = 0;
  contacts_.clear();
  counted_ = 0;
  finished_ = false;
  failure_ = Status::ok();
}

Status ContactBatch::handOver(RecordSink& sink, const Console& console, long countBefore) {
  Status status = Status::ok();
  std::size_t begin = 0;
  for (const Contact& contact : contacts_) {
    markProgress(console, countBefore + contact.number);
    status = sink.appendToBucket(contact.bucketKey, std::string_view(text_.data() + begin, contact.end - begin));
    if (!status.isOk()) break;
    begin = contact.end;
  }
  std::fflush(console.out);  // the progress marks of the whole batch
  return status.isOk() ? failure_ : status;
}

}  // namespace quorvel
