#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "discdb/db_file_io.h"

namespace zcd {

// The texts a session adds, kept in an unnamed file beside the database
// rather than in memory, back to back in the order they came.
class DbSpill {
 public:
  static std::optional<DbSpill> Create(const std::string& db_path);
  DbSpill(DbSpill&&) noexcept = default;
  DbSpill& operator=(DbSpill&&) noexcept = default;

  // Where the text starts; none when it cannot be written.
  std::optional<int64_t> Append(std::string_view text);
  std::optional<std::string> Read(int64_t position, int64_t length);
  // Everything appended so far, mapped for reading.
  std::optional<DbMapping> MapAll();
  int64_t size() const { return size_; }

 private:
  DbSpill() = default;
  bool Flush();

  UniqueFd fd_;
  std::vector<char> buffer_;
  int64_t flushed_ = 0;
  int64_t size_ = 0;
};

}  // namespace zcd
