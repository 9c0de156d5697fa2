#include "discdb/import_file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "discdb/database.h"

namespace zcd {
namespace {

constexpr int64_t kIndexChunkRows = 4096;
constexpr size_t kWindowSize = 4 << 20;

int32_t LittleEndian32(const char* p) {
  const auto* b = reinterpret_cast<const unsigned char*>(p);
  return static_cast<int32_t>(static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                              static_cast<uint32_t>(b[2]) << 16 |
                              static_cast<uint32_t>(b[3]) << 24);
}

// Bytes read, short only at the end of the file or on an error.
size_t ReadFully(int fd, char* buffer, size_t size, int64_t offset) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = pread(fd, buffer + done, size - done, offset + static_cast<int64_t>(done));
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      break;
    done += static_cast<size_t>(n);
  }
  return done;
}

}  // namespace

std::optional<ImportFileReader> ImportFileReader::Open(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return std::nullopt;
  ImportFileReader reader(fd);
  struct stat info {};
  if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode))
    return std::nullopt;
  reader.file_size_ = info.st_size;
  reader.head_ok_ = reader.ReadHead();
  return reader;
}

ImportFileReader::ImportFileReader(ImportFileReader&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      file_size_(other.file_size_),
      head_ok_(other.head_ok_),
      index_offset_(other.index_offset_),
      row_count_(other.row_count_),
      next_row_(other.next_row_),
      index_chunk_(std::move(other.index_chunk_)),
      index_pos_(other.index_pos_),
      window_(std::move(other.window_)),
      window_offset_(other.window_offset_) {}

ImportFileReader::~ImportFileReader() {
  if (fd_ >= 0)
    close(fd_);
}

bool ImportFileReader::ReadHead() {
  char head[kDbHeadSize];
  if (ReadFully(fd_, head, sizeof head, 0) != sizeof head)
    return false;
  index_offset_ = LittleEndian32(head + 4);
  const int32_t index_size = LittleEndian32(head + 8);
  row_count_ = index_size > 0 ? index_size / kDbRowSize : 0;
  return true;
}

bool ImportFileReader::FillIndex() {
  const int64_t rows = std::min(row_count_ - next_row_, kIndexChunkRows);
  index_chunk_.resize(static_cast<size_t>(rows * kDbRowSize));
  const size_t got = ReadFully(fd_, index_chunk_.data(), index_chunk_.size(),
                               index_offset_ + next_row_ * kDbRowSize);
  // A truncated index still yields its complete rows; the first missing one is damage.
  index_chunk_.resize(got - got % kDbRowSize);
  index_pos_ = 0;
  return !index_chunk_.empty();
}

bool ImportFileReader::ReadAt(int64_t offset, size_t size, std::string& out) {
  const bool inside =
      offset >= window_offset_ &&
      offset + static_cast<int64_t>(size) <= window_offset_ + static_cast<int64_t>(window_.size());
  if (!inside) {
    const int64_t left = std::max<int64_t>(file_size_ - offset, 0);
    window_.resize(static_cast<size_t>(
        std::min<int64_t>(std::max(size, kWindowSize), std::max<int64_t>(left, size))));
    window_.resize(ReadFully(fd_, window_.data(), window_.size(), offset));
    window_offset_ = offset;
    if (window_.size() < size)
      return false;
  }
  out.assign(window_, static_cast<size_t>(offset - window_offset_), size);
  return true;
}

ImportFileReader::Status ImportFileReader::Next(Row& row) {
  if (!head_ok_)
    return Status::kDamaged;
  if (next_row_ >= row_count_)
    return Status::kEnd;
  if (index_pos_ + kDbRowSize > index_chunk_.size() && !FillIndex())
    return Status::kDamaged;
  const char* field = index_chunk_.data() + index_pos_;
  index_pos_ += kDbRowSize;
  ++next_row_;
  row.key.assign(field, strnlen(field, kDbKeyField));
  const int64_t offset = LittleEndian32(field + kDbKeyField);
  const int64_t length = LittleEndian32(field + kDbKeyField + 4);
  // Beyond the spot checks of offset and length, a text must lie wholly in
  // the text area: anything else would import bytes of the head or the index.
  if (length < 0 || offset < kDbHeadSize || offset > index_offset_ ||
      offset + length > index_offset_)
    return Status::kDamaged;
  return ReadAt(offset, static_cast<size_t>(length), row.text) ? Status::kRow : Status::kDamaged;
}

}  // namespace zcd
