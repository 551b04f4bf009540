#include "readers/adx_record.h"

#include "base/ascii.h"

namespace quorvel {

namespace {
std::size_t slotOf(AdifTag tag) { return static_cast<std::size_t>(tag); }
}  // namespace

void AdxRecord::open() {
  onLine_.fill(false);
  for (std::string* field : {&call_, &band_, &mode_, &qsoDate_, &timeOn_, &submode_, &comment_}) field->clear();
  bandMeant_ = -1;
}

AdifTag AdxRecord::wanted(std::string_view name, std::uint64_t line) {
  AdifTag tag = adifTagNamed(name);
  if (tag == AdifTag::Other || tag == AdifTag::Notes || (tag == AdifTag::Comment && !layout_.withComment)) {
    return AdifTag::Other;
  }
  if (line != line_) {
    keepLineFields();
    line_ = line;
  }
  if (onLine_[slotOf(tag)]) return AdifTag::Other;
  onLine_[slotOf(tag)] = true;
  texts_[slotOf(tag)].clear();
  return tag;
}

void AdxRecord::keepValue(AdifTag tag, const AdifTagValue& value, std::string& field) {
  std::string_view kept = field;
  if (!keepAdifValue(tag, value, kept)) return;
  field = std::string(kept);  // `kept` may view `field` itself
  if (tag == AdifTag::QsoDate) lastQsoDate_ = field;
  // A BAND names its band with its unit ("70CM"), which the list does not
  // show; a FREQ is in MHz. Only the page asks: the list's text names the
  // same band (see adifMeaning).
  if (layout_.meanings == Meanings::ForPage && (tag == AdifTag::Band || tag == AdifTag::Freq)) {
    bandMeant_ = bands_.bandOf(tag == AdifTag::Band && value.hasValue ? value.value.substr(0, value.length) : field);
  }
}

bool AdxRecord::keepFieldOnLine(AdifTag tag, std::string& field) {
  if (!onLine_[slotOf(tag)]) return false;
  keepValue(tag, adifValueOf(texts_[slotOf(tag)]), field);
  return true;
}

void AdxRecord::keepLineFields() {
  keepFieldOnLine(AdifTag::Call, call_);
  if (onLine_[slotOf(AdifTag::Comment)]) {
    // Unlike other values a comment keeps its inner blanks, up to the end
    // of its first line.
    std::string_view text = texts_[slotOf(AdifTag::Comment)];
    text = text.substr(0, text.find('\n'));
    if (text.ends_with('\r')) text.remove_suffix(1);
    comment_.assign(kCommentMark).append(text);
  }
  AdifTagValue band;
  if (onLine_[slotOf(AdifTag::Band)]) band = adifValueOf(texts_[slotOf(AdifTag::Band)]);
  if (!band.hasValue) keepFieldOnLine(AdifTag::Freq, band_);
  keepValue(AdifTag::Band, band, band_);
  keepFieldOnLine(AdifTag::Mode, mode_);
  keepFieldOnLine(AdifTag::QsoDate, qsoDate_);
  keepFieldOnLine(AdifTag::TimeOn, timeOn_);
  keepFieldOnLine(AdifTag::Submode, submode_);
  onLine_.fill(false);
}

void AdxRecord::close(ContactBatch& batch) {
  keepLineFields();
  if (qsoDate_.empty()) qsoDate_ = lastQsoDate_;
  RecordFields fields{qsoDate_, timeOn_, band_, shownMode(mode_, submode_), call_, comment_};
  MeaningText room;
  const ContactMeaning meaning = adifMeaning(fields, bandMeant_, mode_, submode_, layout_.meanings, room);
  batch.add(layout_, fields, meaning, LetterCase::Upper);
}

}  // namespace quorvel
