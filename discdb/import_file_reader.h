#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zcd {

// Reads another database file for an import, row by row in index order, in
// one forward pass: the index in large chunks, the texts through a window
// that follows them, since the texts of a file this program wrote lie in
// index order. The magic is not checked, so files with another tag merge too.
class ImportFileReader {
 public:
  struct Row {
    std::string key;
    std::string text;
  };
  enum class Status { kRow, kEnd, kDamaged };

  // None when the file cannot be opened for reading.
  static std::optional<ImportFileReader> Open(const std::string& path);
  ImportFileReader(ImportFileReader&& other) noexcept;
  ImportFileReader& operator=(ImportFileReader&&) = delete;
  ImportFileReader(const ImportFileReader&) = delete;
  ImportFileReader& operator=(const ImportFileReader&) = delete;
  ~ImportFileReader();

  // The number of rows the head announces (0 for a negative size).
  int64_t row_count() const { return row_count_; }
  // The next row; kDamaged for a row that cannot be read or whose text lies
  // outside the text area, and for a file too short to hold its head.
  Status Next(Row& row);

 private:
  explicit ImportFileReader(int fd) : fd_(fd) {}
  bool ReadHead();
  bool ReadAt(int64_t offset, size_t size, std::string& out);
  bool FillIndex();

  int fd_ = -1;
  int64_t file_size_ = 0;
  bool head_ok_ = false;
  int64_t index_offset_ = 0;
  int64_t row_count_ = 0;
  int64_t next_row_ = 0;
  std::string index_chunk_;
  size_t index_pos_ = 0;
  std::string window_;
  int64_t window_offset_ = 0;
};

}  // namespace zcd
