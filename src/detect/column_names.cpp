#include "detect/column_names.h"

#include <array>

#include "base/ascii.h"

namespace quorvel {

namespace {

struct Name {
  std::string_view text;  // upper case, words split by one blank
  NamedRole role;
};

constexpr std::array<Name, 98> kNames = {{
    {"DATE", NamedRole::Date},
    {"QSO_DATE", NamedRole::Date},
    {"QSO DATE", NamedRole::Date},
    {"QSODATE", NamedRole::Date},
    {"DATE_ON", NamedRole::Date},
    {"DATE ON", NamedRole::Date},
    {"DATE (UTC)", NamedRole::Date},
    {"UTC DATE", NamedRole::Date},
    {"DATUM", NamedRole::Date},
    {"FECHA", NamedRole::Date},
    {"DATA", NamedRole::Date},
    {"DATE UTC", NamedRole::Date},
    {"TIME", NamedRole::Time},
    {"TIME_ON", NamedRole::Time},
    {"TIME ON", NamedRole::Time},
    {"QSO_TIME", NamedRole::Time},
    {"QSO TIME", NamedRole::Time},
    {"START", NamedRole::Time},
    {"UTC", NamedRole::Time},
    {"GMT", NamedRole::Time},
    {"TIME (UTC)", NamedRole::Time},
    {"TIME UTC", NamedRole::Time},
    {"UTC TIME", NamedRole::Time},
    {"ZEIT", NamedRole::Time},
    {"UHRZEIT", NamedRole::Time},
    {"HORA", NamedRole::Time},
    {"HEURE", NamedRole::Time},
    {"ORA", NamedRole::Time},
    {"BAND", NamedRole::Band},
    {"BANDA", NamedRole::Band},
    {"BANDE", NamedRole::Band},
    {"FREQ", NamedRole::Frequency},
    {"FREQUENCY", NamedRole::Frequency},
    {"FREQ (MHZ)", NamedRole::Frequency},
    {"FREQ MHZ", NamedRole::Frequency},
    {"MHZ", NamedRole::Frequency},
    {"KHZ", NamedRole::Frequency},
    {"QRG", NamedRole::Frequency},
    {"FREQUENZ", NamedRole::Frequency},
    {"FRECUENCIA", NamedRole::Frequency},
    {"FREQUENZA", NamedRole::Frequency},
    {"FREQUENCE", NamedRole::Frequency},
    {"MODE", NamedRole::Mode},
    {"EMISSION", NamedRole::Mode},
    {"BETRIEBSART", NamedRole::Mode},
    {"SENDEART", NamedRole::Mode},
    {"MODUS", NamedRole::Mode},
    {"MODO", NamedRole::Mode},
    {"MODALITA", NamedRole::Mode},
    {"SUBMODE", NamedRole::Submode},
    {"CALL", NamedRole::Callsign},
    {"CALLSIGN", NamedRole::Callsign},
    {"CALL SIGN", NamedRole::Callsign},
    {"CALL_SIGN", NamedRole::Callsign},
    {"CALL WORKED", NamedRole::Callsign},
    {"CALLSIGN WORKED", NamedRole::Callsign},
    {"WORKED", NamedRole::Callsign},
    {"STATION", NamedRole::Callsign},
    {"DX CALL", NamedRole::Callsign},
    {"DXCALL", NamedRole::Callsign},
    {"RUFZEICHEN", NamedRole::Callsign},
    {"CALL GEARBEITET", NamedRole::Callsign},
    {"INDICATIVO", NamedRole::Callsign},
    {"INDICATIF", NamedRole::Callsign},
    {"NOMINATIVO", NamedRole::Callsign},
    {"ZNAK", NamedRole::Callsign},
    {"ROEPLETTERS", NamedRole::Callsign},
    {"ROEPNAAM", NamedRole::Callsign},
    {"TIJD", NamedRole::Time},
    {"DATUM UTC", NamedRole::Date},
    {"INDICATIVO CONTACTADO", NamedRole::Callsign},
    {"THEIR CALL", NamedRole::Callsign},
    {"HIS CALL", NamedRole::Callsign},
    {"HER CALL", NamedRole::Callsign},
    {"CONTACT", NamedRole::Callsign},
    {"CONTACTED", NamedRole::Callsign},
    {"QSO PARTNER", NamedRole::Callsign},
    {"STATION WORKED", NamedRole::Callsign},
    {"CALL-SIGN", NamedRole::Callsign},
    {"CALL SIGN WORKED", NamedRole::Callsign},
    {"GEGENSTATION", NamedRole::Callsign},
    {"PARTNER", NamedRole::Callsign},
    {"MY CALL", NamedRole::OwnCall},
    {"MYCALL", NamedRole::OwnCall},
    {"MY_CALL", NamedRole::OwnCall},
    {"OWN CALL", NamedRole::OwnCall},
    {"STATION CALLSIGN", NamedRole::OwnCall},
    {"STATION_CALLSIGN", NamedRole::OwnCall},
    {"OPERATOR", NamedRole::OwnCall},
    {"MY CALLSIGN", NamedRole::OwnCall},
    {"EIGENES RUFZEICHEN", NamedRole::OwnCall},
    // Names with letters past ASCII, as a heading upper-cased in ASCII
    // writes them: in UTF-8, and in Latin-1 or Windows-1251.
    {"OP\xC3\xA9RATEUR", NamedRole::OwnCall},
    {"OP\xE9RATEUR", NamedRole::OwnCall},
    {"OP", NamedRole::OwnCall},
    {"BEDIENER", NamedRole::OwnCall},
    {"\xD0\x9F\xD0\xBE\xD0\xB7\xD1\x8B\xD0\xB2\xD0\xBD\xD0\xBE\xD0\xB9", NamedRole::Callsign},  // Позывной
    {"\xD0\x9F\xD0\x9E\xD0\x97\xD0\xAB\xD0\x92\xD0\x9D\xD0\x9E\xD0\x99", NamedRole::Callsign},  // ПОЗЫВНОЙ
    {"\xCF\xEE\xE7\xFB\xE2\xED\xEE\xE9", NamedRole::Callsign},  // Позывной in Windows-1251
}};

}  // namespace

std::optional<NamedRole> roleNamed(std::string_view name) {
  // Blanks and quotes around the name go; blanks inside become one. No
  // known name is longer than the room, which costs no allocation: every
  // word of a heading is asked about.
  char room[32];
  std::size_t size = 0;
  bool blank = false;
  for (char c : name) {
    if (c == ' ' || c == '\t' || c == '"' || c == '\'') {
      blank = size > 0;
      continue;
    }
    if (size + 2 > sizeof room) return std::nullopt;
    if (blank) room[size++] = ' ';
    blank = false;
    room[size++] = toAsciiUpper(c);
  }
  const std::string_view words(room, size);
  for (const Name& known : kNames) {
    if (known.text == words) return known.role;
  }
  return std::nullopt;
}

}  // namespace quorvel
