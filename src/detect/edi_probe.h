#pragma once

#include <string_view>

namespace quorvel {

// Whether a log is a REG1TEST contest log (.edi) by `start`, its first
// bytes as the readers see them: after white space, its first line opens
// with "[REG1TEST", in any letter case.
bool probeEdi(std::string_view start);

}  // namespace quorvel
