#include "readers/cabrillo_reader.h"

#include <string>

#include "detect/ascii.h"
#include "output/console.h"
#include "output/record_line.h"
#include "readers/cabrillo_contact.h"

namespace quorvel {

namespace {

constexpr std::string_view kSoapbox = "SOAPBOX:";
constexpr std::string_view kContest = "CONTEST:";
constexpr std::string_view kContactMarker = "QSO:";
constexpr std::string_view kEndOfLog = "END-OF-LOG:";

class CabrilloReader {
 public:
  CabrilloReader(LineReader& input, RunContext& run)
      : input_(input), run_(run), layout_(chooseLayout(LayoutSet::Wide, run.options)) {}

  Status read(const Line& firstLine);

 private:
  bool scanHeader();
  void takeContestLine();
  bool nextContactLine();
  Status handOver(long number);

  LineReader& input_;
  RunContext& run_;
  RecordLayout layout_;
  std::string upper_;
  std::string contestName_;
  ContestLayout contestLayout_ = ContestLayout::Standard;
  std::string recordLine_;
};

// Reads header lines up to the first one holding "QSO:", which is left in
// upper_. False when the log ends first.
bool CabrilloReader::scanHeader() {
  Line line;
  for (;;) {
    if (!input_.next(line)) return false;
    upperCaseInto(line.text, upper_);
    if (contains(upper_, kContest)) takeContestLine();
    if (contains(upper_, kContactMarker)) return true;
  }
}

// The last "CONTEST:" line that names a contest decides the layout.
void CabrilloReader::takeContestLine() {
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

// Reads the next line that is not empty into upper_; false at the end.
bool CabrilloReader::nextContactLine() {
  Line line;
  do {
    if (!input_.next(line)) return false;
  } while (line.rawLength() < 2);
  upperCaseInto(line.text, upper_);
  return true;
}

Status CabrilloReader::handOver(long number) {
  CabrilloContact contact;
  switch (parseCabrilloQso(upper_, contestLayout_, contact)) {
    case CabrilloParse::NotContact: return Status::ok();
    case CabrilloParse::Empty: return Status::failure("quorvel: Internal Error - please e-mail log to QZ9ZZ!!\n");
    case CabrilloParse::Contact: break;
  }
  markProgress(run_.console, number);
  formatRecordLine(layout_, {contact.date, contact.time, contact.band, contact.mode, contact.callsign, {}},
                   recordLine_);
  run_.sortColumn = layout_.sortColumn();
  return run_.sink->appendToBucket(contact.callsign.front(), recordLine_);
}

Status CabrilloReader::read(const Line& firstLine) {
  upperCaseInto(firstLine.text, upper_);
  // A soapbox on the first line means no header follows; the line itself
  // is then the first one parsed.
  if (!contains(upper_, kSoapbox) && !scanHeader()) return input_.status();

  printMessage(run_.console, "\nCabrillo format detected\n");
  printMessage(run_.console, kWritingMessage);
  long contactCount = 1;
  if (Status first = handOver(contactCount); !first.isOk()) return first;
  while (nextContactLine()) {
    if (contains(upper_, kEndOfLog)) {
      printCount(run_.console, contactCount, "processed");
      return Status::ok();
    }
    ++contactCount;
    if (Status handed = handOver(contactCount); !handed.isOk()) return handed;
  }
  return input_.status();
}

}  // namespace

Status readCabrilloLog(LineReader& input, const Line& firstLine, RunContext& run) {
  CabrilloReader reader(input, run);
  return reader.read(firstLine);
}

}  // namespace quorvel
