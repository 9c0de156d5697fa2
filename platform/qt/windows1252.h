#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace zcd {

// The player keeps its texts as Windows-1252 bytes; widgets speak Unicode.
// Every byte decodes to one character and encodes back to the same byte
// (the five bytes Windows-1252 leaves unassigned pass as the C1 controls),
// so a text the user did not touch comes back unchanged.
QString FromWindows1252(std::string_view bytes);

// Characters Windows-1252 lacks become "?", one per character (a character
// outside the Basic Multilingual Plane too).
std::string ToWindows1252(const QString& text);

}  // namespace zcd
