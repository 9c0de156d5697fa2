#include "discdb/db_file_io.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "discdb/db_test_seam.h"

namespace zcd {
namespace {

std::atomic<bool> g_crash_armed{false};
std::atomic<long> g_steps_left{0};
std::atomic<bool> g_crashed{false};
std::atomic<DbCrashKind> g_crash_kind{DbCrashKind::kBefore};
std::atomic<bool> g_sync_enabled{true};

// Moves all `length` bytes at `offset` with pread or pwrite, whichever `io`
// is, going on after short transfers and interruptions.
template <typename Byte, typename Io>
bool TransferAt(int fd, Byte* p, size_t length, int64_t offset, Io io) {
  while (length > 0) {
    const ssize_t n = io(fd, p, length, offset);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return false;
    p += n;
    length -= static_cast<size_t>(n);
    offset += n;
  }
  return true;
}

}  // namespace

void DbSimulateCrashAfter(long steps, DbCrashKind kind) {
  g_crashed = false;
  g_crash_kind = kind;
  g_steps_left = steps;
  g_crash_armed = steps >= 0;
}

bool DbSimulatedCrashHappened() {
  return g_crashed;
}

bool DbSetSyncEnabled(bool enabled) {
  return g_sync_enabled.exchange(enabled);
}

bool DbIoStep(size_t bytes, size_t* allowed) {
  if (!g_crash_armed.load(std::memory_order_relaxed)) [[likely]]
    return true;
  *allowed = 0;
  if (g_crashed)
    return false;
  if (g_steps_left.fetch_sub(1) > 0)
    return true;
  g_crashed = true;
  if (g_crash_kind == DbCrashKind::kTorn)
    *allowed = bytes / 2;
  return false;
}

bool DbIoStep() {
  size_t ignored = 0;
  return DbIoStep(0, &ignored);
}

UniqueFd DbOpen(const std::string& path, int flags, int mode) {
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return UniqueFd(fd);
}

int64_t DbFileSize(int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0)
    return -1;
  return st.st_size;
}

DbMapping::DbMapping(DbMapping&& other) noexcept
    : base_(std::exchange(other.base_, nullptr)),
      base_length_(std::exchange(other.base_length_, 0)),
      data_(std::exchange(other.data_, nullptr)),
      length_(std::exchange(other.length_, 0)) {}

DbMapping& DbMapping::operator=(DbMapping&& other) noexcept {
  if (this != &other) {
    if (base_)
      ::munmap(base_, base_length_);
    base_ = std::exchange(other.base_, nullptr);
    base_length_ = std::exchange(other.base_length_, 0);
    data_ = std::exchange(other.data_, nullptr);
    length_ = std::exchange(other.length_, 0);
  }
  return *this;
}

DbMapping::~DbMapping() {
  if (base_)
    ::munmap(base_, base_length_);
}

std::optional<DbMapping> DbMapping::Map(int fd, int64_t offset, int64_t length) {
  DbMapping mapping;
  if (length <= 0 || offset < 0)
    return length == 0 ? std::optional(std::move(mapping)) : std::nullopt;
  static const int64_t page = ::sysconf(_SC_PAGESIZE);
  const int64_t base = offset - offset % page;
  const size_t base_length = static_cast<size_t>(length + (offset - base));
  void* p = ::mmap(nullptr, base_length, PROT_READ, MAP_SHARED, fd, base);
  if (p == MAP_FAILED)
    return std::nullopt;
  mapping.base_ = p;
  mapping.base_length_ = base_length;
  mapping.data_ = static_cast<char*>(p) + (offset - base);
  mapping.length_ = length;
  return mapping;
}

bool DbReadAt(int fd, void* buffer, size_t length, int64_t offset) {
  return TransferAt(fd, static_cast<char*>(buffer), length, offset, ::pread);
}

bool DbWriteAtUngated(int fd, const void* buffer, size_t length, int64_t offset) {
  return TransferAt(fd, static_cast<const char*>(buffer), length, offset, ::pwrite);
}

bool DbWriteAt(int fd, const void* buffer, size_t length, int64_t offset) {
  size_t allowed = 0;
  if (!DbIoStep(length, &allowed)) {
    DbWriteAtUngated(fd, static_cast<const char*>(buffer), allowed, offset);
    return false;
  }
  return DbWriteAtUngated(fd, static_cast<const char*>(buffer), length, offset);
}

bool DbCopyAt(int from_fd, int64_t from, int to_fd, int64_t to, int64_t length) {
  constexpr int64_t kChunk = 4 << 20;
  // The kernel copies between page caches without a trip through this
  // process; where it cannot (same file, other file systems) the bytes go
  // through a buffer.
  bool in_kernel = from_fd != to_fd;
  thread_local std::vector<char> buffer;
  for (int64_t done = 0; done < length;) {
    auto bytes = static_cast<size_t>(std::min(length - done, kChunk));
    size_t allowed = 0;
    const bool whole = DbIoStep(bytes, &allowed);
    if (!whole)
      bytes = allowed;
    size_t copied = 0;
    while (in_kernel && copied < bytes) {
      loff_t in = from + done + static_cast<int64_t>(copied);
      loff_t out = to + done + static_cast<int64_t>(copied);
      const ssize_t n = ::copy_file_range(from_fd, &in, to_fd, &out, bytes - copied, 0);
      if (n < 0 && errno == EINTR)
        continue;
      if (n <= 0) {
        if (copied > 0 ||
            (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP))
          return false;
        in_kernel = false;
        break;
      }
      copied += static_cast<size_t>(n);
    }
    if (!in_kernel) {
      buffer.resize(bytes);
      if (!DbReadAt(from_fd, buffer.data(), bytes, from + done) ||
          !DbWriteAtUngated(to_fd, buffer.data(), bytes, to + done))
        return false;
    }
    if (!whole)
      return false;
    done += static_cast<int64_t>(bytes);
  }
  return true;
}

bool DbTruncate(int fd, int64_t size) {
  return DbIoStep() && ::ftruncate(fd, size) == 0;
}

bool DbSyncData(int fd) {
  return DbIoStep() && (!g_sync_enabled || ::fdatasync(fd) == 0);
}

bool DbSyncDirectoryOf(const std::string& path) {
  if (!DbIoStep())
    return false;
  if (!g_sync_enabled)
    return true;
  const auto slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const UniqueFd dir = DbOpen(folder, O_RDONLY | O_DIRECTORY);
  return dir.valid() && ::fsync(dir.get()) == 0;
}

bool DbRename(const std::string& from, const std::string& to) {
  return DbIoStep() && ::rename(from.c_str(), to.c_str()) == 0;
}

bool DbRemove(const std::string& path) {
  if (!DbExists(path))
    return true;
  return DbIoStep() && (::unlink(path.c_str()) == 0 || errno == ENOENT);
}

bool DbExists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

std::string DbSidePath(const std::string& db_path, std::string_view suffix) {
  std::string side = db_path;
  side += suffix;
  return side;
}

}  // namespace zcd
