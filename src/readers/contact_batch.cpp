#include "readers/contact_batch.h"

#include <utility>

#include "output/console.h"

namespace quorvel {

void ContactBatch::add(char bucketKey, std::string_view line, int sortColumn) {
  text_.append(line);
  contacts_.push_back({text_.size(), ++counted_, bucketKey});
  sortColumn_ = sortColumn;
}

void ContactBatch::fail(Status failure) {
  end_ = End::Failed;
  failure_ = std::move(failure);
}

void ContactBatch::clear() {
  text_.clear();
  contacts_.clear();
  counted_ = 0;
  end_ = End::Open;
  failure_ = Status::ok();
}

Status ContactBatch::replay(RunContext& run, long countBefore) const {
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
