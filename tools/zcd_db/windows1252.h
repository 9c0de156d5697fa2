#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zcd::tool {

// UTF-8 text as the 8-bit Windows Western text the database keeps;
// characters Windows-1252 lacks become "?". None when the text is not valid
// UTF-8 (overlong forms, surrogates and truncated sequences included).
std::optional<std::string> Utf8ToWindows1252(std::string_view utf8);

}  // namespace zcd::tool
