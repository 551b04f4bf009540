#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvel {

// How wide a piece of a log quoted in a console message may be.
inline constexpr std::size_t kQuotedWidth = 40;

// `bytes` of a log as a console message may quote them: no byte of a log
// ever reaches the terminal as a control. C0 controls (tab included), DEL,
// C1 controls written in UTF-8, and bytes 0x80-0x9F that are not part of a
// valid UTF-8 sequence are written "\x1B"-style; every other byte stands as
// it is, so printable ASCII, UTF-8 letters and Latin-1 letters are quoted
// unchanged. Past `width` characters (an escape counts as its four) the
// text is cut, and "..." marks the cut.
std::string visibleText(std::string_view bytes, std::size_t width = kQuotedWidth);

// A file's name as a message shows it: whole, its control bytes escaped
// as visibleText escapes them, so that a name made of escape codes (in a
// shared folder, through a wildcard) cannot drive the terminal.
inline std::string shownName(std::string_view name) { return visibleText(name, SIZE_MAX); }

}  // namespace quorvel
