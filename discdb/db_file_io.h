#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/unique_fd.h"

namespace zcd {

// File handles, mappings and the writes of the database layer. Every
// modification passes through DbIoStep so that tests can stop a writer at any
// point (see db_test_seam.h).

// open(2) with O_CLOEXEC; an invalid handle on failure (errno kept).
UniqueFd DbOpen(const std::string& path, int flags, int mode = 0644);
// Size of an open file, -1 on failure.
int64_t DbFileSize(int fd);

class DbMapping {
 public:
  DbMapping() = default;
  DbMapping(DbMapping&& other) noexcept;
  DbMapping& operator=(DbMapping&& other) noexcept;
  ~DbMapping();

  // Maps [offset, offset + length) of the file for reading; offset need not
  // be page aligned. An empty mapping for length 0, none on failure.
  static std::optional<DbMapping> Map(int fd, int64_t offset, int64_t length);

  char* data() const { return data_; }
  int64_t size() const { return length_; }
  std::string_view view() const { return {data_, static_cast<size_t>(length_)}; }

 private:
  void* base_ = nullptr;
  size_t base_length_ = 0;
  char* data_ = nullptr;
  int64_t length_ = 0;
};

// The gate every modification passes: true to carry out all `bytes` of it;
// false to write only the first *allowed bytes (possibly none) and then give
// up, because a simulated crash strikes here. Any thread.
bool DbIoStep(size_t bytes, size_t* allowed);
// As above for a modification that has no bytes to tear (sync, rename...).
bool DbIoStep();

bool DbReadAt(int fd, void* buffer, size_t length, int64_t offset);
bool DbWriteAt(int fd, const void* buffer, size_t length, int64_t offset);
// As DbWriteAt but past the crash seam: for files that hold no part of the
// database.
bool DbWriteAtUngated(int fd, const void* buffer, size_t length, int64_t offset);
// Copies `length` bytes from one file's offset to another's (or the same
// file's, when `to` does not lie after `from`), front to back in chunks, each
// chunk one modification.
bool DbCopyAt(int from_fd, int64_t from, int to_fd, int64_t to, int64_t length);
bool DbTruncate(int fd, int64_t size);
bool DbSyncData(int fd);
bool DbSyncDirectoryOf(const std::string& path);
bool DbRename(const std::string& from, const std::string& to);
// True when the file is gone afterwards (also when it was never there).
bool DbRemove(const std::string& path);
bool DbExists(const std::string& path);

// "<db>-journal" and friends, beside the database.
std::string DbSidePath(const std::string& db_path, std::string_view suffix);

}  // namespace zcd
