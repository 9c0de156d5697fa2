#include "discdb/db_format.h"

#include <cstdio>

namespace zcd {

DbHead DbHead::Parse(const char* p) {
  DbHead head;
  std::memcpy(head.magic.data(), p, 4);
  head.index_offset = LoadLe32(p + 4);
  head.index_size = LoadLe32(p + 8);
  return head;
}

void DbHead::Store(char* p) const {
  std::memcpy(p, magic.data(), 4);
  StoreLe32(p + 4, index_offset);
  StoreLe32(p + 8, index_size);
}

void FillRow(char* row, std::string_view key, int32_t offset, int32_t length) {
  std::memset(row, 0, kDbKeyField);
  std::memcpy(row, key.data(), std::min<size_t>(key.size(), kDbKeyField));
  StoreLe32(row + kDbKeyField, offset);
  StoreLe32(row + kDbKeyField + 4, length);
}

std::optional<std::string> RowTextProblem(const char* row, int64_t index_offset) {
  const int64_t offset = RowOffset(row);
  const int64_t length = RowLength(row);
  char text[160];
  if (!RowKeyTerminated(row)) {
    std::snprintf(text, sizeof text, "its key fills all %d bytes without a terminating zero",
                  kDbKeyField);
  } else if (length < 0) {
    std::snprintf(text, sizeof text, "its text length %lld is negative",
                  static_cast<long long>(length));
  } else if (offset < kDbHeadSize || offset + length > index_offset) {
    std::snprintf(text, sizeof text,
                  "its text at offset %lld with length %lld lies outside the text area "
                  "(%d to %lld)",
                  static_cast<long long>(offset), static_cast<long long>(length), kDbHeadSize,
                  static_cast<long long>(index_offset));
  } else {
    return std::nullopt;
  }
  return std::string(text);
}

bool HeadFitsFile(const DbHead& head, int64_t file_size) {
  return head.IsPack() && head.index_offset >= kDbHeadSize && head.index_size >= 0 &&
         head.index_size % kDbRowSize == 0 &&
         int64_t{head.index_offset} + head.index_size == file_size;
}

bool EntryFits(std::string_view key, std::string_view text) {
  return !key.empty() && key.size() < static_cast<size_t>(kDbKeyField) &&
         key.find('\0') == std::string_view::npos && !text.empty();
}

}  // namespace zcd
