#include "readers/adif_reader.h"

#include <functional>
#include <string>

#include "base/ascii.h"
#include "base/console_texts.h"
#include "readers/adif_tags.h"
#include "readers/line_tally.h"

namespace quorvel {

namespace {

constexpr std::string_view kEndOfHeader = "<EOH>";
constexpr std::string_view kEndOfRecord = "<EOR>";

// A field of the record being read. While the block of lines it came from
// is read, it views that text; before the block goes, detach() gives it a
// copy of its own. Its text is in the letter case of the log: the record
// line is upper-cased as a whole.
class AdifField {
 public:
  std::string_view text() const { return owned_ ? std::string_view(copy_) : view_; }
  bool empty() const { return text().empty(); }

  void set(std::string_view text) {
    if (owned_ && std::less_equal<>()(copy_.data(), text.data()) &&
        std::less_equal<>()(text.data() + text.size(), copy_.data() + copy_.size())) {
      copy_.assign(text);  // part of its own copy: it stays a copy
      return;
    }
    view_ = text;
    owned_ = false;
  }
  void setFrom(const AdifField& other) {
    if (!other.owned_) {
      set(other.view_);
      return;
    }
    copy_ = other.copy_;
    owned_ = true;
  }
  void detach() {
    if (owned_) return;
    copy_.assign(view_);
    owned_ = true;
  }

 private:
  std::string_view view_;
  std::string copy_;
  bool owned_ = false;
};

// What an AdifBody that read a block of its own assumed about the lines
// before the block, and what it used of them: it started between records
// and knew no earlier QSO_DATE.
struct BlockStartGuess {
  bool setDate = false;          // the block read a QSO_DATE of its own
  bool tookEarlierDate = false;  // before that, a record without one took the
                                 // last QSO_DATE before the block: none, it assumed
};

// The records of an ADIF log, line by line. A line that goes on with more
// tags after its "<EOR>" is cut there and the rest read as a line of its
// own, so that records written back to back on one line each get their
// record line.
class AdifBody {
 public:
  AdifBody() = default;
  // `linesBefore` lines came before the first one it is given.
  AdifBody(RecordLayout layout, std::size_t linesBefore) : layout_(layout), lines_(linesBefore) {}

  void readLine(const Line& line, ContactBatch& batch);
  // The first line whose CALL followed an earlier CALL of an open record:
  // the record before had lost its "<EOR>". 0 for none.
  std::size_t missingEndLine() const { return lines_.marked(kLostEnd); }
  // The line the log ended on inside a record that held a CALL, which was
  // then read as it stood; 0 when it ended between records.
  std::size_t cutRecordLine() const { return cutRecordLine_; }
  // The first line where a value was cut to kMostValueBytes, and its tag;
  // 0 for none.
  std::size_t cutValueLine() const { return lines_.marked(kCutValue); }
  AdifTag cutValueTag() const { return cutTag_; }
  // Keeps what outlives the lines read so far: the open record and the
  // last QSO_DATE.
  void detach();

  AdifBody atBlockStart() const { return AdifBody(layout_, 0); }
  bool readsOnFrom(const AdifBody& before) const {
    return !before.inRecord_ && (!guess_.tookEarlierDate || before.lastQsoDate_.empty());
  }
  void carryOver(const AdifBody& before) {
    if (!guess_.setDate) lastQsoDate_.setFrom(before.lastQsoDate_);
    if (before.lines_.marked(kCutValue) != 0) cutTag_ = before.cutTag_;
    lines_.carryOver(before.lines_);
  }
  // A record cut short at the end of the log is a contact when it holds a
  // CALL; tags after the last "<EOR>" that hold none (LoTW's
  // <APP_LoTW_EOF>, a program's trailer) are no record.
  void endInput(ContactBatch& batch) {
    if (!inRecord_ || call_.empty()) return;
    cutRecordLine_ = lines_.current();
    closeRecord(batch);
  }
  // After a line whose first "<EOR>" has no tag behind it, no record is open.
  static bool cutsAfter(std::string_view line) {
    std::size_t end = findCaseless(line, kEndOfRecord);
    return end != std::string_view::npos && line.find('<', end + kEndOfRecord.size()) == std::string_view::npos;
  }

 private:
  void resetRecord();
  void readTags(std::string_view text, const AdifTagPositions& positions);
  void readValueTag(std::string_view text, const AdifTagPositions& positions, AdifTag tag, AdifField& field);
  void keepValue(AdifTag tag, const AdifTagValue& value, AdifField& field);
  void readComment(std::string_view text, const AdifTagPositions& positions);
  void noteCutValue(AdifTag tag);
  void closeRecord(ContactBatch& batch);

  static constexpr std::size_t kLostEnd = 0, kCutValue = 1;  // the marks of lines_

  RecordLayout layout_;
  LineTally lines_;
  AdifTag cutTag_ = AdifTag::Other;
  std::size_t cutRecordLine_ = 0;
  bool inRecord_ = false;
  bool callOnEarlierLine_ = false;  // of the open record
  // The record being read. Every field starts empty, so a comment taken on
  // any line of a record lasts to its end unless a later COMMENT replaces it.
  AdifField call_, band_, mode_, qsoDate_, timeOn_, submode_;
  int bandMeant_ = -1;  // the band that band_'s BAND or FREQ names, where lines carry meanings
  BandMemo bands_;
  std::string comment_;
  AdifField lastQsoDate_;  // of any record so far, for records without one
  BlockStartGuess guess_;
};

void AdifBody::readLine(const Line& line, ContactBatch& batch) {
  lines_.read(line.endsWithNewline);
  std::string_view text = line.text;
  const std::size_t lineEnd = line.endsWithNewline ? 1 : 0;
  // Lines shorter than two characters, counted with their line end, are
  // skipped, between records and within them.
  while (text.size() + lineEnd >= 2) {
    AdifTagPositions positions = findAdifTags(text);
    if (inRecord_ && callOnEarlierLine_ && positions.of(AdifTag::Call) != std::string_view::npos) {
      // A second CALL after the lines of a record with one: its "<EOR>"
      // was lost, and this line starts the next contact.
      lines_.mark(kLostEnd);
      closeRecord(batch);
    }
    if (!inRecord_) {
      resetRecord();
      inRecord_ = true;
    }
    if (positions.endOfRecord == std::string_view::npos) {
      readTags(text, positions);
      callOnEarlierLine_ = !call_.empty();
      return;
    }
    std::size_t end = positions.endOfRecord + kEndOfRecord.size();
    std::string_view rest = text.substr(end);
    bool moreTags = rest.find('<') != std::string_view::npos;
    readTags(moreTags ? text.substr(0, end) : text, positions);
    closeRecord(batch);
    if (!moreTags) return;
    text = rest;
  }
}

void AdifBody::resetRecord() {
  for (AdifField* field : {&call_, &band_, &mode_, &qsoDate_, &timeOn_, &submode_}) field->set({});
  bandMeant_ = -1;
  comment_.clear();
}

void AdifBody::detach() {
  lastQsoDate_.detach();
  for (AdifField* field : {&call_, &band_, &mode_, &qsoDate_, &timeOn_, &submode_}) field->detach();
}

// Built with all it calls inline (flatten): a call of readAdifTag for each
// tag, its result passed back through memory, costs more than reading the
// tag.
[[gnu::flatten]] void AdifBody::readTags(std::string_view text, const AdifTagPositions& positions) {
  readValueTag(text, positions, AdifTag::Call, call_);
  if (layout_.withComment) readComment(text, positions);
  // A BAND with a value replaces whatever FREQ put in the band field, so
  // that FREQ need not be read at all.
  AdifTagValue band;
  if (std::size_t at = positions.of(AdifTag::Band); at != std::string_view::npos) {
    band = readAdifTag(text, at, AdifTag::Band);
  }
  if (!band.lengthRead || !band.hasValue || band.length == 0) readValueTag(text, positions, AdifTag::Freq, band_);
  keepValue(AdifTag::Band, band, band_);
  readValueTag(text, positions, AdifTag::Mode, mode_);
  readValueTag(text, positions, AdifTag::QsoDate, qsoDate_);
  readValueTag(text, positions, AdifTag::TimeOn, timeOn_);
  readValueTag(text, positions, AdifTag::Submode, submode_);
}

void AdifBody::readValueTag(std::string_view text, const AdifTagPositions& positions, AdifTag tag, AdifField& field) {
  std::size_t position = positions.of(tag);
  if (position == std::string_view::npos) return;
  keepValue(tag, readAdifTag(text, position, tag, true), field);
}

void AdifBody::keepValue(AdifTag tag, const AdifTagValue& value, AdifField& field) {
  std::string_view text = field.text();
  if (!keepAdifValue(tag, value, text)) return;
  if (value.value.size() > kMostValueBytes) noteCutValue(tag);
  field.set(text);
  // A BAND names its band with its unit ("70CM"), which the list does not
  // show; a FREQ is in MHz. Only the page asks: the list's text names the
  // same band (see adifMeaning).
  if (layout_.meanings == Meanings::ForPage && (tag == AdifTag::Band || tag == AdifTag::Freq)) {
    bandMeant_ = bands_.bandOf(tag == AdifTag::Band && value.hasValue ? value.value.substr(0, value.length) : text);
  }
  if (tag == AdifTag::QsoDate) {
    lastQsoDate_.setFrom(field);
    guess_.setDate = true;
  }
}

void AdifBody::readComment(std::string_view text, const AdifTagPositions& positions) {
  std::size_t position = positions.of(AdifTag::Comment);
  if (position == std::string_view::npos) return;
  AdifTagValue value = readAdifTag(text, position, AdifTag::Comment);
  if (!value.lengthRead || !value.closed) return;
  // Unlike other values a comment keeps its inner blanks; one that runs
  // past its line takes the rest of the line.
  const std::string_view comment = value.afterTag.substr(0, value.length);
  comment_.assign(kCommentMark);
  comment_.append(comment.substr(0, cutAtCharacter(comment, kMostValueBytes)));
  if (comment.size() > kMostValueBytes) noteCutValue(AdifTag::Comment);
}

void AdifBody::noteCutValue(AdifTag tag) {
  if (lines_.marked(kCutValue) != 0) return;
  lines_.mark(kCutValue);
  cutTag_ = tag;
}

void AdifBody::closeRecord(ContactBatch& batch) {
  inRecord_ = false;
  if (qsoDate_.empty()) {
    guess_.tookEarlierDate |= !guess_.setDate;
    qsoDate_.setFrom(lastQsoDate_);
  }
  std::string_view call = call_.text();
  RecordFields fields{qsoDate_.text(), timeOn_.text(), band_.text(), shownMode(mode_.text(), submode_.text()), call,
                      comment_};
  MeaningText room;
  const ContactMeaning meaning = adifMeaning(fields, bandMeant_, mode_.text(), submode_.text(), layout_.meanings, room);
  batch.add(layout_, fields, meaning, LetterCase::Upper);
}

// Skips the header up to the line holding "<EOH>"; `line` is its first
// line, numbered `number`, which goes on to the number of the "<EOH>"
// line. Gives in `rest` the part of that line after "<EOH>", when tags
// follow there. False when the log ends first.
bool skipHeader(LineReader& input, Line line, std::size_t& number, Line& rest, bool& hasRest) {
  std::size_t endOfHeader;
  while ((endOfHeader = findCaseless(line.text, kEndOfHeader)) == std::string_view::npos) {
    number += line.endsWithNewline ? 1 : 0;
    if (!input.next(line)) return false;
  }
  rest = {line.text.substr(endOfHeader + kEndOfHeader.size()), line.endsWithNewline};
  hasRest = rest.text.find('<') != std::string_view::npos;
  return true;
}

// Where a long line of an ADIF log may be cut (a LineCutRule): after its
// first "<EOR>" when more tags follow, where the reader would cut it
// itself; 0 when it would not. A log exported as one line is then held a
// record at a time.
std::size_t cutAfterRecord(std::string_view line) {
  const std::size_t endOfRecord = findAdifTags(line).endOfRecord;
  if (endOfRecord == std::string_view::npos) return 0;
  const std::size_t end = endOfRecord + kEndOfRecord.size();
  return line.find('<', end) == std::string_view::npos ? 0 : end;
}

// Where an ADIF line cut at its bound goes on (a LineResumeRule): at its
// first "<EOR>" or line end, so that the record it cut is closed and the
// records behind it on the line are read.
std::size_t resumeAtRecordEnd(std::string_view skipped) {
  return std::min(skipped.find('\n'), findCaseless(skipped, kEndOfRecord));
}

// The log's first line that is not empty (two bytes or more, its line end
// counted) and its number; false when the log ends first.
bool findFirstLine(LineReader& input, Line& first, std::size_t& number) {
  for (std::size_t ended = 0; input.next(first);) {
    if (first.rawLength() >= 2) {
      number = ended + 1;
      return true;
    }
    ended += first.endsWithNewline ? 1 : 0;
  }
  return false;
}

LogReading readFrom(LineReader& input, const Line& firstLine, std::size_t firstLineNumber, AdifStart start,
                    const ReaderSetup& setup, RecordSink& sink) {
  Line first = firstLine;
  bool hasFirst = true;
  std::size_t number = firstLineNumber;
  if (start == AdifStart::AtHeader && !skipHeader(input, firstLine, number, first, hasFirst)) {
    return {input.status(), 0, {}};
  }
  printMessage(setup.console, "\nADIF format detected\n");
  printMessage(setup.console, kWritingMessage);

  AdifBody body(setup.layout, hasFirst ? number - 1 : number);
  long count = 0;
  BodyEnd end;
  if (hasFirst) {
    ContactBatch batch;
    body.readLine(first, batch);
    body.detach();  // the line reader's buffer moves on
    end = deliverBatch(batch, setup.console, sink, count);
  }
  if (end.status.isOk()) end = readBody(input, body, setup, sink, count);
  if (!end.status.isOk()) return {end.status, count, {}};
  printCount(setup.console, count, "processed");
  if (body.cutValueLine() != 0) {
    input.noteCut(body.cutValueLine(), "the " + std::string(adifTagName(body.cutValueTag())), kMostValueText);
  }
  if (body.missingEndLine() != 0) {
    printMessage(setup.console, "missing <EOR> in file " + input.name() + " before line " +
                                    std::to_string(body.missingEndLine()) +
                                    ": the record before it was read as a contact of its own\n");
  }
  if (body.cutRecordLine() == 0) return {Status::ok(), count, {}};
  return {Status::ok(), count,
          "error reading file " + input.name() + " at line " + std::to_string(body.cutRecordLine()) +
              ": the file ends inside a record; the record was read as it stands\n"};
}

}  // namespace

LogReading readAdifLog(LineReader& input, AdifStart start, const ReaderSetup& setup, RecordSink& sink) {
  input.cutLongLines(cutAfterRecord, resumeAtRecordEnd);  // a log exported as one line
  Line first;
  std::size_t number = 0;
  if (!findFirstLine(input, first, number)) return {input.status(), 0, {}};
  return readFrom(input, first, number, start, setup, sink);
}

LogReading readAdifLogFrom(LineReader& input, const Line& firstLine, std::size_t firstLineNumber,
                           const ReaderSetup& setup, RecordSink& sink) {
  input.cutLongLines(cutAfterRecord, resumeAtRecordEnd);
  return readFrom(input, firstLine, firstLineNumber, AdifStart::AtHeader, setup, sink);
}

}  // namespace quorvel
