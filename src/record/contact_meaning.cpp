#include "record/contact_meaning.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "base/ascii.h"
#include "radio/band_notation.h"
#include "radio/band_table.h"

namespace quorvel {

namespace {

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

void writeDigits(char* out, int value, int count) {
  for (int i = count - 1; i >= 0; --i, value /= 10) out[i] = static_cast<char>('0' + value % 10);
}

}  // namespace

std::string_view meantDate(const CalendarDate& date, MeaningText& room) {
  writeDigits(room.date, date.year, 4);
  writeDigits(room.date + 4, date.month, 2);
  writeDigits(room.date + 6, date.day, 2);
  return std::string_view(room.date, sizeof room.date);
}

std::string_view meantDate(std::string_view text, DateOrder order, MeaningText& room, bool* settled) {
  const std::optional<DateRead> read = readDate(text, order);
  if (settled != nullptr) {
    *settled = read && (read->notation.orderGuessed || read->notation.order == DateOrder::YearFirst);
  }
  return read ? meantDate(read->date, room) : trimmed(text);
}

std::string_view DateMemo::dateOf(std::string_view text, DateOrder order, bool& settled) {
  // (An empty text may have no bytes to compare at all.)
  const bool same = known_ && order == order_ && text.size() == text_.size() &&
                    (text.empty() || std::memcmp(text.data(), text_.data(), text.size()) == 0);
  if (!same) {
    const std::string_view meant = meantDate(text, order, room_, &settled_);
    read_ = meant.data() == room_.date;
    text_.assign(text);
    order_ = order;
    known_ = true;
  }
  settled = settled_;
  return read_ ? std::string_view(room_.date, sizeof room_.date) : meantDate(text, order, room_);
}

std::string_view meantTime(std::string_view text, MeaningText& room) {
  if (const std::optional<TimeRead> read = readTime(text)) return hoursAndMinutes(read->time, room.time);
  return trimmed(text);
}

int meantBand(std::string_view text) {
  for (std::size_t i = 0; i < kBands.size(); ++i) {
    for (std::string_view whole : kBands[i].wholeTexts) {
      if (!whole.empty() && text == whole) return static_cast<int>(i);
    }
  }
  // A comma is the decimal sign of much of Europe (7,040).
  if (const std::size_t comma = text.find(','); comma != std::string_view::npos) {
    std::string dotted(text);
    dotted[comma] = '.';
    return adifBandIndex(dotted);
  }
  return adifBandIndex(text);
}

BandMemo::Key BandMemo::keyOf(std::string_view text) {
  // Shifted into place byte by byte, in registers: a band text is a few
  // bytes, and numbers read back from bytes just stored a few at a time
  // would wait for the stores to drain.
  Key key;
  const std::size_t low = std::min<std::size_t>(text.size(), 8);
  for (std::size_t i = 0; i < low; ++i) key.low |= std::uint64_t{static_cast<unsigned char>(text[i])} << (8 * i);
  for (std::size_t i = 8; i < text.size(); ++i) {
    key.high |= std::uint64_t{static_cast<unsigned char>(text[i])} << (8 * (i - 8));
  }
  key.size = text.size();
  return key;
}

BandMemo::Bands BandMemo::bandOf(std::string_view text, std::string_view shown) {
  auto read = [text, shown] {
    const int band = meantBand(text);
    return Bands{band, shown == text || meantBand(shown) == band};
  };
  if (text.size() > 15) return read();
  const Key key = keyOf(text);
  // A table open by address: a text's slot is picked by its bytes, and a
  // taken slot passes it on to the next one. A log of more texts than it
  // holds starts it afresh.
  std::size_t slot = static_cast<std::size_t>(((key.low ^ (key.high * 31) ^ key.size) * 0x9E3779B97F4A7C15ULL) >> 58);
  for (; keys_[slot].size != SIZE_MAX; slot = (slot + 1) % keys_.size()) {
    if (keys_[slot] == key) return bands_[slot];
  }
  if (++taken_ > keys_.size() * 3 / 4) {
    keys_.fill(Key{});
    taken_ = 1;
  }
  keys_[slot] = key;
  bands_[slot] = read();
  return bands_[slot];
}

}  // namespace quorvel
