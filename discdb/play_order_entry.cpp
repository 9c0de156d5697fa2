#include "discdb/play_order_entry.h"

#include <charconv>

namespace zcd {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

std::string_view TrimBlanks(std::string_view piece) {
  while (!piece.empty() && IsBlank(piece.front()))
    piece.remove_prefix(1);
  while (!piece.empty() && IsBlank(piece.back()))
    piece.remove_suffix(1);
  return piece;
}

// A hand-edited or damaged value must not turn into an order nobody wrote,
// so anything but a whole signed decimal number is refused.
std::optional<int> ReadNumber(std::string_view piece) {
  int number = 0;
  const char* end = piece.data() + piece.size();
  auto [stop, error] = std::from_chars(piece.data(), end, number);
  if (error != std::errc() || stop != end)
    return std::nullopt;
  return number;
}

}  // namespace

std::optional<std::string> FormatPlayOrderValue(std::span<const SavedPlayOrderItem> items,
                                                int track_count) {
  std::string value;
  for (const SavedPlayOrderItem& item : items) {
    if (item.track < 1 || item.track > track_count)
      return std::nullopt;
    if (!value.empty())
      value += ',';
    if (item.removed)
      value += '-';
    value += std::to_string(item.track);
  }
  return value;
}

std::optional<std::vector<SavedPlayOrderItem>> ParsePlayOrderValue(std::string_view value,
                                                                   int track_count, int max_items) {
  std::vector<SavedPlayOrderItem> items;
  size_t start = 0;
  while (start <= value.size() && static_cast<int>(items.size()) < max_items) {
    size_t stop = value.find_first_of(",\n", start);
    if (stop == std::string_view::npos)
      stop = value.size();
    std::string_view piece = TrimBlanks(value.substr(start, stop - start));
    start = stop + 1;
    if (piece.empty())
      continue;
    std::optional<int> number = ReadNumber(piece);
    if (!number || *number == 0 || *number < -track_count || *number > track_count)
      return std::nullopt;
    items.push_back({*number < 0 ? -*number : *number, *number < 0});
  }
  return items;
}

}  // namespace zcd
