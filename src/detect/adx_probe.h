#pragma once

#include <string_view>

namespace quorvel {

// Whether a log is ADX, ADIF written as XML, by `start`, its first
// kAdifProbeSize bytes (or all of a shorter log) as the readers see them:
// after white space it begins with an XML
// declaration or an ADX element, and the first element after the
// declaration, comments, processing instructions and a document type is
// ADX, its name in any letter case. A log whose root element begins past
// `start` is not taken for ADX.
bool probeAdx(std::string_view start);

}  // namespace quorvel
