#include "page/lookup_page.h"

#include <map>
#include <optional>
#include <vector>

#include "base/files.h"
#include "base/sha256.h"
#include "output/bucket_names.h"
#include "page/json_text.h"
#include "page/log_overview.h"
#include "page/lookup_page_files.h"
#include "page/script_order.h"
#include "record/bucket_line.h"
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
  // empty. Its lines are bucket lines (a page file), or a list's.
  bool writeList(const std::string& path);
  // {"band text": index into kAdifBandNames or -1, ...}: a band text that
  // stands for two bands in the lists is two keys, the second the text, a
  // U+0001 and the band's index.
  std::string bandsJson() const;
  // [true or false for each list written: whether its records stand in
  // the order of their callsigns, as the page's script compares them]
  std::string sortedJson() const { return sorted_ + "]"; }
  const LogOverview& overview() const { return overview_; }

 private:
  void writeLine(std::string_view line);
  void writeCarried(const BucketLine& line, const CarriedMeaning& carried);
  void writeReadBack(std::string_view line);
  void writeRaw(std::string_view line);
  void writeField(std::string_view field);
  std::string_view bandKey(std::string_view text, int band);
  void followOrder(std::string_view callsign);

  PageFile& page_;
  const RecordLayout& layout_;
  LogOverview overview_;
  std::map<std::string, int, std::less<>> bands_;  // by text: the page stays the same
  std::string block_, line_, key_;
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

// Lines sorted as whole lines (by a run that wrote no line of its own)
// may leave a list out of callsign order; so may bytes past ASCII.
void RecordWriter::followOrder(std::string_view callsign) {
  inOrder_ = inOrder_ && keepsScriptOrder(lastCallsign_, callsign);
  lastCallsign_.assign(callsign);
}

std::string_view RecordWriter::bandKey(std::string_view text, int band) {
  const auto known = bands_.find(text);
  if (known == bands_.end()) {
    bands_.emplace(std::string(text), band);
    return text;
  }
  if (known->second == band) return text;
  key_.assign(text).append(1, '\x01').append(std::to_string(band));
  bands_.emplace(key_, band);
  return key_;
}

void RecordWriter::writeLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.find_first_not_of(' ') == std::string_view::npos) return;
  if (!first_) page_.buffer() += "\\n";
  first_ = false;
  const BucketLine bucketLine = readBucketLine(line);
  if (const std::optional<CarriedMeaning> carried = carriedMeaning(bucketLine)) {
    const std::string_view text = bucketLine.text;
    const std::size_t end = std::min(text.find(' ', bucketLine.callsignAt), text.size());
    if (text.substr(bucketLine.callsignAt, end - bucketLine.callsignAt).find('\t') == std::string_view::npos) {
      writeCarried(bucketLine, *carried);
      return;
    }
  }
  writeReadBack(bucketLine.text);
}

// A line the run wrote: its record as its reader understood the contact.
void RecordWriter::writeCarried(const BucketLine& line, const CarriedMeaning& carried) {
  const std::string_view text = line.text;
  const std::size_t end = std::min(text.find(' ', line.callsignAt), text.size());
  const std::string_view callsign = text.substr(line.callsignAt, end - line.callsignAt);
  std::string_view comment = end < text.size() ? text.substr(end + 1) : std::string_view();
  if (comment.starts_with(kCommentMark)) comment.remove_prefix(kCommentMark.size());
  const ContactMeaning& meaning = carried.meaning;
  followOrder(callsign);
  writeField(callsign);
  std::string& out = page_.buffer();
  for (std::string_view field : {meaning.date, meaning.time, bandKey(carried.bandText, meaning.band), carried.mode}) {
    out += "\\t";
    writeField(field);
  }
  if (!comment.empty()) {
    out += "\\t";
    writeField(comment);
  }
  const bool dated = meaning.date.size() == 8 && !sortableDate(meaning.date).empty();
  overview_.addContact(meaning.band, carried.mode, dated ? meaning.date : std::string_view(), callsign);
}

// A line an earlier run of another kind left in a bucket: split by the
// layout of this run's lines, as well as its text tells.
void RecordWriter::writeReadBack(std::string_view line) {
  std::optional<RecordFields> fields = parseRecordLine(line, layout_);
  // A tab parts the fields on the page: a field holding one is no field.
  if (!fields || fields->date.find('\t') != std::string_view::npos ||
      fields->time.find('\t') != std::string_view::npos || fields->band.find('\t') != std::string_view::npos ||
      fields->mode.find('\t') != std::string_view::npos || fields->callsign.find('\t') != std::string_view::npos) {
    writeRaw(line);
    return;
  }
  const std::string date = sortableDate(fields->date);
  followOrder(fields->callsign);
  writeField(fields->callsign);
  std::string& out = page_.buffer();
  const int band = adifBandIndex(fields->band);
  for (std::string_view field : {date.empty() ? fields->date : std::string_view(date), fields->time,
                                 bandKey(fields->band, band), fields->mode}) {
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
  overview_.addContact(band, fields->mode, date, fields->callsign);
}

// A line that cannot be split: its callsign, and the line whole.
void RecordWriter::writeRaw(std::string_view line) {
  std::string_view callsign = callsignAtColumn(line, layout_.sortColumn());
  callsign = callsign.substr(0, callsign.find('\t'));
  followOrder(callsign);
  writeField(callsign);
  page_.buffer() += "\\t\\u0001";
  writeField(line);
  overview_.addLeftover(callsign);
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

std::string listNamesJson(const RunFolder& folder) {
  std::vector<std::string> names;
  for (char bucket : kBucketCharacters) names.push_back(folder.listName(bucket));
  return namesJson(std::vector<std::string_view>(names.begin(), names.end()));
}

}  // namespace

Status writeLookupPage(const RunFolder& folder, const RecordLayout& layout) {
  const std::pair<std::string, std::string> around = pageAroundData();  // the page before and after its data
  std::optional<WholeFileFailure> failed = folder.writeWhole(folder.pageName(), [&](const std::string& passingPath) {
    PageFile page(createNew(passingPath));
    RecordWriter records(page, layout);
    bool written = page.write(around.first) &&
                   page.write("{\"names\":" + listNamesJson(folder) +
                              ",\"comment\":" + (layout.withComment ? "true" : "false") + ",\"bands\":" +
                              namesJson(std::vector<std::string_view>(kAdifBandNames.begin(), kAdifBandNames.end())) +
                              ",\"lists\":[");
    for (std::size_t i = 0; written && i < kBucketCharacters.size(); ++i) {
      // The sort stage left each list's lines with what they carry in its
      // page file; a list it could not sort has none, and shows as it stands.
      const std::string pagePath = folder.path(folder.pageLinesName(kBucketCharacters[i]));
      const std::string listPath = folder.path(folder.listName(kBucketCharacters[i]));
      written = (i == 0 || page.write(",")) && records.writeList(sizeOf(pagePath) >= 0 ? pagePath : listPath);
    }
    for (char bucket : kBucketCharacters) (void)removeFile(folder.path(folder.pageLinesName(bucket)));
    return written &&
           page.write("],\"sorted\":" + records.sortedJson() + ",\"bandOf\":" + records.bandsJson() +
                      ",\"overview\":" + records.overview().json() + "}") &&
           page.write(around.second) && page.close();
  });
  return failed ? folder.failure("create", folder.pageName(), failed->error) : Status::ok();
}

}  // namespace quorvel
