#include "readers/cabrillo_reader.h"

#include <string>

#include "base/ascii.h"
#include "readers/cabrillo_contact.h"
#include "record/console_texts.h"

namespace quorvel {

namespace {

constexpr std::string_view kSoapbox = "SOAPBOX:";
constexpr std::string_view kContest = "CONTEST:";
constexpr std::string_view kContactMarker = "QSO:";
constexpr std::string_view kEndOfLog = "END-OF-LOG:";

// The contact lines of a Cabrillo log, from the first one on: every line
// that is not empty is counted, up to "END-OF-LOG:", and each "QSO:" line
// with a callsign gives a record line. Nothing carries from line to line.
class CabrilloBody : public IndependentLines<CabrilloBody> {
 public:
  CabrilloBody() = default;
  CabrilloBody(RecordLayout layout, ContestLayout contestLayout) : layout_(layout), contestLayout_(contestLayout) {}

  void readLine(const Line& line, ContactBatch& batch) {
    if (line.rawLength() < 2) return;
    upperCaseInto(line.text, upper_);
    if (contains(upper_, kEndOfLog)) {
      batch.finish();
      return;
    }
    readContactLine(upper_, batch);
  }
  // Counts one upper-cased contact line and keeps its record line.
  void readContactLine(std::string_view upperLine, ContactBatch& batch);

 private:
  RecordLayout layout_;
  ContestLayout contestLayout_;
  std::string upper_;
};

void CabrilloBody::readContactLine(std::string_view upperLine, ContactBatch& batch) {
  CabrilloContact contact;
  switch (parseCabrilloQso(upperLine, contestLayout_, contact)) {
    case CabrilloParse::NotContact: batch.count(); return;
    case CabrilloParse::Empty:
      batch.fail(Status::failure("quorvel: Internal Error - please e-mail log to QZ9ZZ!!\n"));
      return;
    case CabrilloParse::Contact: break;
  }
  batch.add(layout_, {contact.date, contact.time, contact.band, contact.mode, contact.callsign, {}});
}

// The header, read line by line up to the first line holding "QSO:". The
// last "CONTEST:" line that names a contest decides the layout.
class CabrilloHeader {
 public:
  // Reads header lines up to the first one holding "QSO:", which is left
  // in upperLine(). False when the log ends first.
  bool scan(LineReader& input);
  // Starts from the log's first line.
  void start(std::string_view text);
  std::string_view upperLine() const { return upper_; }
  ContestLayout contestLayout() const { return contestLayout_; }

 private:
  void readContestLine();

  std::string upper_;
  std::string contestName_;
  ContestLayout contestLayout_;
};

void CabrilloHeader::start(std::string_view text) { upperCaseInto(text, upper_); }

bool CabrilloHeader::scan(LineReader& input) {
  Line line;
  for (;;) {
    if (!input.next(line)) return false;
    upperCaseInto(line.text, upper_);
    if (contains(upper_, kContest)) readContestLine();
    if (contains(upper_, kContactMarker)) return true;
  }
}

void CabrilloHeader::readContestLine() {
  std::string_view text = upper_;
  if (text.substr(0, kContest.size()) == kContest) {
    std::size_t start = kContest.size();
    while (start < text.size() && isScanSpace(static_cast<unsigned char>(text[start]))) ++start;
    std::size_t end = start;
    while (end < text.size() && !isScanSpace(static_cast<unsigned char>(text[end]))) ++end;
    if (end > start) contestName_.assign(text.substr(start, end - start));
  }
  contestLayout_ = contestLayoutFor(contestName_);
}

}  // namespace

ReadOutcome readCabrilloLog(LineReader& input, const Line& firstLine, const ReaderSetup& setup, RecordSink& sink) {
  CabrilloHeader header;
  header.start(firstLine.text);
  // A soapbox on the first line means no header follows; the line itself
  // is then the first one parsed.
  if (!contains(header.upperLine(), kSoapbox) && !header.scan(input)) return {input.status(), 0};

  printMessage(setup.console, "\nCabrillo format detected\n");
  printMessage(setup.console, kWritingMessage);
  CabrilloBody body(setup.layout, header.contestLayout());
  ContactBatch batch;
  body.readContactLine(header.upperLine(), batch);
  long count = 0;
  BodyEnd end = deliverBatch(batch, setup.console, sink, count);
  if (end.status.isOk() && !end.finished) end = readBody(input, body, setup, sink, count);
  if (!end.status.isOk()) return {end.status, count};
  // A log that ends without "END-OF-LOG:" prints no count.
  if (end.finished) printCount(setup.console, count, "processed");
  return {Status::ok(), count};
}

}  // namespace quorvel
