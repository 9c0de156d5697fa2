#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zcd::test {

// Database file pieces written by hand, to build exact and damaged files.
inline std::string Le32(int32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i)
    s[i] = static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xff);
  return s;
}

inline std::string Row(std::string_view key, int32_t offset, int32_t length) {
  std::string row(key);
  row.resize(56, '\0');
  return row + Le32(offset) + Le32(length);
}

inline std::string Head(int32_t index_offset, int32_t index_size) {
  return "PACK" + Le32(index_offset) + Le32(index_size);
}

// The file with index row `row` (from 0) given a text offset (field 0) or
// length (field 1) of `value`.
inline std::string WithRowField(std::string file, int row, int field, int32_t value) {
  uint32_t index = 0;
  for (int i = 7; i >= 4; --i)
    index = index << 8 | static_cast<unsigned char>(file[i]);
  return file.replace(index + 64 * row + 56 + 4 * field, 4, Le32(value));
}

}  // namespace zcd::test
