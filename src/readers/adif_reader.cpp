#include "readers/adif_reader.h"

#include <string>

#include "detect/ascii.h"
#include "output/console.h"
#include "output/record_line.h"
#include "readers/adif_tags.h"

namespace quorvel {

namespace {

constexpr std::string_view kEndOfHeader = "<EOH>";
constexpr std::size_t kEndOfRecordLength = 5;  // "<EOR>"

// One line as the ADIF reader works on it: possibly only part of a line of
// the log, when that line holds more than one record. It views the line
// reader's buffer, which stays put until the next line is read.
struct AdifLine {
  std::string_view text;
  bool endsWithNewline = false;

  static AdifLine of(const Line& line) { return {line.text, line.endsWithNewline}; }
  std::size_t rawLength() const { return text.size() + (endsWithNewline ? 1 : 0); }
};

class AdifReader {
 public:
  AdifReader(LineReader& input, RunContext& run)
      : input_(input),
        run_(run),
        layout_(chooseLayout(run.options.keepComments ? LayoutSet::WideWithComment : LayoutSet::Wide, run.options)) {}

  Status read(const Line& firstLine, AdifStart start);

 private:
  bool nextLine(AdifLine& line);
  void splitAfter(AdifLine& line, std::size_t end);
  Status readRecords(AdifLine line);
  bool takeTags(AdifLine& line);
  void takeValueTag(std::string_view text, const AdifTagPositions& positions, AdifTag tag, std::string& field);
  void takeComment(std::string_view text, const AdifTagPositions& positions);
  Status closeRecord();
  Status finish();
  void resetRecord();

  LineReader& input_;
  RunContext& run_;
  RecordLayout layout_;
  AdifLine pending_;  // the rest of a line that held more than one record
  bool hasPending_ = false;
  long contactCount_ = 0;

  // The record being read. Every field starts empty, so a comment taken on
  // any line of a record lasts to its end unless a later COMMENT replaces it.
  std::string call_, band_, mode_, qsoDate_, timeOn_, comment_;
  std::string lastQsoDate_;  // of any record so far, for records without one
  std::string recordLine_;
};

bool AdifReader::nextLine(AdifLine& line) {
  if (hasPending_) {
    hasPending_ = false;
    line = pending_;
    return true;
  }
  Line read;
  if (!input_.next(read)) return false;
  line = AdifLine::of(read);
  return true;
}

// A line that goes on with more tags after its end of record or header is
// cut there, and the rest is read as the next line, so that records written
// back to back on one line each get their record line.
void AdifReader::splitAfter(AdifLine& line, std::size_t end) {
  std::string_view rest = line.text.substr(end);
  if (rest.find('<') == std::string_view::npos) return;
  pending_.text = rest;
  pending_.endsWithNewline = line.endsWithNewline;
  hasPending_ = true;
  line.text = line.text.substr(0, end);
}

Status AdifReader::read(const Line& firstLine, AdifStart start) {
  AdifLine line = AdifLine::of(firstLine);
  if (start == AdifStart::AtHeader) {
    std::size_t endOfHeader;
    while ((endOfHeader = findCaseless(line.text, kEndOfHeader)) == std::string_view::npos) {
      if (!nextLine(line)) return input_.status();
    }
    splitAfter(line, endOfHeader + kEndOfHeader.size());
  }
  printMessage(run_.console, "\nADIF format detected\n");
  printMessage(run_.console, kWritingMessage);
  if (start == AdifStart::AtHeader && !nextLine(line)) return finish();
  return readRecords(line);
}

Status AdifReader::readRecords(AdifLine line) {
  for (;;) {
    while (line.rawLength() < 2) {
      if (!nextLine(line)) return finish();
    }
    resetRecord();
    while (!takeTags(line)) {
      // A log that ends inside a record drops it and prints no count.
      do {
        if (!nextLine(line)) return input_.status();
      } while (line.rawLength() < 2);
    }
    if (Status closed = closeRecord(); !closed.isOk()) return closed;
    if (!nextLine(line)) return finish();
  }
}

void AdifReader::resetRecord() {
  call_.clear();
  band_.clear();
  mode_.clear();
  qsoDate_.clear();
  timeOn_.clear();
  comment_.clear();
}

// Takes the tags of one line into the record; true when the line ends it.
bool AdifReader::takeTags(AdifLine& line) {
  AdifTagPositions positions = findAdifTags(line.text);
  bool endsRecord = positions.endOfRecord != std::string_view::npos;
  if (endsRecord) splitAfter(line, positions.endOfRecord + kEndOfRecordLength);

  std::string_view text = line.text;
  takeValueTag(text, positions, AdifTag::Call, call_);
  if (run_.options.keepComments) takeComment(text, positions);
  takeValueTag(text, positions, AdifTag::Freq, band_);
  takeValueTag(text, positions, AdifTag::Band, band_);
  takeValueTag(text, positions, AdifTag::Mode, mode_);
  takeValueTag(text, positions, AdifTag::QsoDate, qsoDate_);
  takeValueTag(text, positions, AdifTag::TimeOn, timeOn_);
  return endsRecord;
}

void AdifReader::takeValueTag(std::string_view text, const AdifTagPositions& positions, AdifTag tag,
                              std::string& field) {
  std::size_t position = positions.of(tag);
  if (position == std::string_view::npos) return;
  if (storeAdifValue(tag, readAdifTag(text, position, adifTagName(tag).size()), field) && tag == AdifTag::QsoDate) {
    lastQsoDate_ = field;
  }
}

void AdifReader::takeComment(std::string_view text, const AdifTagPositions& positions) {
  std::size_t position = positions.of(AdifTag::Comment);
  if (position == std::string_view::npos) return;
  AdifTagValue value = readAdifTag(text, position, adifTagName(AdifTag::Comment).size());
  if (!value.lengthRead || !value.closed) return;
  // Unlike other values a comment keeps its inner blanks; one that runs
  // past its line takes the rest of the line.
  comment_.assign("** ");
  comment_.append(value.afterTag.substr(0, value.length));
  upperCaseInPlace(comment_);
}

Status AdifReader::closeRecord() {
  ++contactCount_;
  markProgress(run_.console, contactCount_);
  if (qsoDate_.empty()) qsoDate_ = lastQsoDate_;
  RecordFields fields{qsoDate_, timeOn_, band_, mode_, call_, comment_};
  formatRecordLine(layout_, fields, recordLine_);
  run_.sortColumn = layout_.sortColumn();
  return run_.sink->appendToBucket(call_.empty() ? '\0' : call_.front(), recordLine_);
}

Status AdifReader::finish() {
  if (input_.failed()) return input_.status();
  printCount(run_.console, contactCount_, "processed");
  return Status::ok();
}

}  // namespace

Status readAdifLog(LineReader& input, const Line& firstLine, RunContext& run, AdifStart start) {
  AdifReader reader(input, run);
  return reader.read(firstLine, start);
}

}  // namespace quorvel
