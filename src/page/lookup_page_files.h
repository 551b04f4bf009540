#pragma once

#include <string_view>

namespace quorvel {

// The lookup page's own source, lookup.html, lookup.css and lookup.js
// beside this header, as the build embedded them.
std::string_view lookupPageHtml();
std::string_view lookupPageStyle();
std::string_view lookupPageScript();

}  // namespace quorvel
