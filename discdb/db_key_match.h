#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zcd {

// The test every lookup applies to index rows: does the row's key contain the
// search text anywhere. Keys are compared as stored bytes; the search text
// counts up to its first zero byte.
class DbKeyMatch {
 public:
  explicit DbKeyMatch(std::string_view search);

  bool Matches(std::string_view key) const;
  // The first of `count` 64-byte rows from row `from` on whose key matches;
  // count when none does.
  size_t FindRow(const char* rows, size_t count, size_t from = 0) const;
  // As FindRow, for rows followed by at least one more row's worth of
  // readable bytes.
  size_t FindRowFollowed(const char* rows, size_t count, size_t from = 0) const;

 private:
  // Reads up to 128 bytes from row.
  bool RowMatchesPadded(const char* row) const;

  std::string needle_;
};

// Whether a change by `search` (a delete, or the read a replace starts
// with) takes the row keyed `key`, one whose key contains it. A full key
// ("rock/0a1b2c3d": a category, "/" and an 8-character identifier) takes
// that key alone, so replacing or deleting "rock/X" never touches
// "punkrock/X"; anything else takes every key containing it, as a lookup
// finds it, so a bare disc identifier takes the disc under every category.
bool ChangeTakes(std::string_view search, std::string_view key);

}  // namespace zcd
