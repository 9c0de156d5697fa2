#pragma once

#include <optional>
#include <string>

namespace zcd {

// "Artist / Album" -> "Artist"; none when there is no slash.
std::optional<std::string> SplitBeforeSlash(const std::string& text);
// "Artist / Album" -> "Album"; the whole text when there is no slash.
std::string SplitAfterSlash(const std::string& text);

}  // namespace zcd
