#include "discdb/db_spill.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace zcd {
namespace {

constexpr size_t kBufferSize = 1 << 20;

}  // namespace

std::optional<DbSpill> DbSpill::Create(const std::string& db_path) {
  DbSpill spill;
  const auto slash = db_path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : db_path.substr(0, slash + 1);
  spill.fd_ = DbOpen(folder, O_RDWR | O_TMPFILE, 0600);
  if (!spill.fd_.valid()) {
    const std::string path = DbSidePath(db_path, "-spill");
    spill.fd_ = DbOpen(path, O_RDWR | O_CREAT | O_TRUNC, 0600);
    if (!spill.fd_.valid())
      return std::nullopt;
    ::unlink(path.c_str());
  }
  spill.buffer_.reserve(kBufferSize);
  return spill;
}

bool DbSpill::Flush() {
  if (buffer_.empty())
    return true;
  if (!DbWriteAtUngated(fd_.get(), buffer_.data(), buffer_.size(), flushed_))
    return false;
  flushed_ += static_cast<int64_t>(buffer_.size());
  buffer_.clear();
  return true;
}

std::optional<int64_t> DbSpill::Append(std::string_view text) {
  const int64_t position = size_;
  if (buffer_.size() + text.size() > kBufferSize) {
    if (!Flush())
      return std::nullopt;
    if (text.size() >= kBufferSize) {
      if (!DbWriteAtUngated(fd_.get(), text.data(), text.size(), flushed_))
        return std::nullopt;
      flushed_ += static_cast<int64_t>(text.size());
      size_ = flushed_;
      return position;
    }
  }
  buffer_.insert(buffer_.end(), text.begin(), text.end());
  size_ += static_cast<int64_t>(text.size());
  return position;
}

std::optional<std::string> DbSpill::Read(int64_t position, int64_t length) {
  if (position + length > flushed_ && !Flush())
    return std::nullopt;
  std::string text(static_cast<size_t>(length), '\0');
  if (!DbReadAt(fd_.get(), text.data(), text.size(), position))
    return std::nullopt;
  return text;
}

std::optional<DbMapping> DbSpill::MapAll() {
  if (!Flush())
    return std::nullopt;
  return DbMapping::Map(fd_.get(), 0, size_);
}

}  // namespace zcd
