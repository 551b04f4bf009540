#pragma once

#include <string_view>

namespace quorvel {

// The band text a column text log's band value stands for in a record line:
// a frequency is cut at its first full stop (14.025 gives 14), except the
// band names that hold one themselves (1.8, 3.5, 3.6, 3.8, 10.1, 24.5).
std::string_view normaliseBand(std::string_view band);

// PSK31 is shown as PSK; every other mode as it stands.
std::string_view normaliseMode(std::string_view mode);

}  // namespace quorvel
