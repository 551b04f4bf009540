#include "driver/read_log.h"

#include <string>

#include "detect/ascii.h"
#include "detect/screen_line.h"
#include "driver/adif_probe.h"
#include "readers/adif_reader.h"
#include "readers/cabrillo_reader.h"
#include "readers/column_reader.h"

namespace quorvel {

namespace {

Status dispatch(ScreenResult kind, LineReader& input, const Line& firstLine, RunContext& run) {
  switch (kind) {
    case ScreenResult::Adif: return readAdifLog(input, firstLine, run);
    case ScreenResult::Cabrillo: return readCabrilloLog(input, firstLine, run);
    case ScreenResult::Data:
    case ScreenResult::Reject: break;
  }
  return readColumnLog(input, firstLine, run);
}

// Hands an ADIF log that the start of the file gave away to the ADIF reader,
// from its first line that is not empty.
Status readProbedAdif(LineReader& input, RunContext& run, AdifStart start, bool& accepted) {
  Line line;
  while (input.next(line)) {
    if (line.rawLength() < 2) continue;
    accepted = true;
    return readAdifLog(input, line, run, start);
  }
  return input.status();
}

}  // namespace

Status readLog(LineReader& input, RunContext& run, bool& accepted) {
  switch (probeAdif(input.peek(kAdifProbeSize))) {
    case AdifProbe::WithHeader: return readProbedAdif(input, run, AdifStart::AtHeader, accepted);
    case AdifProbe::Headerless: return readProbedAdif(input, run, AdifStart::AtRecords, accepted);
    case AdifProbe::NotAdif: break;
  }
  Line line;
  std::string upper;
  while (input.next(line)) {
    upperCaseInto(line.text, upper);
    ScreenResult kind = screenLine(upper);
    if (kind == ScreenResult::Reject) continue;
    accepted = true;
    return dispatch(kind, input, line, run);
  }
  return input.status();
}

}  // namespace quorvel
