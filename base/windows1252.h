#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zcd {

// The player keeps its texts as Windows-1252 bytes; terminals and widgets
// speak Unicode. Every byte decodes to one character and encodes back to the
// same byte (the five bytes Windows-1252 leaves unassigned pass as the C1
// controls), so a text nobody touched comes back unchanged.
char32_t DecodeWindows1252(char byte);
// Characters Windows-1252 lacks become "?".
char EncodeWindows1252(char32_t c);

// None when the text is not valid UTF-8 (overlong forms, surrogates and
// truncated sequences included).
std::optional<std::string> Utf8ToWindows1252(std::string_view utf8);
std::string Windows1252ToUtf8(std::string_view bytes);

}  // namespace zcd
