#include "page/lookup_page.h"

#include <map>
#include <optional>
#include <vector>

#include "base/file_failure.h"
#include "base/files.h"
#include "base/sha256.h"
#include "output/bucket_names.h"
#include "page/json_text.h"
#include "page/log_overview.h"
#include "page/lookup_page_files.h"
#include "page/script_order.h"
#include "record/contact_date.h"
#include "record/record_line.h"

namespace quorvel {

namespace {

constexpr std::size_t kBlock = 256 * 1024;

std::string cspHash(std::string_view text) {
  const auto digest = sha256(text);
  return "sha256-" + base64(std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size()));
}

void replaceOnce(std::string& text, std::string_view placeholder, std::string_view by) {
  text.replace(text.find(placeholder), placeholder.size(), by);
}

// The page's HTML around its data: what comes before the data and after
// it, the style and script in their places and their hashes in the policy.
std::pair<std::string, std::string> pageAroundData() {
  std::string html(lookupPageHtml());
  replaceOnce(html, "{{script-hash}}", cspHash(lookupPageScript()));
  replaceOnce(html, "{{style-hash}}", cspHash(lookupPageStyle()));
  replaceOnce(html, "{{style}}", lookupPageStyle());
  replaceOnce(html, "{{script}}", lookupPageScript());
  const std::size_t data = html.find("{{data}}");
  return {html.substr(0, data), html.substr(data + 8)};
}

// The page's file, written through a buffer.
class PageFile {
 public:
  explicit PageFile(File file) : file_(std::move(file)) {}
  std::string& buffer() { return buffer_; }
  bool write(std::string_view text) {
    buffer_.append(text);
    return drain();
  }
  // Writes the buffer once it is large.
  bool drain() {
    if (buffer_.size() < kBlock) return ok_;
    ok_ = ok_ && writeFully(file_, buffer_);
    buffer_.clear();
    return ok_;
  }
  bool close() { return ok_ && writeFully(file_, buffer_) && file_.close(); }

 private:
  File file_;
  std::string buffer_;
  bool ok_ = true;
};

// Writes each list line as the page's record of its contact, counting the
// log for the overview as it goes.
class RecordWriter {
 public:
  RecordWriter(PageFile& page, const RecordLayout& layout) : page_(page), layout_(layout) {}

  // Writes the list at `path` as a JSON string; a list that is missing is
  // empty.
  bool writeList(const std::string& path);
  // {"raw band text": index into kAdifBandNames or -1, ...}
  std::string bandsJson() const;
  // [true or false for each list written: whether its records stand in
  // the order of their callsigns, as the page's script compares them]
  std::string sortedJson() const { return sorted_ + "]"; }
  const LogOverview& overview() const { return overview_; }

 private:
  void writeLine(std::string_view line);
  void writeField(std::string_view field);
  int bandIndex(std::string_view band);
  void followOrder(std::string_view callsign);

  PageFile& page_;
  const RecordLayout& layout_;
  LogOverview overview_;
  std::map<std::string, int, std::less<>> bands_;  // by text: the page stays the same
  std::string block_, line_;
  bool first_ = true;
  std::string lastCallsign_, sorted_ = "[";
  bool inOrder_ = true;
};

bool RecordWriter::writeList(const std::string& path) {
  page_.write("\"");
  File list = openForReading(path);
  block_.resize(kBlock);
  first_ = true;
  line_.clear();
  lastCallsign_.clear();
  inOrder_ = true;
  for (std::int64_t got; list.isOpen() && (got = readSome(list, block_.data(), block_.size())) != 0;) {
    if (got < 0) return false;
    std::string_view rest(block_.data(), static_cast<std::size_t>(got));
    for (std::size_t end; (end = rest.find('\n')) != std::string_view::npos; rest.remove_prefix(end + 1)) {
      if (line_.empty()) {
        writeLine(rest.substr(0, end));
      } else {
        writeLine(line_.append(rest.substr(0, end)));
        line_.clear();
      }
    }
    line_.append(rest);
    if (!page_.drain()) return false;
  }
  writeLine(line_);
  overview_.endList();
  sorted_ += std::string(sorted_.size() > 1 ? "," : "") + (inOrder_ ? "true" : "false");
  return page_.write("\"");
}

void RecordWriter::writeField(std::string_view field) {
  JsonTextWriter text(page_.buffer());
  text.write(field);
  text.finish();
}

int RecordWriter::bandIndex(std::string_view band) {
  auto known = bands_.find(band);
  if (known == bands_.end()) known = bands_.emplace(std::string(band), adifBandIndex(band)).first;
  return known->second;
}

// Lines sorted as whole lines (by a run that wrote no line of its own)
// may leave a list out of callsign order; so may bytes past ASCII.
void RecordWriter::followOrder(std::string_view callsign) {
  inOrder_ = inOrder_ && keepsScriptOrder(lastCallsign_, callsign);
  lastCallsign_.assign(callsign);
}

void RecordWriter::writeLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.find_first_not_of(' ') == std::string_view::npos) return;
  std::string& out = page_.buffer();
  if (!first_) out += "\\n";
  first_ = false;
  std::optional<RecordFields> fields = parseRecordLine(line, layout_);
  // A tab parts the fields on the page: a field holding one is no field.
  if (fields &&
      (fields->date.find('\t') != std::string_view::npos || fields->time.find('\t') != std::string_view::npos ||
       fields->band.find('\t') != std::string_view::npos || fields->mode.find('\t') != std::string_view::npos ||
       fields->callsign.find('\t') != std::string_view::npos)) {
    fields.reset();
  }
  if (!fields) {
    std::string_view callsign = callsignAtColumn(line, layout_.sortColumn());
    callsign = callsign.substr(0, callsign.find('\t'));
    followOrder(callsign);
    writeField(callsign);
    out += "\\t\\u0001";
    writeField(line);
    overview_.addLeftover(callsign);
    return;
  }
  const std::string date = sortableDate(fields->date);
  followOrder(fields->callsign);
  writeField(fields->callsign);
  for (std::string_view field :
       {date.empty() ? fields->date : std::string_view(date), fields->time, fields->band, fields->mode}) {
    out += "\\t";
    writeField(field);
  }
  // The ADIF readers mark a comment in the list; on the page it stands in
  // a column of its own.
  std::string_view comment = fields->comment;
  if (comment.starts_with(kCommentMark)) comment.remove_prefix(kCommentMark.size());
  if (!comment.empty()) {
    out += "\\t";
    writeField(comment);
  }
  overview_.addContact(bandIndex(fields->band), fields->mode, date, fields->callsign);
}

std::string RecordWriter::bandsJson() const {
  std::string out = "{";
  for (const auto& [text, index] : bands_) {
    if (out.size() > 1) out += ',';
    appendJsonString(out, text);
    out += ':' + std::to_string(index);
  }
  return out + "}";
}

std::string namesJson(const std::vector<std::string_view>& names) {
  std::string out = "[";
  for (std::string_view name : names) {
    if (out.size() > 1) out += ',';
    appendJsonString(out, name);
  }
  return out + "]";
}

std::string listNamesJson(bool lowerCaseNames) {
  std::vector<std::string> names;
  for (char bucket : kBucketCharacters) names.push_back(sortedFileName(bucket, lowerCaseNames));
  return namesJson(std::vector<std::string_view>(names.begin(), names.end()));
}

}  // namespace

std::string lookupPageName(bool lowerCaseNames) { return lowerCaseNames ? "lookup.htm" : "LOOKUP.HTM"; }

Status writeLookupPage(const std::string& directory, bool lowerCaseNames, const RecordLayout& layout) {
  const std::string name = lookupPageName(lowerCaseNames);
  const std::string partPath = directory + name + ".part";
  const auto [beforeData, afterData] = pageAroundData();
  PageFile page(createNew(partPath));
  RecordWriter records(page, layout);
  bool written = page.write(beforeData) &&
                 page.write("{\"names\":" + listNamesJson(lowerCaseNames) +
                            ",\"comment\":" + (layout.withComment ? "true" : "false") + ",\"bands\":" +
                            namesJson(std::vector<std::string_view>(kAdifBandNames.begin(), kAdifBandNames.end())) +
                            ",\"lists\":[");
  for (std::size_t i = 0; written && i < kBucketCharacters.size(); ++i) {
    written = (i == 0 || page.write(",")) &&
              records.writeList(directory + sortedFileName(kBucketCharacters[i], lowerCaseNames));
  }
  written = written &&
            page.write("],\"sorted\":" + records.sortedJson() + ",\"bandOf\":" + records.bandsJson() +
                       ",\"overview\":" + records.overview().json() + "}") &&
            page.write(afterData) && page.close();
  if (!written || !replaceFile(partPath, directory + name)) {
    const SystemError error = lastSystemError();
    (void)removeFile(partPath);
    return fileFailure("create", directory, name, error);
  }
  return Status::ok();
}

}  // namespace quorvel
