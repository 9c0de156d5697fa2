#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "discdb/db_file_io.h"

namespace zcd {

// Writes a whole database file as "<db>-new" and puts it in the database's
// place with one rename, so that readers and a writer killed at any point see
// either the old file or the new one, whole. The new file is synced first.
class DbFileWriter {
 public:
  // The caller holds the database's exclusive lock.
  static std::optional<DbFileWriter> Create(const std::string& db_path);
  DbFileWriter(DbFileWriter&&) noexcept = default;
  DbFileWriter& operator=(DbFileWriter&&) noexcept = default;
  ~DbFileWriter();

  // Texts, back to back from offset 12; then whole index rows.
  bool AppendText(std::string_view bytes);
  bool AppendRows(std::string_view rows);
  // Where the next text goes.
  int64_t position() const { return position_; }

  // Writes the head ("PACK", end of texts, size of rows), syncs and renames.
  bool Commit();

 private:
  DbFileWriter() = default;
  bool Append(std::string_view bytes);
  bool Flush();
  bool Fail();

  std::string db_path_;
  std::string temp_path_;
  UniqueFd fd_;
  std::vector<char> buffer_;
  int64_t flushed_ = 0;
  int64_t position_ = 0;
  std::optional<int64_t> text_end_;
  bool failed_ = false;
  bool committed_ = false;
};

}  // namespace zcd
