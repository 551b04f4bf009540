#pragma once

#include <array>
#include <string_view>

namespace quorvel {

// The Unicode code point of each byte of an 8-bit code page that Windows
// programs declare in their ADX logs and the XML parser does not know:
// windows-1252 (cp1252) and ISO-8859-15. The bytes Windows-1252 leaves
// undefined read as the Latin-1 characters of their value, as the ADIF
// reader reads them as they stand. False for any other name, in any
// letter case.
bool codePageMap(std::string_view name, std::array<int, 256>& map);

}  // namespace quorvel
