#include "readers/contact_batch.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "detect/ascii.h"
#include "output/console.h"

namespace quorvel {

void ContactBatch::add(char bucketKey, const RecordLayout& layout, const RecordFields& fields, bool upperCase) {
  std::size_t size = recordLineSize(layout, fields);
  std::size_t room = used_ + size + kRecordLineSlack;
  if (room > text_.size()) text_.resize(std::max(room, 2 * text_.size()));
  if (!upperCase) settle();
  if (upperCase && upperFrom_ == kNone) upperFrom_ = used_;
  writeRecordLine(layout, fields, text_.data() + used_);
  used_ += size;
  contacts_.push_back({used_, ++counted_, bucketKey});
  sortColumn_ = layout.sortColumn();
}

void ContactBatch::settle() {
  if (upperFrom_ == kNone) return;
  upperCaseBytes(text_.data() + upperFrom_, text_.data() + upperFrom_, used_ - upperFrom_);
  upperFrom_ = kNone;
}

void ContactBatch::fail(Status failure) {
  end_ = End::Failed;
  failure_ = std::move(failure);
}

void ContactBatch::clear() {
  used_ = 0;
  upperFrom_ = kNone;
  contacts_.clear();
  counted_ = 0;
  end_ = End::Open;
  failure_ = Status::ok();
}

Status ContactBatch::replay(RunContext& run, long countBefore) {
  settle();
  Status status = handOver(run, countBefore);
  std::fflush(run.console.out);  // the progress marks of the whole batch
  return status;
}

Status ContactBatch::handOver(RunContext& run, long countBefore) const {
  std::size_t begin = 0;
  for (const Contact& contact : contacts_) {
    markProgress(run.console, countBefore + contact.number);
    run.sortColumn = sortColumn_;
    std::string_view line(text_.data() + begin, contact.end - begin);
    if (Status appended = run.sink->appendToBucket(contact.bucketKey, line); !appended.isOk()) return appended;
    begin = contact.end;
  }
  return end_ == End::Failed ? failure_ : Status::ok();
}

}  // namespace quorvel
