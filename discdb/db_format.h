#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "discdb/database.h"

namespace zcd {

// Byte-level reading and writing of the database file's head and index rows.

inline constexpr std::array<char, 4> kDbMagic = {'P', 'A', 'C', 'K'};
inline constexpr int64_t kDbMaxFileSize = INT32_MAX;

inline int32_t LoadLe32(const char* p) {
  const auto* b = reinterpret_cast<const unsigned char*>(p);
  return static_cast<int32_t>(uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 |
                              uint32_t{b[3]} << 24);
}

inline void StoreLe32(char* p, int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i)
    p[i] = static_cast<char>((v >> (8 * i)) & 0xff);
}

struct DbHead {
  std::array<char, 4> magic{};
  int32_t index_offset = 0;
  int32_t index_size = 0;

  bool IsPack() const { return magic == kDbMagic; }
  static DbHead Parse(const char* p);
  void Store(char* p) const;
};

// The key of a row: its bytes up to the first zero, all 56 when there is none.
inline std::string_view RowKey(const char* row) {
  const void* zero = std::memchr(row, 0, kDbKeyField);
  const auto length = zero ? static_cast<const char*>(zero) - row : kDbKeyField;
  return {row, static_cast<size_t>(length)};
}
inline bool RowKeyTerminated(const char* row) {
  return std::memchr(row, 0, kDbKeyField) != nullptr;
}
inline int32_t RowOffset(const char* row) {
  return LoadLe32(row + kDbKeyField);
}
inline int32_t RowLength(const char* row) {
  return LoadLe32(row + kDbKeyField + 4);
}

// A row with the key zero-padded to its field.
void FillRow(char* row, std::string_view key, int32_t offset, int32_t length);

// True when the row has a terminated key and a text inside the text area of
// a file whose texts end at index_offset.
inline bool RowReadable(const char* row, int64_t index_offset) {
  const int64_t offset = RowOffset(row);
  const int64_t length = RowLength(row);
  return length >= 0 && offset >= kDbHeadSize && offset + length <= index_offset &&
         RowKeyTerminated(row);
}

// Why the row's text cannot be read from a file whose texts end at
// index_offset; none when it can.
std::optional<std::string> RowTextProblem(const char* row, int64_t index_offset);

// What a writer may take for granted: "PACK", a whole number of rows, and an
// index that ends the file exactly.
bool HeadFitsFile(const DbHead& head, int64_t file_size);

// The search text as a lookup uses it: up to its first zero byte.
inline std::string_view SearchText(std::string_view search) {
  return search.substr(0, search.find('\0'));
}

// True when an add would store them; an add refuses anything else with 0.
bool EntryFits(std::string_view key, std::string_view text);

}  // namespace zcd
