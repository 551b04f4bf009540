#include "readers/adx_reader.h"

#include <expat.h>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <type_traits>

#include "base/ascii.h"
#include "base/bounds.h"
#include "base/console_texts.h"
#include "readers/adx_record.h"
#include "readers/code_page.h"

namespace quorvel {

namespace {

// Records handed to the buckets at once, as the line readers hand a block's.
constexpr long kRecordsPerBatch = 4096;
// Entities declared in a document type may give no more than this many
// bytes of text for each byte of the log, checked once they gave this many.
constexpr float kMostAmplification = 100.0f;
constexpr unsigned long long kAmplificationChecked = 1u << 20;

// Where the parser stands: in the document before its root element, in
// the root ADX, its RECORDS, a RECORD of those, or a field of the record
// that is kept.
enum class Level { Document, Root, Records, Record, Field };

struct FreeParser {
  void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};
using Parser = std::unique_ptr<std::remove_pointer_t<XML_Parser>, FreeParser>;

// What the parser's handlers share.
struct AdxState {
  AdxState(const ReaderSetup& setup, RecordSink& sink, XML_Parser parser)
      : setup(setup), sink(sink), parser(parser), record(setup.layout) {}

  const ReaderSetup& setup;
  RecordSink& sink;
  XML_Parser parser;
  AdxRecord record;
  ContactBatch batch;
  long count = 0;
  Status status = Status::ok();  // a bucket file that could not be written
  Level level = Level::Document;
  int skipped = 0;               // depth within an element that counts for nothing
  std::string* field = nullptr;  // the text of the field being read
  AdifTag fieldTag = AdifTag::Other;
  bool fieldFull = false;     // its text reached kMostValueBytes: the rest is read past
  std::uint64_t cutLine = 0;  // where a field was first cut, 0 for none
  AdifTag cutTag = AdifTag::Other;

  // Hands the batch to the buckets; stops the parser when one fails.
  void deliver() {
    status = deliverBatch(batch, setup.console, sink, count).status;
    batch.clear();
    if (!status.isOk()) XML_StopParser(parser, XML_FALSE);
  }
};

bool named(const XML_Char* name, std::string_view upper) {
  std::string_view text(name);
  return text.size() == upper.size() && startsWithCaseless(text, upper);
}

// The level an element named `name` opens from `state`'s; none when it
// counts for nothing there, and is skipped with all it holds.
std::optional<Level> opened(AdxState& state, const XML_Char* name) {
  switch (state.level) {
    case Level::Document:
      if (named(name, "ADX")) return Level::Root;
      return std::nullopt;
    case Level::Root:
      if (named(name, "RECORDS")) return Level::Records;
      return std::nullopt;
    case Level::Records:
      if (!named(name, "RECORD")) return std::nullopt;
      state.record.open();
      return Level::Record;
    case Level::Record:
      if (AdifTag tag = state.record.wanted(name, XML_GetCurrentLineNumber(state.parser)); tag != AdifTag::Other) {
        state.field = &state.record.textOf(tag);
        state.fieldTag = tag;
        state.fieldFull = false;
        return Level::Field;
      }
      return std::nullopt;
    case Level::Field: break;
  }
  return std::nullopt;
}

void XMLCALL startElement(void* data, const XML_Char* name, const XML_Char**) {
  auto& state = *static_cast<AdxState*>(data);
  const std::optional<Level> level = state.skipped > 0 ? std::nullopt : opened(state, name);
  if (level) {
    state.level = *level;
  } else {
    ++state.skipped;
  }
}

void XMLCALL endElement(void* data, const XML_Char*) {
  auto& state = *static_cast<AdxState*>(data);
  if (state.skipped > 0) {
    --state.skipped;
    return;
  }
  switch (state.level) {
    case Level::Field:
      state.field = nullptr;
      state.level = Level::Record;
      break;
    case Level::Record:
      state.record.close(state.batch);
      if (state.batch.counted() >= kRecordsPerBatch) state.deliver();
      state.level = Level::Records;
      break;
    case Level::Records: state.level = Level::Root; break;
    case Level::Root:
    case Level::Document: state.level = Level::Document; break;
  }
}

void XMLCALL characterData(void* data, const XML_Char* text, int length) {
  auto& state = *static_cast<AdxState*>(data);
  if (state.skipped > 0 || state.field == nullptr || state.fieldFull) return;
  // A field's text is kept up to kMostValueBytes, cut at a character.
  std::string_view piece(text, static_cast<std::size_t>(length));
  const std::size_t room = kMostValueBytes - std::min(kMostValueBytes, state.field->size());
  if (piece.size() > room) {
    piece = piece.substr(0, cutAtCharacter(piece, room));
    state.fieldFull = true;
    if (state.cutLine == 0) {
      state.cutLine = XML_GetCurrentLineNumber(state.parser);
      state.cutTag = state.fieldTag;
    }
  }
  state.field->append(piece);
}

// Gives the parser the code pages it does not know itself but Windows
// programs declare.
int XMLCALL unknownEncoding(void*, const XML_Char* name, XML_Encoding* info) {
  std::array<int, 256> map{};
  if (!codePageMap(name, map)) return XML_STATUS_ERROR;
  std::copy(map.begin(), map.end(), info->map);
  info->data = nullptr;
  info->convert = nullptr;
  info->release = nullptr;
  return XML_STATUS_OK;
}

// A parser for `input`'s bytes. A log decoded from UTF-16 comes as UTF-8,
// whatever its declaration says; any other tells its encoding itself.
Parser makeParser(const LineReader& input) {
  Parser parser(XML_ParserCreate(input.decodedFromUtf16() ? "UTF-8" : nullptr));
  if (!parser) return parser;
  // External entities and document types stay unread: no handler loads
  // them. Entities declared within the log are held to its size.
  XML_SetParamEntityParsing(parser.get(), XML_PARAM_ENTITY_PARSING_NEVER);
  XML_SetBillionLaughsAttackProtectionMaximumAmplification(parser.get(), kMostAmplification);
  XML_SetBillionLaughsAttackProtectionActivationThreshold(parser.get(), kAmplificationChecked);
  XML_SetElementHandler(parser.get(), startElement, endElement);
  XML_SetCharacterDataHandler(parser.get(), characterData);
  XML_SetUnknownEncodingHandler(parser.get(), unknownEncoding, nullptr);
  return parser;
}

std::string faultMessage(const LineReader& input, XML_Parser parser) {
  return "error reading file " + input.name() + " at line " + std::to_string(XML_GetCurrentLineNumber(parser)) + ": " +
         XML_ErrorString(XML_GetErrorCode(parser)) + "; the contacts before it were read\n";
}

}  // namespace

LogReading readAdxLog(LineReader& input, const ReaderSetup& setup, RecordSink& sink) {
  printMessage(setup.console, "\nADX format detected\n");
  printMessage(setup.console, kWritingMessage);
  Parser parser = makeParser(input);
  if (!parser) return {Status::failure("quorvel: out of memory\n"), 0, {}};
  AdxState state(setup, sink, parser.get());
  XML_SetUserData(parser.get(), &state);
  bool wellFormed = true;
  for (bool last = false; !last && wellFormed;) {
    std::string_view bytes = input.nextBytes();
    last = bytes.empty();
    if (last && !input.status().isOk()) return {input.status(), state.count, {}};
    wellFormed = XML_Parse(parser.get(), bytes.data(), static_cast<int>(bytes.size()), last) == XML_STATUS_OK;
  }
  if (!state.status.isOk()) return {state.status, state.count, {}};
  state.deliver();
  if (!state.status.isOk()) return {state.status, state.count, {}};
  if (state.cutLine != 0) {
    input.noteCut(static_cast<std::size_t>(state.cutLine), "the " + std::string(adifTagName(state.cutTag)),
                  kMostValueText);
  }
  if (!wellFormed) return {Status::ok(), state.count, faultMessage(input, parser.get())};
  printCount(setup.console, state.count, "processed");
  return {Status::ok(), state.count, {}};
}

}  // namespace quorvel
