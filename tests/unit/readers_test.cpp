// Finding ADIF tags on lines padded as a line reader gives them; the
// contacts each reader makes of its logs (Cabrillo, column text, ADX,
// REG1TEST); and reading in blocks on several threads, which must change
// nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "readers/adif_tags.h"
#include "readers/cabrillo_contact.h"
#include "readers/edi_contact.h"
#include "support/harness.h"

namespace quorvel {
namespace {

using namespace std::literals;

using Texts = std::vector<std::string>;

// `text` followed by padding of "<" bytes, which no tag search may take
// for part of the line.
struct Padded {
  explicit Padded(std::string_view text) : storage(std::string(text) + std::string(kReadPadding, '<')) {}
  std::string_view line() const { return std::string_view(storage).substr(0, storage.size() - kReadPadding); }
  AdifTagValue read(AdifTag tag, bool cutToLength = false) const {
    std::size_t at = findAdifTags(line()).of(tag);
    EXPECT_NE(at, std::string_view::npos) << line();
    return at == std::string_view::npos ? AdifTagValue{} : readAdifTag(line(), at, tag, cutToLength);
  }
  std::string storage;
};

// Tags are found the same wherever they stand: at every offset from the
// start of the line, with the line ending at every distance behind them.
TEST(FindAdifTags, SameAtEveryOffset) {
  const std::string record = "<QSO_DATE_OFF:1>2 <call:4>W1AW <X:1>< <BAND:3>20M<Comment:2>ok<MODE:2>CW<eor><CALL:1>Z";
  for (std::size_t pad = 0; pad < 40; ++pad) {
    for (std::size_t tail : {0, 1, 7, 15, 16, 17}) {
      Padded line(std::string(pad, '=') + record + std::string(tail, '<'));
      AdifTagPositions positions = findAdifTags(line.line());
      std::string where = " at " + std::to_string(pad) + "+" + std::to_string(tail);
      EXPECT_EQ(positions.of(AdifTag::Call), pad + record.find("<call")) << where;
      EXPECT_EQ(positions.of(AdifTag::Comment), pad + record.find("<Comment")) << where;
      EXPECT_EQ(positions.endOfRecord, pad + record.find("<eor>")) << where;
      EXPECT_EQ(positions.of(AdifTag::QsoDate), std::string_view::npos) << where;
      EXPECT_EQ(line.read(AdifTag::Band).value, "20M<Comment:2>ok<MODE:2>CW<eor><CALL:1>Z" + std::string(tail, '<'))
          << where;
      EXPECT_EQ(line.read(AdifTag::Mode, true).value, "CW") << where;
    }
  }
}

// Every name is told apart in any letter case, with the line going on past
// it or ending right after it, and only under its exact name.
TEST(FindAdifTags, EveryNameExactlyInAnyCase) {
  auto find = [](const std::string& text) { return findAdifTags(Padded(text).line()); };
  for (std::size_t i = 0; i < kAdifTagCount; ++i) {
    auto tag = static_cast<AdifTag>(i);
    std::string name(adifTagName(tag)), lower;
    for (char c : name) lower.push_back(toAsciiLower(c));
    for (const std::string& written : {name, lower, lower.substr(0, 1) + name.substr(1)}) {
      for (const char* rest : {":1>X", ">", ":1>X                "}) {
        EXPECT_EQ(find("<" + written + rest).of(tag), 0u) << written << rest;
        EXPECT_EQ(find("<" + written + "S" + rest).of(tag), std::string_view::npos) << written << rest;
        EXPECT_EQ(find("<" + written.substr(1) + rest).of(tag), std::string_view::npos) << written << rest;
      }
      EXPECT_EQ(find("<" + written).of(tag), std::string_view::npos) << written;  // nothing behind the name
    }
  }
  for (const char* end : {"<EOR>", "<eor>", "<Eor>          "}) EXPECT_EQ(find(end).endOfRecord, 0u) << end;
  for (const char* no : {"<EOR:0>", "<EOR", "<EO>          ", "<EORS>         "}) {
    EXPECT_EQ(find(no).endOfRecord, std::string_view::npos) << no;
  }
}

// The worked callsign of one "QSO:" line of each contest family, found by
// its contest's token or, where that holds none, by a search.
TEST(ParseCabrilloQso, TheWorkedCallOfEachContest) {
  const std::tuple<const char*, const char*, std::string_view> cases[] = {
      {"ARRL-SS-SSB", "QSO: 14000 PH 2009-11-07 2100 W1AW 1 M 38 CT K8MM 1 Q 92 MI", "K8MM"},
      {"ARRL-VHF-JAN", "QSO: 50 PH 1997-01-13 1804 NJ2L FN12FR KB2DMK FN12", "KB2DMK"},
      {"CQ-VHF", "QSO: 50 CW 2001-07-17 1817 AA1ZZZ FN31 W2AJM FN21", "W2AJM"},
      {"NA-SPRINT-CW", "QSO: 14042 CW 1999-09-05 0000 N5TJ 1 JEFF TX N6TR 1 TREE OR", "N6TR"},
      {"BARTG-RTTY", "QSO: 14093 RY 2020-03-21 1728 GW4SKA 599 0001 1728 GB50TG 599 0002 1728", "GB50TG"},
      {"NAQP-CW", "QSO: 28048 CW 2014-01-11 1800 N5KO TREY CA VE3NZ BEN ON", "VE3NZ"},
      {"FL-QSO-PARTY", "QSO: 14000 CW 2024-04-27 1600 K4XX CLAY W1AW MA", "W1AW"},  // no reports: 7th
      {"CQ-WW-CW", "QSO: 14025 CW 2024-11-23 1200 G4ZZZ 599 14 I2/K3LR 599 05", "I2/K3LR"},
      {"", "QSO: 14025 CW 2024-11-23 1200 G4ZZZ 599 14 KA2CKI/R 599 05", "KA2CKI/R"},
      {"", "QSO: 50 CW 2001-07-17 1817 AA1ZZZ FN31 W2AJM FN21AB", "W2AJM"},  // a locator at 8
      {"", "QSO: 14000 CW 2024-01-01 1200 G4ZZZ 5NN 10A EU-005 VP2E/W1AW 14 MDC", "VP2E/W1AW"},
      {"", "QSO: 14000 CW 2024-01-01 1200 G4ZZZ 599 G4ZZZ ------ 599 14", "------"},         // none: as it stands
      {"ARRL-SS-CW", "QSO: 14000 CW 2009-11-07 2100 W1AW 1 M 38 CT KK K8MM", "KK"},          // the ten: as it stands
      {"CQ-WW-RTTY", "QSO: 14080 RY 2024-09-28 1200 G4ZZZ 599 14 DL1ABC 599 14", "DL1ABC"},  // no DX placeholder
      {"ARRL-10-GHZ", "QSO: 10G PH 2024-08-17 1500 W1AW FN31 K1TEO FN31", "K1TEO"},
  };
  for (const auto& [contest, line, call] : cases) {
    CabrilloContact contact;
    EXPECT_EQ(parseCabrilloQso(line, contestLayoutFor(contest), contact), CabrilloParse::Contact);
    EXPECT_EQ(contact.callsign, call) << contest << ": " << line;
  }
}

// The text logs of today's programs: each log, and the record lines of its
// contacts (date, time, band, mode, callsign).
TEST(TextLogs, EachLayoutGivesItsContacts) {
  const std::pair<const char*, const char*> cases[] = {
      {"CALL,QSO_DATE,TIME_ON,FREQ,MODE,COMMENT\nK1ABC,20240309,1815,14.025,CW,\"Nice, OM\"\n",  // CSV, header
       " 20240309 1815  14  CW K1ABC\n"},
      {"2023-04-07,18:59:30,2023-04-07,19:00:30,KG4LKY,EM87,28.076249,FT8,+03,-11,50W,FT8  Sent: +03,,\n",  // WSJT-X
       "2023-04-07 1859  28 FT8 KG4LKY\n"},
      {"Date\tTime\tCall\tBand\tMode\n09.03.2024\t18:15\tG4ABC\t20M\tSSB\n", "09.03.2024 1815 20M SSB G4ABC\n"},
      {"Datum;Zeit;Rufzeichen;Frequenz;Betriebsart\n09.03.2024;8:15;DL1ABC;7,040;SSB\n",
       "09.03.2024 0815   7 SSB DL1ABC\n"},
      {"NOTE,CALL,DATE,TIME,MODE,FREQ,BAND\n\"one\nline, \"\"2\"\",\",\"W1AW\",2024-03-09,0930,FT8,7.074,40M\n"
       ",K9XX,2024-03-09,0931,FT4,7.047,40M\n\"a\n,b\",VK2AB,2024-03-09,0932,FT8,7.074,40M\n"
       "NOTE,CALL,DATE,TIME,MODE,FREQ,BAND\n",  // quoted line ends, first and later; the header repeated
       "2024-03-09 0930 40M FT8 W1AW\n2024-03-09 0931 40M FT4 K9XX\n2024-03-09 0932 40M FT8 VK2AB\n"},
      {" 20CW  14-Jan-23 18:08 0001  W7SW           ---  ---  ROD AZ        AZ       1  14045.0\n",  // TLF
       "14-JAN-23 1808  20  CW W7SW\n"},
      {"2003 CQ WW Contest K7RAT\r\n\r\n Band    Date    Time  QSO#  Call worked   Sent\r\n"  // TR-Log
       " ----    ----    ----  ----  -----------   ----\r\n160CW  19-Oct-03 16:55    2A K3PP        *  599\r\n",
       "19-OCT-03 1655 160  CW K3PP\n"},
      {"20250627 0000 20M SSB VE3AAA\n", " 20250627 0000 20M SSB VE3AAA\n"},
      {"Date       Heure Bande Mode Op\xC3\xA9rateur Indicatif\n2025-06-28 1805  20m   CW   F5XYZ     DL1ABC\n"
       "2025-06-28 1810  40m   SSB  F4QQQ     G4ABC\n",  // a heading stands over its column by characters
       "2025-06-28 1805 20M  CW DL1ABC\n2025-06-28 1810 40M SSB G4ABC\n"},
      {"DATE       UTC   FREQ   MODE CALL\n2024-03-09 1815  14.025 CW   K1ABC\n           1816  7.010  CW   K2ABC\n"
       "           1817  7.010  CW   K3ABC\n",  // the date once a day: a first row with more in it is a contact
       "2024-03-09 1815  14  CW K1ABC\n2024-03-09 1816   7  CW K2ABC\n2024-03-09 1817   7  CW K3ABC\n"},
      {"Field Day 2025 W1AW/1\n\n28-JUN-25 1805 14 CW K1ABC\n28-JUN-25 1807 14 CW N2XYZ\n",  // a title, no header
       "28-JUN-25 1805  14  CW K1ABC\n28-JUN-25 1807  14  CW N2XYZ\n"},
      {"Contest log of G4ZZZ\n22-JUN-02 1432 14 SSB GB4XYZ\n22-JUN-02 1433 15 DIG K1ABC\n",  // a title
       "22-JUN-02 1432  14 SSB GB4XYZ\n22-JUN-02 1433  15 DIG K1ABC\n"},
      // Header words typed, not stood over their columns: only the shapes
      // tell, "DATE UTC" two names.
      {"DATE UTC BAND MODE CALL\n22-JUN-02 1432 14 SSB G4ABC\n", "22-JUN-02 1432  14 SSB G4ABC\n"},
      {"Date ON Band MODE CALLSIGN\n20180404 04:00 10M SSB FY4FGI 59 59\n", " 20180404 0400 10M SSB FY4FGI\n"},
      {"Date ON Band MODE CALLSIGN\n22-JUN-02 1432 14 SSB GB4XYZ 59 59\n", "22-JUN-02 1432  14 SSB GB4XYZ\n"},
      {"22-JUN-02 1432 14 SSB G4ABC\nDATE TIME BAND MODE CALL\n22-JUN-02 1433 7 CW K1ABC\n",  // a contact, no title
       "22-JUN-02 1432  14 SSB G4ABC\n22-JUN-02 1433   7  CW K1ABC\n"},
      {"22-JUN-02 1432 14 SSB HL22\n", "22-JUN-02 1432  14 SSB HL22\n"},  // a callsign shaped like a locator
      {"CALL,BAND\t,MODE\nG4ABC,23CM,\"M\"\"X\"\n", "               23CM M\"X G4ABC\n"},  // named beside a tab; quotes
      // Dates with slashes in separated rows, 12-hour times.
      {"VE3AAA,27/06/2025,00:00,20M,SSB\nK1ABC,6/27/2025,1:05 PM,20M,SSB\n",
       "27/06/2025 0000 20M SSB VE3AAA\n6/27/2025 1305 20M SSB K1ABC\n"},
      {"VE3AAA;2025/06/27;12:00 AM\n", "2025/06/27 0000         VE3AAA\n"},
      {"VE3AAB\t6/27/2025\t12:30:00PM\n", "6/27/2025 1230         VE3AAB\n"},
      {"6/27/2025 1:05 PM 14 AM G4ABC\n", "6/27/2025 1305  14  AM G4ABC\n"},  // AM after a time is the time's
      // CR line ends; tables with "|" between their cells.
      {"DATE TIME CALL\r22-JUN-02 1432 G4ABC\r22-JUN-02 1433 K1ABC\r",
       "22-JUN-02 1432         G4ABC\n22-JUN-02 1433         K1ABC\n"},
      {"Call|Date|Time|Band|Mode\nG4ABC|20250627|1200|20M|FT8\n", " 20250627 1200 20M FT8 G4ABC\n"},
      {"| Call | Date | Mode |\n|---|:---|---:|\n| G4ABC | 20250627 | FT8 |\n", " 20250627          FT8 G4ABC\n"},
      {"| Call | Band | Mode |\n| G4ABC | 23CM | FM |\n", "               23CM  FM G4ABC\n"},
      {"|Call|Date|Time|Band|Mode|Comment|\n |K1ABD|2025-06-27|18:07|20M|CW|said \"hi\"|\n",  // blank, then "|"
       "2025-06-27 1807 20M  CW K1ABD\n"},
      // A quoted field open at the end of the log; one holding a line end.
      {"Call,Date,Time,Band,Mode,Comment\nK1ABC,2025-06-27,18:05,20M,CW,\nK1ABD,2025-06-27,18:07,20M,CW,\"",
       "2025-06-27 1805 20M  CW K1ABC\n2025-06-27 1807 20M  CW K1ABD\n"},
      {"CALL,MODE,BAND\nG4ABD,CW,7\nG4ABC,\"SS\nB\",14\n",
       "                 7  CW G4ABD\n                14SS B G4ABC\n"},
      // Names over values they cannot name; a title below the header.
      {"Date UTC  Call BAND       MODE\n11-FEB-94 0749 BA4VDS 3.5        SSB\n", "11-FEB-94 0749 3.5 SSB BA4VDS\n"},
      {"DATE TIME BAND MODE CALL\nLog of K1ABC\n22-JUN-02 1432 14 SSB G4ABC\n", "22-JUN-02 1432  14 SSB G4ABC\n"},
      // Dates and times in one field, with an offset that moves the date;
      // times with a dot or a zone letter.
      {"call,start,band,mode\nDL1ABC,2025-06-27T18:05:00Z,20M,SSB\nG4ABC,2025-06-27T23:30:00-02:00,20M,CW\n",
       "2025-06-27 1805 20M SSB DL1ABC\n2025-06-28 0130 20M  CW G4ABC\n"},
      {"Date,Call,Band,Mode\n3/9/2024 18:15,G4ABC,20m,CW\n", " 3/9/2024 1815 20M  CW G4ABC\n"},
      {"Datum;Uhrzeit;Rufzeichen;Band;Betriebsart\n27.06.2025;18.05;DL1ABC;20M;SSB\n",
       "27.06.2025 1805 20M SSB DL1ABC\n"},
      {"2024-03-09 1815Z 14.025 CW G4ABC\n", "2024-03-09 1815  14  CW G4ABC\n"},
      {"2024.03.09 18.15 14.025 CW G4ABC\n", "2024.03.09 1815  14  CW G4ABC\n"},  // another column holds the band
      {"2024.03.09 18.20 CW G4ABD\n", "2024.03.09 1820      CW G4ABD\n"},         // 18.20 is no frequency
      {"22-JUN-02 14.07 SSB G4ABC\n22-JUN-02 7.04 CW K1ABC\n",                    // frequencies, each could be a time
       "22-JUN-02       14 SSB G4ABC\n22-JUN-02        7  CW K1ABC\n"},
      // MFSK shows its submode, in ADIF and in a text log.
      {"<EOH>\n<CALL:5>G4ABC <MODE:4>mfsk <SUBMODE:3>FT4 <EOR>\n<CALL:5>G4ABD <MODE:3>SSB <SUBMODE:3>USB <EOR>\n",
       "                        FT4 G4ABC\n                        SSB G4ABD\n"},
      {"CALL,MODE,SUBMODE\nG4ABC,MFSK,JS8\nG4ABD,MFSK,\n",
       "                   JS8 G4ABC\n                  MFSK G4ABD\n"},
      {"<EOH>\n<CALL:10>VK2/W1XYZ1<BAND:3>20M<MODE:2>CW<EOR>\n", "                     20  CW VK2/W1XYZ1\n"},
      // Rows by one model: a word inside a value makes no heading (Callum,
      // Page AZ); a blank field in a log laid out in columns keeps the
      // others' places, a blank date the date above; the same call on every
      // row is the operator's own; ADIF in a title is no mark; key;value
      // lines are titles; reports and serial numbers are never the band; a
      // UTF-8 byte-order mark is no part of the first value.
      {"DATE       UTC   FREQ    MODE  CALL      NAME\n2024-03-09 1830  14.250  SSB   GM3ABC    Callum\n"
       "2024-03-09 1832  14.250  SSB   K7XYZ     Page AZ\n           1840  7.025   CW    G4ABC     Bob\n",
       "2024-03-09 1830  14 SSB GM3ABC\n2024-03-09 1832  14 SSB K7XYZ\n2024-03-09 1840   7  CW G4ABC\n"},
      {"V2,G4ABC/P,G/LD-001,09/03/24,1815,14MHz,CW,DL1XYZ,,\nV2,G4ABC/P,G/LD-001,09/03/24,1818,14MHz,CW,DL2ABC,,\n",
       " 09/03/24 1815 14MHZ  CW DL1XYZ\n 09/03/24 1818 14MHZ  CW DL2ABC\n"},
      {"QSO list exported from ADIF file mylog.adi\nStation;G4ZZZ\nCall;Date;Time\nK1ABC;2024-03-09;18:15\n",
       "2024-03-09 1815         K1ABC\n"},
      {"20 2024-03-09 1815 579 14.025 CW G4ABC\n21 2024-03-09 1816 599 7.025 CW G4ABD\n"
       "22 2024-03-09 1817 589 21.025 CW G4ABE\n",
       "2024-03-09 1815  14  CW G4ABC\n2024-03-09 1816   7  CW G4ABD\n2024-03-09 1817  21  CW G4ABE\n"},
      {"\xEF\xBB\xBF 20CW  14-Jan-23 18:08 0001  W7SW\n", "14-JAN-23 1808  20  CW W7SW\n"},
      {"Operator,Date,Time,DX\nG4ZZZ,2024-03-09,18:15,DL1XYZ\n", "2024-03-09 1815         DL1XYZ\n"},
      {"Call,Date,Time\n\"\",2024-03-09,18:15\nG4ABC,2024-03-09,18:16\n", "2024-03-09 1816         G4ABC\n"},
      {"2024-08-01 0101 6m FM DL\xC3\x98"
       "1ABC\n2024-08-01 0102 6m FM K\xF8XYZ\n",  // slashed zeros, UTF-8 and Latin-1
       "2024-08-01 0101  6M  FM DL01ABC\n2024-08-01 0102  6M  FM K0XYZ\n"},
      {"<EOH>\n<CALL:5>k\xC3\xB8xy<BAND:2>6m<EOR>\n", "                      6     K0XY\n"},
      {"START-OF-LOG: 3.0\nCONTEST: CQ-WW-SSB\nQSO: 50000 PH 2024-08-01 0101 G4ZZZ 59 14 K\xC3\x98XY 59 05\n",
       "2024-08-01 0101    50000  PH K0XY\n"},
  };
  for (const auto& [log, lines] : cases) {
    std::string written;
    for (const std::string& line : testing::traceRead(log, {}, {}).lines) written += line.substr(1);
    std::erase(written, '\r');  // record lines end as the system's text files do
    EXPECT_EQ(written, lines) << log;
  }
}

// ADX logs give the lines of their ADIF twins, and the meanings they
// carry: the same tags on the same lines, plainly and with -comment.
TEST(AdxLogs, EachRecordGivesItsAdifTwinsLine) {
  auto adx = [](std::string_view records, bool lower) {
    std::string head =
        "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- ADX -->\n<ADX><HEADER><PROGRAMID>T</PROGRAMID>"
        "<USERDEF FIELDID=\"1\">CALL</USERDEF></HEADER><RECORDS>\n";
    std::string tail = "</RECORDS></ADX>\n";
    if (lower) std::transform(head.begin(), head.end(), head.begin(), toAsciiLower);
    return head + std::string(records) + (lower ? "</records></adx>\n" : tail);
  };
  const std::tuple<const char*, const char*, bool> cases[] = {
      {"<RECORD><CALL>G4ABC</CALL><QSO_DATE>20240309</QSO_DATE><TIME_ON>181502</TIME_ON><BAND>20m</BAND>"
       "<FREQ>14.2</FREQ><MODE>psk31</MODE><COMMENT>Nice</COMMENT></RECORD>",
       "<CALL:5>G4ABC <QSO_DATE:8>20240309 <TIME_ON:6>181502 <BAND:3>20m <FREQ:4>14.2 <MODE:5>psk31 <COMMENT:4>Nice "
       "<EOR>",
       false},
      {"<RECORD><CALL>&#x47;4&#65;BC</CALL><COMMENT>a &amp; b &lt;c&gt;</COMMENT><FREQ>14.025</FREQ><MODE>SSB "
       "x</MODE></RECORD>",
       "<CALL:5>G4ABC <COMMENT:9>a & b <c> <FREQ:6>14.025 <MODE:5>SSB x <EOR>", false},
      {"<RECORD><NAME>Al</NAME><CALL>G4<!-- not this -->XYZ</CALL><MODE><![CDATA[S<B]]></MODE></RECORD>",
       "<CALL:5>G4XYZ <MODE:3>S<B <EOR>", false},
      {"<record><call>k1abc</call><Qso_Date>20240309</Qso_Date><band>40M</band><mode>cw</mode></record>",
       "<call:5>k1abc <Qso_Date:8>20240309 <band:3>40M <mode:2>cw <eor>", true},
      {"<RECORD><CALL>W1AW</CALL><APP PROGRAMID=\"X\" FIELDNAME=\"MODE\">FT8</APP><APP_X_BAND><BAND>2M</BAND>"
       "</APP_X_BAND><USERDEF FIELDNAME=\"CALL\">K1ABC</USERDEF><MODE>CW</MODE><MODE>SSB</MODE><BAND>20M</BAND>"
       "</RECORD>",
       "<CALL:4>W1AW <APP_X_MODE:3>FT8 <MODE:2>CW <MODE:3>SSB <BAND:3>20M <EOR>", false},
      {"<RECORD><CALL>G4ABC</CALL><QSO_DATE>20240309</QSO_DATE></RECORD>\n<RECORD><CALL>G4ABD</CALL></RECORD>",
       "<CALL:5>G4ABC <QSO_DATE:8>20240309 <EOR>\n<CALL:5>G4ABD <EOR>", false},
      {"<RECORD><BAND>2m</BAND>\n<CALL>M5JFS</CALL><FREQ>145.987</FREQ><CALL>X</CALL></RECORD>\n<RECORD>"
       "<FREQ>7.074</FREQ><BAND> 40m </BAND><CALL>K1A</CALL><TIME_ON>1200</TIME_ON>\n<TIME_ON></TIME_ON></RECORD>",
       "<BAND:2>2m\n<CALL:5>M5JFS <FREQ:7>145.987 <CALL:1>X <EOR>\n<FREQ:5>7.074 <BAND:5> 40m  <CALL:3>K1A "
       "<TIME_ON:4>1200\n<TIME_ON:0>\n<EOR>",
       false},
      {"<RECORD><CALL>G4ABC</CALL><MODE>MFSK</MODE><SUBMODE>FT4</SUBMODE><COMMENT>two\nlines</COMMENT></RECORD>",
       "<CALL:5>G4ABC <MODE:4>MFSK <SUBMODE:3>FT4 <COMMENT:9>two\nlines <EOR>", false},
  };
  for (const auto& [records, twin, lower] : cases) {
    for (bool comments : {false, true}) {
      RunOptions options{false, false, comments, false, false, comments};  // -html carries what a contact means
      testing::ReadTrace read = testing::traceRead(adx(records, lower), options, {});
      testing::ReadTrace expected = testing::traceRead("<EOH>\n"s + twin + "\n", options, {});
      expected.err.replace(expected.err.find("ADIF"), 4, "ADX");
      EXPECT_EQ(read, expected) << records;
      EXPECT_FALSE(read.lines.empty()) << records;
    }
  }
}

// The record lines a read handed over, ended as on Unix.
Texts unixLines(const testing::ReadTrace& read) {
  Texts lines = read.lines;
  for (std::string& line : lines) std::erase(line, '\r');
  return lines;
}

// ADX in UTF-16, and what is not ADX: another XML root, or ADX after it.
TEST(AdxLogs, Utf16AndOtherXml) {
  std::string utf16 = "\xFF\xFE";
  for (char c :
       "<?xml version=\"1.0\" encoding=\"UTF-16\"?><ADX><RECORDS><RECORD><CALL>G4ABC</CALL></RECORD>"
       "</RECORDS></ADX>"s) {
    utf16 += {c, '\0'};
  }
  EXPECT_EQ(unixLines(testing::traceRead(utf16, {}, {})), Texts{"G                            G4ABC\n"});
  for (const char* xml : {"<?xml version=\"1.0\"?>\n<html><ADX/></html>\n", "<adxlog><CALL>G4ABC</CALL></adxlog>\n"}) {
    EXPECT_EQ(testing::traceRead(xml, {}, {}).err.find("ADX"), std::string::npos) << xml;
  }
}

// The 8-bit code pages Windows programs declare read as their characters;
// a code page nobody knows is the parser's fault.
TEST(AdxLogs, WindowsCodePages) {
  const std::pair<const char*, const char*> cases[] = {
      {"windows-1252",
       "G4\xE2\x82\xAC\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D\xC5\xB8\xC2\xA4"},  // 81 8D 8F 90 9D: none
      {"CP1252", "G4\xE2\x82\xAC\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D\xC5\xB8\xC2\xA4"},
      {"iso-8859-15", "G4\xC2\x80\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D\xC2\x9F\xE2\x82\xAC"},
      {"x-mac-roman", ""},
  };
  for (const auto& [encoding, call] : cases) {
    const std::string log =
        "<?xml version=\"1.0\" encoding=\""s + encoding +
        "\"?>\n<ADX><RECORDS><RECORD><CALL>G4\x80\x81\x8D\x8F\x90\x9D\x9F\xA4</CALL></RECORD></RECORDS></ADX>\n";
    testing::ReadTrace read = testing::traceRead(log, {}, {});
    EXPECT_EQ(unixLines(read), *call == 0 ? Texts{} : Texts{"G" + std::string(28, ' ') + call + "\n"}) << encoding;
    EXPECT_EQ(read.failure.empty(), *call != 0) << encoding;
  }
}

// A log that is not well-formed keeps the records before its fault, which
// is named with its line; entities neither load files nor grow memory.
TEST(AdxLogs, FaultsStopTheReadingAndLoadNothing) {
  const std::string start = "<?xml version=\"1.0\"?>\n<ADX><RECORDS>\n<RECORD><CALL>G4ABC</CALL></RECORD>\n";
  const std::string laughs =
      "<!DOCTYPE ADX [<!ENTITY a \"LOLLOLLOLLOLLOL\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
      "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
      "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\"><!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">"
      "<!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\"><!ENTITY h \"&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;\">]>\n";
  const std::string external = "<!DOCTYPE ADX SYSTEM \"file:///etc/hostname\" [<!ENTITY x SYSTEM \"/etc/passwd\">]>";
  const std::string kept = "G                            G4ABC\n";
  const std::tuple<std::string, std::string, Texts> cases[] = {
      {start + "<RECORD><CALL>K1ABC</CALL></RECORD>\n<RECORD><CALL>W1",
       "at line 5: no element found",
       {kept, "K                            K1ABC\n"}},
      {start + "<RECORD><CALL>K1ABC</RECORD>", "at line 4: mismatched tag", {kept}},
      {"<?xml version=\"1.0\"?>\n" + laughs + start.substr(22) + "<RECORD><CALL>&h;</CALL></RECORD></RECORDS></ADX>",
       "at line 5: limit on input amplification factor (from DTD and entities) breached",
       {kept}},
      {"<?xml version=\"1.0\"?>" + external + "<ADX><RECORDS><RECORD><CALL>G4ABC&x;</CALL></RECORD></RECORDS></ADX>",
       "",
       {kept}},
  };
  for (const auto& [log, fault, lines] : cases) {
    testing::ReadTrace read = testing::traceRead(log, {}, {});
    EXPECT_EQ(read.failure,
              fault.empty() ? "" : "error reading file log " + fault + "; the contacts before it were read\n")
        << log;
    EXPECT_EQ(unixLines(read), lines) << log;
    EXPECT_EQ(read.err.find("QSOs processed") == std::string::npos, !fault.empty()) << read.err;
  }
}

// The start of a log of each kind, and pieces its lines are made of.
const char* const kStarts[] = {"Log of K1AB\n<adif_ver:5>3.1.0 <EOH>\n", "START-OF-LOG: 3.0\nCONTEST: CQ-WW-CW\n",
                               "START-OF-LOG: 3.0\nCONTEST: ARRL-SS-CW\n", "My log\n\nDATE TIME BAND MODE CALL\n",
                               "CALL,QSO_DATE,TIME_ON,BAND,MODE,COMMENT\nK1AB,20240101,1200,20M,CW,\"a,\nb\"\n"};
// Pieces the lines are made of, one after another between the "|".
const std::string kPieces =
    "<CALL:4>K1AB |<call:5>G4ABC|<CALL:3>9A2BB |<BAND:3>20M |<FREQ:6>14.025|<MODE:5>psk31 |<QSO_DATE:8>20240101 |"
    "<qso_date:8>20240202|<TIME_ON:6>181502 |<COMMENT:8>NICE 50%|<EOR>|<eor>\n|QSO: 14025 CW 2024-01-01 1200 |"
    "QSO: 7000 PSK31 2024-01-02 1300 |K1AB |w1aw |VK2/W1X |599 |22-JUN-02 1432 14 SSB |22-JUN-02 1433 7.040 PSK31 |"
    "Page 2 |\f|ADIF|\t|\r|\xC4|G4ABC,|20240101,|18:15,|\"|\",|,\"x\"\"|QSO:|END-OF-LOG:\n|<BAND:0>|"
    "START-OF-LOG: 3.0\nCONTEST: ARRL-SS-CW\n|"s +
    '\0';

TEST(ReadingInBlocks, ChangesNothing) {
  std::uint64_t state = 2463534242u;
  auto below = [&state](std::size_t bound) {
    state ^= state << 13, state ^= state >> 7, state ^= state << 17;
    return static_cast<std::size_t>(state % bound);
  };
  // A quoted CSV field that runs over the cut between two blocks, and a
  // stray quote a block before the line that shows it stray.
  std::string csv = "CALL,DATE,NOTE\n";
  for (int i = 0; i < 40; ++i) csv += "K1A" + std::to_string(i) + ",20240101,\"a\nb,K9ZZ\"\n";
  csv += "K1B,20240101,\"ta\nK1C,20240101,x\n";
  for (std::size_t blockBytes : {20, 45}) {
    EXPECT_EQ(testing::traceRead(csv, {}, WorkPlan{blockBytes, 2}),
              testing::traceRead(csv, {}, WorkPlan{std::size_t{1} << 30, 1}));
  }
  // A line past the bound after a few blocks: numbered alike however the
  // log is cut.
  std::string longLog = "DATE TIME BAND MODE CALL\n";
  for (int i = 0; i < 50; ++i) longLog += "22-JUN-02 1432 14 SSB K1ABC\n";
  longLog += "22-JUN-02 1433 14 SSB K1ABD " + std::string(5'000'000, 'x') + "\n22-JUN-02 1434 7 CW K1ABE\n";
  const testing::ReadTrace longWhole = testing::traceRead(longLog, {}, WorkPlan{std::size_t{1} << 30, 1});
  EXPECT_NE(longWhole.err.find("cut in file log at line 52: the line"), std::string::npos) << longWhole.err;
  EXPECT_EQ(longWhole.lines.size(), 52u);
  for (std::size_t blockBytes : {64, 4096})
    EXPECT_EQ(testing::traceRead(longLog, {}, WorkPlan{blockBytes, 2}), longWhole);
  // Cabrillo logs pasted one behind another, each of its own contest, with
  // lines between them that are no contacts of either.
  const std::string contact = "QSO: 14025 CW 2024-11-23 1200 K5 K6 K7 K8 K9 K10 K11\n";
  std::string pasted = "START-OF-LOG: 3.0\n";
  for (const char* contest : {"CONTEST: ARRL-SS-CW\n", "CONTEST: CQ-WW-CW\n", "X-CQ-ANYTHING: 1\n"}) {
    pasted += contest;
    for (int i = 0; i < 20; ++i) pasted += contact;
    pasted += "END-OF-LOG:\n" + contact + contact + "START-OF-LOG: 3.0\n";
  }
  for (std::size_t blockBytes : {30, 200}) {
    EXPECT_EQ(testing::traceRead(pasted, {}, WorkPlan{blockBytes, 2}),
              testing::traceRead(pasted, {}, WorkPlan{std::size_t{1} << 30, 1}));
  }
  std::size_t written = 0;
  for (int seed = 0; seed < 80; ++seed) {
    std::string log = kStarts[seed % 5];
    for (std::size_t line = below(160); line > 0; --line) {
      for (std::size_t piece = below(7); piece > 0; --piece) {
        std::size_t start = kPieces.rfind('|', below(kPieces.size())) + 1;  // npos + 1 is 0
        log += kPieces.substr(start, kPieces.find('|', start) - start);
      }
      log += below(4) == 0 ? "\r\n" : "\n";
    }
    if (seed % 3 == 0) log += "END-OF-LOG:\n";
    RunOptions options{false, false, seed % 3 == 0, false};
    // Every other log meets a full disk part way.
    std::size_t failAt = seed % 2 == 0 ? below(60) : SIZE_MAX;
    testing::ReadTrace whole = testing::traceRead(log, options, WorkPlan{std::size_t{1} << 30, 1}, failAt);
    written += whole.lines.size();
    for (std::size_t blockBytes : {1, 30, 200, 1000}) {
      EXPECT_EQ(testing::traceRead(log, options, WorkPlan{blockBytes, 2}, failAt), whole)
          << "seed " << seed << ", blocks of " << blockBytes << ", failing at " << failAt << "\nlog:\n"
          << log;
    }
  }
}

// A REG1TEST band as its header names it, written as a Cabrillo log of the
// same contest writes it; its contact lines by their fields.
TEST(EdiContact, BandsAndContactLines) {
  const std::pair<std::string_view, std::string_view> bands[] = {
      {"50 MHz", "50"},    {"70 MHz", "70"},    {"144 MHz", "144"},  {"432 MHz", "432"}, {"1,3 GHz", "1.2G"},
      {"2,3 GHz", "2.3G"}, {"3,4 GHz", "3.4G"}, {"5,7 GHz", "5.7G"}, {"10 GHz", "10G"},  {"24 GHz", "24G"},
      {"76 GHz", "75G"},   {"248 GHz", "241G"}, {"28 MHz", "10M"},   {"145", "144"},     {"", ""},
      {"many", ""},
  };
  for (const auto& [pband, text] : bands) EXPECT_EQ(ediBandText(ediBandIndex(pband)), text) << pband;
  const std::tuple<std::string_view, bool, std::string, std::string_view, std::string_view> lines[] = {
      {"250607;1405;G4ABC;1;59;001;59;012;;IO92AB;45;;N;;", true, "20250607", "1405", "SSB"},
      {"980607;0005;G4ABC;9;59;001", true, "19980607", "0005", "ATV"},
      {"250607;14:05;G4ABC;0", true, "20250607", "", ""},
      {"250607;1405;;1;59", false, "", "", ""},
      {"[END;DL1ABC]", false, "", "", ""},
      {"CODXC=DL1ABC;JO31AB;650", false, "", "", ""},
  };
  for (const auto& [line, read, date, time, mode] : lines) {
    EdiContact contact;
    ASSERT_EQ(parseEdiContact(line, contact), read) << line;
    if (read) {
      EXPECT_EQ(std::tie(contact.date, contact.time, contact.mode), std::tie(date, time, mode)) << line;
    }
  }
}

}  // namespace
}  // namespace quorvel
