#pragma once

#include <optional>
#include <string_view>

namespace quorvel {

// What the header row of a text log may name a column.
enum class NamedRole { Date, Time, Band, Frequency, Mode, Submode, Callsign };

// The role a header names, in any letter case and with blanks or quotes
// around it: the ADIF field names (CALL, QSO_DATE, TIME_ON, BAND, FREQ,
// MODE, SUBMODE), the everyday words (Date, Time, UTC, Call worked, MHz,
// Emission, ...) and those of the large non-English ham communities
// (Datum, Rufzeichen, Fecha, Indicativo, Heure, Nominativo, ...). Nothing
// for any other name.
std::optional<NamedRole> roleNamed(std::string_view name);

}  // namespace quorvel
