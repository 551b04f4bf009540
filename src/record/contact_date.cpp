#include "record/contact_date.h"

#include <array>
#include <vector>

#include "base/ascii.h"

namespace quorvel {

namespace {

constexpr std::array<std::string_view, 12> kMonths = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                      "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

bool allDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!isAsciiDigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

int numberOf(std::string_view digits) {
  int value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return value;
}

// 1 to 12 for a month's English name or its first three letters or more.
int monthNamed(std::string_view name) {
  if (name.size() < 3) return 0;
  std::string upper;
  upperCaseInto(name, upper);
  for (std::size_t i = 0; i < kMonths.size(); ++i) {
    if (upper.compare(0, 3, kMonths[i]) == 0) return static_cast<int>(i) + 1;
  }
  return 0;
}

std::string written(int year, int month, int day) {
  if (month < 1 || month > 12 || day < 1 || day > 31 || year < 0 || year > 9999) return {};
  std::string date(8, '0');
  for (int i = 3, y = year; i >= 0; --i, y /= 10) date[static_cast<std::size_t>(i)] = static_cast<char>('0' + y % 10);
  date[4] = static_cast<char>('0' + month / 10);
  date[5] = static_cast<char>('0' + month % 10);
  date[6] = static_cast<char>('0' + day / 10);
  date[7] = static_cast<char>('0' + day % 10);
  return date;
}

int fullYear(std::string_view digits) {
  const int year = numberOf(digits);
  if (digits.size() != 2) return year;
  return year < 50 ? 2000 + year : 1900 + year;
}

std::vector<std::string_view> partsOf(std::string_view text, char& separator) {
  std::vector<std::string_view> parts;
  separator = 0;
  std::size_t begin = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '-' && text[i] != '.' && text[i] != '/' && text[i] != ' ') continue;
    if (i < text.size()) {
      if (separator != 0 && separator != text[i]) return {};
      separator = text[i];
    }
    parts.push_back(text.substr(begin, i - begin));
    begin = i + 1;
  }
  return parts;
}

// Day and month from two parts, the year given by the third.
std::string fromDayAndMonth(std::string_view first, std::string_view second, int year, char separator) {
  if (int month = monthNamed(second); month > 0 && allDigits(first)) return written(year, month, numberOf(first));
  if (int month = monthNamed(first); month > 0 && allDigits(second)) return written(year, month, numberOf(second));
  if (!allDigits(first) || !allDigits(second) || first.size() > 2 || second.size() > 2) return {};
  const int a = numberOf(first), b = numberOf(second);
  const bool monthFirst = b > 12 || (a <= 12 && separator == '/');
  return monthFirst ? written(year, a, b) : written(year, b, a);
}

}  // namespace

std::string sortableDate(std::string_view text) {
  if (text.size() == 8 && allDigits(text)) {
    return written(numberOf(text.substr(0, 4)), numberOf(text.substr(4, 2)), numberOf(text.substr(6, 2)));
  }
  char separator = 0;
  const std::vector<std::string_view> parts = partsOf(text, separator);
  if (parts.size() != 3) return {};
  if (parts[0].size() == 4 && allDigits(parts[0])) {
    if (!allDigits(parts[2]) || parts[2].size() > 2) return {};
    const int month = allDigits(parts[1]) && parts[1].size() <= 2 ? numberOf(parts[1]) : monthNamed(parts[1]);
    return written(numberOf(parts[0]), month, numberOf(parts[2]));
  }
  if (!allDigits(parts[2]) || (parts[2].size() != 4 && parts[2].size() != 2)) return {};
  return fromDayAndMonth(parts[0], parts[1], fullYear(parts[2]), separator);
}

}  // namespace quorvel
