#include "discdb/db_file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>

#include "discdb/db_format.h"

namespace zcd {
namespace {

constexpr size_t kBufferSize = 4 << 20;

}  // namespace

std::optional<DbFileWriter> DbFileWriter::Create(const std::string& db_path) {
  DbFileWriter writer;
  writer.db_path_ = db_path;
  writer.temp_path_ = DbSidePath(db_path, "-new");
  if (!DbIoStep())
    return std::nullopt;
  writer.fd_ = DbOpen(writer.temp_path_, O_RDWR | O_CREAT | O_TRUNC, 0644);
  if (!writer.fd_.valid())
    return std::nullopt;
  struct stat old {};
  if (::stat(db_path.c_str(), &old) == 0)
    ::fchmod(writer.fd_.get(), old.st_mode & 07777);
  writer.buffer_.reserve(kBufferSize);
  writer.buffer_.resize(kDbHeadSize);  // the head is written last
  writer.position_ = kDbHeadSize;
  return writer;
}

DbFileWriter::~DbFileWriter() {
  if (fd_.valid() && !committed_) {
    fd_ = UniqueFd();
    DbRemove(temp_path_);
  }
}

bool DbFileWriter::Flush() {
  if (failed_)
    return false;
  if (!buffer_.empty() && !DbWriteAt(fd_.get(), buffer_.data(), buffer_.size(), flushed_))
    failed_ = true;
  flushed_ += static_cast<int64_t>(buffer_.size());
  buffer_.clear();
  return !failed_;
}

bool DbFileWriter::Fail() {
  failed_ = true;
  return false;
}

bool DbFileWriter::Append(std::string_view bytes) {
  if (failed_ || position_ + static_cast<int64_t>(bytes.size()) > kDbMaxFileSize)
    return Fail();
  if (buffer_.size() + bytes.size() > kBufferSize) {
    if (!Flush())
      return false;
    if (bytes.size() >= kBufferSize) {
      if (!DbWriteAt(fd_.get(), bytes.data(), bytes.size(), flushed_))
        return Fail();
      flushed_ += static_cast<int64_t>(bytes.size());
      position_ += static_cast<int64_t>(bytes.size());
      return true;
    }
  }
  buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
  position_ += static_cast<int64_t>(bytes.size());
  return true;
}

bool DbFileWriter::AppendText(std::string_view bytes) {
  if (text_end_)
    return Fail();
  return Append(bytes);
}

bool DbFileWriter::AppendRows(std::string_view rows) {
  if (!text_end_)
    text_end_ = position_;
  return Append(rows);
}

bool DbFileWriter::Commit() {
  const int64_t text_end = text_end_.value_or(position_);
  DbHead head;
  head.magic = kDbMagic;
  head.index_offset = static_cast<int32_t>(text_end);
  head.index_size = static_cast<int32_t>(position_ - text_end);
  char bytes[kDbHeadSize];
  head.Store(bytes);
  if (flushed_ == 0 && buffer_.size() >= static_cast<size_t>(kDbHeadSize))
    std::memcpy(buffer_.data(), bytes, sizeof bytes);
  else if (!DbWriteAt(fd_.get(), bytes, sizeof bytes, 0))
    failed_ = true;
  if (!Flush() || !DbSyncData(fd_.get()))
    return false;
  fd_ = UniqueFd();
  if (!DbRename(temp_path_, db_path_)) {
    DbRemove(temp_path_);
    return false;
  }
  committed_ = true;
  DbSyncDirectoryOf(db_path_);
  return true;
}

}  // namespace zcd
