#include "readers/cabrillo_reader.h"

#include <cstdint>
#include <string>
#include <utility>

#include "base/ascii.h"
#include "base/console_texts.h"
#include "readers/cabrillo_contact.h"
#include "readers/line_tally.h"

namespace quorvel {

namespace {

constexpr std::string_view kSoapbox = "SOAPBOX:";
constexpr std::string_view kContest = "CONTEST:";
constexpr std::string_view kStartOfLog = "START-OF-LOG:";
constexpr std::string_view kEndOfLog = "END-OF-LOG:";

// The contest a log's header names: the last "CONTEST:" line that names
// one decides the layout of its "QSO:" lines.
struct CabrilloContest {
  std::string name;
  ContestLayout layout;

  // Takes an upper-cased header line that holds "CONTEST:".
  void readContestLine(std::string_view upperLine) {
    if (upperLine.starts_with(kContest)) {
      std::size_t start = kContest.size();
      while (start < upperLine.size() && isScanSpace(static_cast<unsigned char>(upperLine[start]))) ++start;
      std::size_t end = start;
      while (end < upperLine.size() && !isScanSpace(static_cast<unsigned char>(upperLine[end]))) ++end;
      if (end > start) name.assign(upperLine.substr(start, end - start));
    }
    layout = contestLayoutFor(name);
  }
  // Takes any upper-cased header line.
  void readHeaderLine(std::string_view upperLine) {
    if (contains(upperLine, kContest)) readContestLine(upperLine);
  }
  bool operator==(const CabrilloContest&) const = default;
};

// Where a CabrilloBody stands: among a log's contact lines, after its
// "END-OF-LOG:", or in the header of a further log pasted behind it.
enum class CabrilloPhase : std::uint8_t { Contacts, BetweenLogs, Header };

// The contact lines of a Cabrillo file, from the first one on. Each "QSO:"
// (or "X-QSO:") line is a contact and gives a record line; other lines
// count for nothing. "END-OF-LOG:" ends a log; another "START-OF-LOG:"
// after it starts the next, whose header names its contest anew.
class CabrilloBody {
 public:
  CabrilloBody() = default;
  CabrilloBody(RecordLayout layout, CabrilloContest contest, std::size_t linesBefore)
      : layout_(layout), contest_(std::move(contest)), startContest_(contest_), lines_(linesBefore) {}

  void readLine(const Line& line, ContactBatch& batch);
  // The first "QSO:" line with nothing after it, which was skipped; 0 for
  // none.
  std::size_t emptyContactLine() const { return lines_.marked(); }

  // A block's copy assumes it starts among the contact lines of a log of
  // the same contest.
  CabrilloBody atBlockStart() const { return CabrilloBody(layout_, contest_, 0); }
  bool readsOnFrom(const CabrilloBody& before) const {
    return before.phase_ == CabrilloPhase::Contacts && before.contest_ == startContest_;
  }
  void carryOver(const CabrilloBody& before) { lines_.carryOver(before.lines_); }
  static bool cutsAfter(std::string_view) { return true; }
  void detach() {}
  void endInput(ContactBatch&) {}

 private:
  void readContactLine(std::string_view upperLine, ContactBatch& batch);

  RecordLayout layout_;
  CabrilloContest contest_;
  BandMemo bands_;
  CabrilloContest startContest_;  // the contest it started in
  CabrilloPhase phase_ = CabrilloPhase::Contacts;
  LineTally lines_;
  std::string upper_;
};

void CabrilloBody::readLine(const Line& line, ContactBatch& batch) {
  lines_.read(line.endsWithNewline);
  if (line.rawLength() < 2) return;
  upperCaseInto(line.text, upper_);
  switch (phase_) {
    case CabrilloPhase::Contacts:
      if (contains(upper_, kEndOfLog)) {
        phase_ = CabrilloPhase::BetweenLogs;
        return;
      }
      readContactLine(upper_, batch);
      return;
    case CabrilloPhase::BetweenLogs:
      if (!contains(upper_, kStartOfLog)) return;
      phase_ = CabrilloPhase::Header;
      contest_ = {};
      return;
    case CabrilloPhase::Header:
      contest_.readHeaderLine(upper_);
      if (!isContactLine(upper_)) return;
      phase_ = CabrilloPhase::Contacts;
      readContactLine(upper_, batch);
      return;
  }
}

void CabrilloBody::readContactLine(std::string_view upperLine, ContactBatch& batch) {
  CabrilloContact contact;
  switch (parseCabrilloQso(upperLine, contest_.layout, contact)) {
    case CabrilloParse::NotContact: return;
    case CabrilloParse::Empty: lines_.mark(); return;
    case CabrilloParse::Contact: break;
  }
  const RecordFields fields{
      contact.date, contact.time, contact.band, shownMode(contact.mode, {}), contact.callsign, {}};
  ContactMeaning meaning;
  MeaningText room;
  if (layout_.meanings != Meanings::None) {
    // The band token is a frequency in kHz, or a band as VHF contests write
    // it (50, 144, 1.2G); a value the line lacks is a field of blanks. Its
    // dates (2024-11-23) leave no order in doubt.
    meaning.bandSaid = true;  // the list shows the band token as it stands
    meaning.submode = lostModeName(contact.mode, {});
    if (layout_.meanings == Meanings::ForPage) {
      meaning.band = bands_.bandOf(contact.band);
      meaning.date = meantDate(contact.date, DateOrder::Unknown, room);
      meaning.time = meantTime(contact.time, room);
    }
  }
  batch.add(layout_, fields, meaning);
}

// Reads header lines up to the first contact line, which is left in
// `line`; `number`, the number of the line before, goes on to that line's.
// False when the log ends first.
bool scanHeader(LineReader& input, CabrilloContest& contest, Line& line, std::size_t& number) {
  std::string upper;
  for (;;) {
    number += line.endsWithNewline ? 1 : 0;
    if (!input.next(line)) return false;
    upperCaseInto(line.text, upper);
    contest.readHeaderLine(upper);
    if (isContactLine(upper)) return true;
  }
}

}  // namespace

LogReading readCabrilloLog(LineReader& input, const Line& firstLine, std::size_t firstLineNumber,
                           const ReaderSetup& setup, RecordSink& sink) {
  CabrilloContest contest;
  Line line = firstLine;
  std::size_t number = firstLineNumber - 1;  // ended lines before `line`
  // A soapbox on the first line means no header follows; the line itself
  // is then the first one parsed.
  if (findCaseless(firstLine.text, kSoapbox) == std::string_view::npos && !scanHeader(input, contest, line, number)) {
    return {input.status(), 0, {}};
  }
  printMessage(setup.console, "\nCabrillo format detected\n");
  printMessage(setup.console, kWritingMessage);
  CabrilloBody body(setup.layout, std::move(contest), number);
  ContactBatch batch;
  body.readLine(line, batch);
  long count = 0;
  BodyEnd end = deliverBatch(batch, setup.console, sink, count);
  if (end.status.isOk()) end = readBody(input, body, setup, sink, count);
  if (!end.status.isOk()) return {end.status, count, {}};
  printCount(setup.console, count, "processed");
  if (body.emptyContactLine() == 0) return {Status::ok(), count, {}};
  return {Status::ok(), count,
          "quorvel: Internal Error - empty QSO: line in file " + input.name() + " at line " +
              std::to_string(body.emptyContactLine()) + " skipped; the rest of the log was read\n"};
}

}  // namespace quorvel
