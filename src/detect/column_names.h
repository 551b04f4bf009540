#pragma once

#include <optional>
#include <string_view>

namespace quorvel {

// What the header row of a text log may name a column.
enum class NamedRole { Date, Time, Band, Frequency, Mode, Submode, Callsign, OwnCall };

// The role a header names, in any letter case and with blanks or quotes
// around it: the ADIF field names (CALL, QSO_DATE, TIME_ON, BAND, FREQ,
// MODE, SUBMODE, STATION_CALLSIGN), the everyday words (Date, Time, UTC,
// Call worked, Their call, Contact, MHz, Emission, My call, Operator, ...)
// and those of the large non-English ham communities (Datum, Rufzeichen,
// Gegenstation, Fecha, Indicativo, Heure, Nominativo, ...). Nothing for any
// other name.
std::optional<NamedRole> roleNamed(std::string_view name);

}  // namespace quorvel
