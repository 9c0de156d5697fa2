#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zcd {

// One play-order entry as an entry text keeps it in its PLAYORDER value.
struct SavedPlayOrderItem {
  int track = 0;
  bool removed = false;
  bool operator==(const SavedPlayOrderItem&) const = default;
};

// The PLAYORDER value: "%d" per entry, "-%d" when removed, joined by ",".
// None when an entry's track lies outside 1..track_count.
std::optional<std::string> FormatPlayOrderValue(std::span<const SavedPlayOrderItem> items,
                                                int track_count);

// Reads a PLAYORDER value: numbers separated by "," or line feeds, empty
// pieces skipped, at most max_items read. None when a number is 0, names a
// track beyond track_count, or a piece is not a number at all.
std::optional<std::vector<SavedPlayOrderItem>> ParsePlayOrderValue(std::string_view value,
                                                                   int track_count, int max_items);

}  // namespace zcd
