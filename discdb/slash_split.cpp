#include "discdb/slash_split.h"

namespace zcd {

std::optional<std::string> SplitBeforeSlash(const std::string& text) {
  const auto slash = text.find('/');
  if (slash == std::string::npos)
    return std::nullopt;
  std::string before = text.substr(0, slash);
  const auto last = before.find_last_not_of(' ');
  // All blanks: one blank remains, so the artist is never silently empty.
  if (last == std::string::npos)
    return before.empty() ? before : std::string(" ");
  before.resize(last + 1);
  return before;
}

std::string SplitAfterSlash(const std::string& text) {
  const auto slash = text.find('/');
  if (slash == std::string::npos)
    return text;
  const auto start = text.find_first_not_of(' ', slash + 1);
  return start == std::string::npos ? std::string() : text.substr(start);
}

}  // namespace zcd
