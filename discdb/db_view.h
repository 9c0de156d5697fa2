#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "discdb/db_file_io.h"
#include "discdb/db_format.h"
#include "discdb/db_key_match.h"
#include "discdb/db_lock.h"

namespace zcd {

// A database file opened for reading and mapped whole. Every offset and length
// taken from the file is checked against its size before use. The caller
// holds the database's lock for as long as it uses the view.
class DbView {
 public:
  enum class Kind { kMissing, kUnreadable, kNotADatabase, kDatabase };

  static DbView Open(const std::string& path);

  Kind kind() const { return kind_; }
  int64_t size() const { return size_; }
  const DbHead& head() const { return head_; }
  int fd() const { return fd_.get(); }
  std::string_view bytes() const { return mapping_.view(); }

  // Rows of the index that lie wholly inside the file.
  size_t row_count() const { return row_count_; }
  // True when the head's index offset and size describe rows the file holds.
  bool index_whole() const { return index_whole_; }
  const char* Row(size_t i) const { return rows_ + i * kDbRowSize; }
  const char* rows() const { return rows_; }
  // The first row from `from` on whose key matches; row_count() when none.
  // Reads the index in blocks: cheaper than faulting it in through the
  // mapping page by page.
  size_t FindRow(const DbKeyMatch& match, size_t from = 0) const;
  // The row's text; none when the row is damaged (see RowTextProblem).
  std::optional<std::string_view> Text(const char* row) const;

 private:
  Kind kind_ = Kind::kMissing;
  UniqueFd fd_;
  DbMapping mapping_;
  int64_t size_ = 0;
  DbHead head_;
  const char* rows_ = nullptr;
  size_t row_count_ = 0;
  bool index_whole_ = false;
};

struct DbLockedView {
  DbLock lock;
  DbView view;
};

// The database under a reader's lock; none when an interrupted write could
// not be undone (error tells why).
std::optional<DbLockedView> DbOpenForReading(const std::string& path, std::string* error);

}  // namespace zcd
