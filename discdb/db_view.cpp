#include "discdb/db_view.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace zcd {

DbView DbView::Open(const std::string& path) {
  DbView view;
  view.fd_ = DbOpen(path, O_RDONLY);
  if (!view.fd_.valid()) {
    view.kind_ = errno == ENOENT ? Kind::kMissing : Kind::kUnreadable;
    return view;
  }
  view.size_ = DbFileSize(view.fd_.get());
  auto mapping = view.size_ >= 0 ? DbMapping::Map(view.fd_.get(), 0, view.size_) : std::nullopt;
  if (!mapping) {
    view.kind_ = Kind::kUnreadable;
    return view;
  }
  view.mapping_ = std::move(*mapping);
  if (view.size_ < kDbHeadSize) {
    view.kind_ = Kind::kNotADatabase;
    return view;
  }
  view.head_ = DbHead::Parse(view.mapping_.data());
  if (!view.head_.IsPack()) {
    view.kind_ = Kind::kNotADatabase;
    return view;
  }
  view.kind_ = Kind::kDatabase;
  const int64_t offset = view.head_.index_offset;
  const int64_t size = view.head_.index_size;
  if (offset < kDbHeadSize || offset > view.size_ || size < 0)
    return view;
  const int64_t declared = size / kDbRowSize;
  const int64_t present = (view.size_ - offset) / kDbRowSize;
  view.rows_ = view.mapping_.data() + offset;
  view.row_count_ = static_cast<size_t>(std::min(declared, present));
  view.index_whole_ = size % kDbRowSize == 0 && declared <= present;
  return view;
}

size_t DbView::FindRow(const DbKeyMatch& match, size_t from) const {
  constexpr size_t kBlockRows = 4096;
  thread_local std::vector<char> block((kBlockRows + 1) * kDbRowSize);
  for (size_t first = from; first < row_count_; first += kBlockRows) {
    const size_t count = std::min(kBlockRows, row_count_ - first);
    if (!DbReadAt(fd(), block.data(), count * kDbRowSize,
                  head_.index_offset + static_cast<int64_t>(first * kDbRowSize)))
      return match.FindRow(rows_, row_count_, first);
    const size_t found = match.FindRowFollowed(block.data(), count);
    if (found < count)
      return first + found;
  }
  return row_count_;
}

std::optional<std::string_view> DbView::Text(const char* row) const {
  if (!RowReadable(row, head_.index_offset))
    return std::nullopt;
  return std::string_view(mapping_.data() + RowOffset(row), static_cast<size_t>(RowLength(row)));
}

std::optional<DbLockedView> DbOpenForReading(const std::string& path, std::string* error) {
  auto lock = DbLock::Acquire(path, DbLock::Mode::kShared, error);
  if (!lock)
    return std::nullopt;
  DbView view = DbView::Open(path);
  // Without a lock file the file opened is one no writer has touched yet, and
  // writers replace such a file before changing anything in place (see
  // DbLock::in_place_allowed), unless a writer made the lock file meanwhile:
  // then take its lock after all.
  if (!lock->guarded() && access(DbSidePath(path, "-lock").c_str(), F_OK) == 0) {
    view = DbView();
    lock.reset();
    lock = DbLock::Acquire(path, DbLock::Mode::kShared, error);
    if (!lock)
      return std::nullopt;
    view = DbView::Open(path);
  }
  return DbLockedView{std::move(*lock), std::move(view)};
}

}  // namespace zcd
