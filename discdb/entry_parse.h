#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zcd::entry_parse {

// Helpers shared by the entry-text files; not part of the public API.

// Reads like atoi but stays inside its argument: blanks and tabs skipped, an
// optional sign, decimal digits; 0 without digits; clamped to 32 bits.
int32_t ParseDecimal(std::string_view text);

// The number after the first line-starting label, read on that line.
// None when label is missing or only blanks follow it on that line.
std::optional<int32_t> NumberAfterLabel(std::string_view text, std::string_view label);

// Where key first begins a line at or after `from`; npos when nowhere. Key
// text inside a value (a title "TTITLE0=..." or "# Revision: 9") is the
// value's, never a key.
std::size_t FindAtLineStart(std::string_view text, std::string_view key, std::size_t from = 0);

// Start of the line holding position pos.
std::size_t LineStart(std::string_view text, std::size_t pos);

// "%s%d=" of prefix and n: TrackKey("TTITLE", 2) is "TTITLE2=".
std::string TrackKey(std::string_view prefix, int n);

}  // namespace zcd::entry_parse
