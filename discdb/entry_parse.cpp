#include "discdb/entry_parse.h"

#include <charconv>
#include <limits>

namespace zcd::entry_parse {

int32_t ParseDecimal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  // Entries come from files and servers: saturate instead of overflowing.
  constexpr int64_t kLimit = std::numeric_limits<int32_t>::max();
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kLimit)
      value = kLimit;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

std::size_t FindAtLineStart(std::string_view text, std::string_view key, std::size_t from) {
  std::size_t at = text.find(key, from);
  while (at != std::string_view::npos && at != 0 && text[at - 1] != '\n')
    at = text.find(key, at + 1);
  return at;
}

std::optional<int32_t> NumberAfterLabel(std::string_view text, std::string_view label) {
  const std::size_t at = FindAtLineStart(text, label);
  if (at == std::string_view::npos)
    return std::nullopt;
  std::string_view rest = text.substr(at + label.size());
  rest = rest.substr(0, rest.find('\n'));
  if (!rest.empty() && rest.back() == '\r')
    rest.remove_suffix(1);
  if (rest.find_first_not_of(" \t") == std::string_view::npos)
    return std::nullopt;
  return ParseDecimal(rest);
}

std::size_t LineStart(std::string_view text, std::size_t pos) {
  if (pos == 0)
    return 0;
  const std::size_t lf = text.rfind('\n', pos - 1);
  return lf == std::string_view::npos ? 0 : lf + 1;
}

std::string TrackKey(std::string_view prefix, int n) {
  char digits[12];
  const auto result = std::to_chars(digits, digits + sizeof digits, n);
  std::string key;
  key.reserve(prefix.size() + static_cast<std::size_t>(result.ptr - digits) + 1);
  key.append(prefix);
  key.append(digits, result.ptr);
  key.push_back('=');
  return key;
}

}  // namespace zcd::entry_parse
