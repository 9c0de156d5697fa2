#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace zcd {

// The test every lookup applies to index rows: equal to a full key
// (IsFullKey), else containing the search text anywhere. Keys are compared as
// stored bytes; the search text counts up to its first zero byte.
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
  bool whole_key_ = false;
  // A full key shorter than 16 bytes and its zero, zero-padded: one compare
  // of a row's first 16 bytes settles it.
  std::array<char, 16> short_key_{};
  bool short_key_fits_ = false;
};

// A full key: a category, "/" and an 8-character identifier, as EntryKey
// spells it. A full key finds and deletes that key alone, so "rock/X" never
// reaches "punkrock/X"; any other search text matches every key containing
// it, so a bare identifier finds the disc under every category, cached
// entries included.
bool IsFullKey(std::string_view search);

}  // namespace zcd
