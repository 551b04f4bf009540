#include "readers/edi_reader.h"

#include <charconv>
#include <string>

#include "base/ascii.h"
#include "base/console_texts.h"
#include "readers/edi_contact.h"

namespace quorvel {

namespace {

constexpr std::string_view kBandKey = "PBAND=";
constexpr std::string_view kRecords = "[QSORECORDS";

// What the header says: the band and the number of contacts the
// [QSORecords;N] line declares (-1 for none).
struct EdiHeader {
  int band = -1;
  long declared = -1;
};

// The contact lines of a REG1TEST log: each stands on its own.
class EdiBody : public IndependentLines<EdiBody> {
 public:
  EdiBody() = default;
  EdiBody(RecordLayout layout, int band) : layout_(layout), band_(band) {}

  void readLine(const Line& line, ContactBatch& batch) {
    upperCaseInto(line.text, upper_);
    if (!parseEdiContact(upper_, contact_)) return;
    const std::string_view bandText = ediBandText(band_);
    const RecordFields fields{contact_.date, contact_.time, bandText, contact_.mode, contact_.callsign, {}};
    ContactMeaning meaning;
    if (layout_.meanings != Meanings::None) {
      // The band field names the log's band; its dates are YYYYMMDD and its
      // times HHMM in UTC as they stand.
      meaning.bandSaid = true;
      if (layout_.meanings == Meanings::ForPage) {
        meaning.band = band_;
        meaning.date = contact_.date;
        meaning.time = contact_.time;
      }
    }
    batch.add(layout_, fields, meaning);
  }

 private:
  RecordLayout layout_;
  int band_ = -1;
  EdiContact contact_;
  std::string upper_;
};

// Reads the header lines up to "[QSORecords;N]". False when the log ends
// first.
bool readHeader(LineReader& input, EdiHeader& header) {
  Line line;
  std::string upper;
  while (input.next(line)) {
    upperCaseInto(line.text, upper);
    if (upper.starts_with(kBandKey)) header.band = ediBandIndex(std::string_view(upper).substr(kBandKey.size()));
    if (upper.starts_with(kRecords)) {
      const std::size_t semicolon = upper.find(';');
      const std::size_t close = upper.find(']');
      long declared = -1;
      if (semicolon < close && close != std::string::npos) {
        const auto [end, error] = std::from_chars(upper.data() + semicolon + 1, upper.data() + close, declared);
        if (error != std::errc() || end != upper.data() + close) declared = -1;
      }
      header.declared = declared;
      return true;
    }
  }
  return false;
}

}  // namespace

LogReading readEdiLog(LineReader& input, const ReaderSetup& setup, RecordSink& sink) {
  printMessage(setup.console, "\nREG1TEST format detected\n");
  EdiHeader header;
  printMessage(setup.console, kWritingMessage);
  long count = 0;
  if (readHeader(input, header)) {
    EdiBody body(setup.layout, header.band);
    const BodyEnd end = readBody(input, body, setup, sink, count);
    if (!end.status.isOk()) return {end.status, count, {}};
  } else if (!input.status().isOk()) {
    return {input.status(), count, {}};
  }
  printCount(setup.console, count, "processed");
  if (header.declared >= 0 && header.declared != count) {
    printMessage(setup.console, "file " + input.name() + " says it holds " + std::to_string(header.declared) +
                                    " contacts ([QSORecords;" + std::to_string(header.declared) + "]); " +
                                    std::to_string(count) + " were read\n");
  }
  return {Status::ok(), count, {}};
}

}  // namespace quorvel
