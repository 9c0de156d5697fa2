#pragma once

#include <string>
#include <string_view>

namespace zcd {

// Entry texts from outside (xmcd files, CDDB replies, command lines) as the
// Windows-1252 bytes the database keeps. Valid UTF-8 is converted
// (characters Windows-1252 lacks become "?"); anything else is older 8-bit
// data, ISO-8859-1 or Windows-1252, which is kept byte for byte. The choice
// is made for the whole text, so a text that mixes both is taken as 8-bit.
std::string EntryBytesToStored(std::string_view bytes);

}  // namespace zcd
