#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zcd::tool {

struct XmcdEntry {
  std::string key;   // "category/discid"
  std::string text;  // as the database keeps it
};

// Turns one xmcd file into a database entry: Windows-1252 texts (converted
// from UTF-8, 8-bit texts kept as they are), CR LF line ends, the head line
// "200 category discid" and a final "." line. The category comes from the
// file's head line or else from its folder's name, the disc identifier from
// the head line, else from the file's name when that is one (as in a dump
// tree), else from the first DISCID value. None, with error set to the
// reason, for a file that is not an xmcd entry.
std::optional<XmcdEntry> ReadXmcdEntry(std::string_view content, const std::string& folder_name,
                                       const std::string& file_name, std::string& error);

}  // namespace zcd::tool
