// Text logs: the probes of a log's start, the row cutter and row test, column
// assignment and header rows.
#include <gtest/gtest.h>

#include "base/ascii.h"
#include "detect/adx_probe.h"
#include "detect/assign_column.h"
#include "detect/edi_probe.h"
#include "detect/header_row.h"
#include "detect/no_log_probe.h"
#include "detect/row_kind.h"
#include "detect/space_tokens.h"
#include "detect/text_row.h"

namespace quorvel {
namespace {

RowKind kindOf(std::string_view line, char separator = ' ') {
  std::string upper;
  upperCaseInto(line, upper);
  std::vector<RowField> fields;
  cutRow(upper, separator, fields);
  return rowKind(upper, fields, separator);
}

// A file that is no log is told by its first bytes; a log that merely
// looks odd is left to the readers.
TEST(NoLogProbe, ArchivesBinariesAndDecodeRecords) {
  using namespace std::literals;
  const std::pair<std::string, std::string_view> cases[] = {
      {"\x1F\x8B\x08", "it is gzip-compressed; decompress it first"},
      {"PK\x05\x06", "it is zip-compressed; decompress it first"},
      {"BZh91AY&SY", "it is bzip2-compressed; decompress it first"},
      {"BZh is a word\n", ""},
      {"SQLite format 3\0"s, "it holds binary data, not text"},
      {"K1ABC 20m CW\n\0\0\0"s, ""},  // a log a crash padded with NULs
      {"250614_101500    14.074 Rx FT8    -12  0.3 1520 CQ PA3XYZ JO21\n", "it holds decoded signals, not contacts"},
      {"20250614_101515  -3  0.1 800 ~ G3XYZ G4ABC -05\n\n", "it holds decoded signals, not contacts"},
      {"250614_1015 14.074 FT8 -12 PA3XYZ\n", ""},  // no time offset and audio offset
      {"250614_1015 14074 CW 599 0.5 PA3XYZ\n", ""},
      {"20240614 1015 PA3XYZ 20m\n250614_101500 -12 0.3 1520 CQ\n", ""},  // one row in two
  };
  for (const auto& [start, reason] : cases) EXPECT_EQ(noLogReason(start), reason) << start;
  EXPECT_TRUE(probeEdi(" \n[reg1test;1]\nPBand=144 MHz"));
  EXPECT_FALSE(probeEdi("Log\n[REG1TEST;1]"));
  // An ADX start whose document type the window cuts short is no ADX; the
  // byte past the window is never read.
  const std::string adx = "<?xml version=\"1.0\"?><!DOCTYPE ADX [ ]><ADX>";
  EXPECT_TRUE(probeAdx(adx));
  EXPECT_FALSE(probeAdx(std::string_view(adx).substr(0, adx.find("]>") + 1)));
}

// What a row is, between blanks or in CSV: a word inside a value makes no
// heading, the word ADIF no mark, a key and its value above a CSV header
// no contact.
TEST(RowKind, WhatARowIs) {
  const std::tuple<std::string, char, RowKind> cases[] = {
      {"     ", ' ', RowKind::Blank},
      {"  start-of-log: 2.0", ' ', RowKind::Cabrillo},
      {"<adif_ver:5>3.1 <eoh>", ' ', RowKind::Adif},
      {"QSO list exported from ADIF file mylog.adi", ' ', RowKind::Other},
      {"Date Time Band Mode Call", ' ', RowKind::Heading},
      {"22-jun-02 1432 14 ssb gb4xyz", ' ', RowKind::Data},
      {"2024-03-09 1830 14.250 SSB GM3ABC 59 59 Callum Callander", ' ', RowKind::Data},
      {"2024-03-09 1822 14.250 SSB K7XYZ 59 57 Bob Page AZ", ' ', RowKind::Data},
      {"22-JUN-02 1432 14 SSB 59 59", ' ', RowKind::Other},
      {"22-JUN-02\t1432\t14\tSSB\tGB4XYZ", ' ', RowKind::Other},  // a tab does not separate
      {"VE3AAA,27/06/2025,00:00", ' ', RowKind::Other},           // one word, a row of CSV
      {"<body>Error 500</body></html>", ' ', RowKind::Other},     // markup
      {" Page 2", ' ', RowKind::Heading},
      {"\fG4ABC", ' ', RowKind::Heading},
      {"---------- ----- ----", ' ', RowKind::Ruler},
      {"|---|:---|", '|', RowKind::Ruler},
      {"Station;G4ZZZ", ';', RowKind::Title},
      {"K1ABC,2024-03-09,18:15", ',', RowKind::Data},
      {"Call,Date,Time", ',', RowKind::Heading},
      {std::string(5000, ' ') + "G4ABC", ' ', RowKind::Data},
  };
  for (const auto& [line, separator, kind] : cases) EXPECT_EQ(kindOf(line, separator), kind) << line;
  // A CSV row that ends before its callsign's column is no contact.
  std::vector<RowField> fields;
  cutRow("2024-03-09,1815", ',', fields);
  EXPECT_EQ(rowKind("2024-03-09,1815", fields, ',', 2), RowKind::Other);
}

// A blank-separated row's columns: a time and its AM or PM, and a day, a
// month's name and a year, are one value each; near misses are not.
TEST(TextRow, BlankRowsKeepOneValueWhole) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"14 JUN 2025 1805 14.025 CW K1ABC", "14 JUN 2025|1805|14.025|CW|K1ABC"},
      {"1 MAY 24 1:05 PM 7 CW 9:00 AM", "1 MAY 24|1:05 PM|7|CW|9:00 AM"},
      {"14 SSB 2025 K1ABC", "14|SSB|2025|K1ABC"},
      {"7 MAR 599", "7|MAR|599"},
      {"31 FEB 2025 7", "31|FEB|2025|7"},
      {"20 JUN", "20|JUN"},
  };
  for (const auto& [row, columns] : cases) {
    std::string joined;
    for (std::string_view field : fieldTexts(row, ' ')) joined.append(joined.empty() ? "" : "|").append(field);
    EXPECT_EQ(joined, columns) << row;
  }
}

TEST(AssignColumn, RuleOrderAndSurprises) {
  const std::pair<const char*, const char*> cases[] = {
      {"22-JUN-02 1432 14 SSB GB4XYZ 59 59", "date@0 time@1 band@2 mode@3 callsign@4 "},
      {"GB4XYZ 22-JUN-02 1432 14 SSB", "callsign@0 date@1 time@2 band@3 mode@4 "},  // a callsign is never a date
      {"20020622 1432 14 CW G4ABC", "date@0 time@1 band@2 mode@3 callsign@4 "},
      {"06/22 932 14:32 CW G4ABC", "time@2 mode@3 callsign@4 "},
      {"22-JUN-02 1432 GB7XYZ 20M SSB", "date@0 time@1 callsign@2 band@3 mode@4 "},
      {"22-JUN-02 1432 599 14 USB G4ABC", "date@0 time@1 band@3 mode@4 callsign@5 "},
      {"14.025 22-JUN-02 0001 18:08 40CW FT8 EM87 K1ABC", "band@0 date@1 time@3 mode@5 callsign@7 "},
      {"EU-005 OLIVIA 09.03.2024 181502 MSK144", "mode@1 date@2 time@3 "},
      {"99990101 24:30 20240229", "date@2 "},                             // no year 9999, no hour 24, no band
      {"22-JUN-02 14.07 SSB G4ABC", "date@0 band@1 mode@2 callsign@3 "},  // 14.07 is no time but in a column of them
  };
  for (const auto& [line, outcome] : cases) {
    std::vector<std::string_view> tokens;
    SpaceTokens split(line);
    for (std::string_view token; split.next(token);) tokens.push_back(token);
    std::vector<ColumnDecision> decisions;
    (void)assignColumns(tokens, {}, {}, decisions);
    std::string roles;
    for (const auto& [column, role] : decisions)
      roles += std::string(columnRoleName(role)) + "@" + std::to_string(column) + " ";
    EXPECT_EQ(roles, outcome) << line;
  }
}

// An aligned header row over a data row whose value in one column is
// changed: a name counts over a value it can name, a placeholder included,
// and only while most names do.
TEST(HeaderRow, NamesCountOverValuesTheyCanName) {
  const char* const header = "DATE       TIME       BAND       MODE       CALL";
  const std::tuple<int, const char*, const char*> cases[] = {
      {-1, "", "DTBMC"},     {0, "G4ABC", "-TBMC"}, {1, "SSB", "D-BMC"},   {1, "22-JUN-02", "D-BMC"},
      {2, "K1ABC", "DT-MC"}, {2, "SSB", "DT-MC"},   {3, "14", "DTB-C"},    {3, "-", "DTBMC"},
      {4, "1432", "DTBM-"},  {4, "PSK31", "DTBM-"}, {0, "14:32", "-TBMC"}, {2, "SAT", "DTBMC"},
  };
  const char* kRoles = "DTBFMSCO";
  for (const auto& [column, value, named] : cases) {
    std::vector<std::string> values = {"22-JUN-02", "1432", "14", "SSB", "G4ABC"};
    if (column >= 0) values[static_cast<std::size_t>(column)] = value;
    char row[80];
    std::snprintf(row, sizeof row, "%-10s %-10s %-10s %-10s %s", values[0].c_str(), values[1].c_str(),
                  values[2].c_str(), values[3].c_str(), values[4].c_str());
    std::string got;
    for (const auto& name : namesOfColumns(header, ' ', row)) got += name ? kRoles[static_cast<int>(*name)] : '-';
    EXPECT_EQ(got, named) << row;
  }
  // An operator's column, in the languages and code pages operators log in,
  // is their own call: "O"; a name after it stands over its column by
  // characters, Opérateur in UTF-8 one character longer in bytes.
  for (const char* name : {"Op\xC3\xA9rateur  ", "OP\xE9RATEUR  ", "Bediener   "}) {
    std::string got;
    for (const auto& role :
         namesOfColumns(std::string("Date       ") + name + "Indicatif", ' ', "2025-06-28 F5XYZ      DL1ABC")) {
      got += role ? kRoles[static_cast<int>(*role)] : '-';
    }
    EXPECT_EQ(got, "DOC") << name;
  }
  // Out of line with its values: none counts, and the shapes decide.
  EXPECT_EQ(namesOfColumns("Date UTC  Call BAND       MODE", ' ', "11-FEB-94 0749 BA4VDS 3.5        SSB"),
            std::vector<std::optional<NamedRole>>(5));
  // Names that only run into the values below them were typed: none counts.
  EXPECT_EQ(namesOfColumns("  Call  Band", ' ', "K1ABC  20"), std::vector<std::optional<NamedRole>>(2));
}

}  // namespace
}  // namespace quorvel
