#include "discdb/export_file_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zcd {
namespace {

constexpr size_t kBufferSize = 1 << 20;

}  // namespace

ExportFileWriter::ExportFileWriter(const std::string& path, ExportOpenMode mode) : path_(path) {
  const int flags = mode == ExportOpenMode::kAppend ? O_WRONLY | O_CREAT | O_APPEND
                                                    : O_WRONLY | O_CREAT | O_TRUNC;
  fd_ = open(path.c_str(), flags | O_CLOEXEC, 0666);
  if (fd_ < 0) {
    Fail("open");
    return;
  }
  buffer_.reserve(kBufferSize);
}

ExportFileWriter::~ExportFileWriter() {
  if (fd_ >= 0)
    close(fd_);
}

void ExportFileWriter::Fail(const char* action) {
  if (error_.empty())
    error_ = "Could not " + std::string(action) + " '" + path_ + "': " + std::strerror(errno) + ".";
}

bool ExportFileWriter::Write(std::string_view data) {
  if (!ok())
    return false;
  if (buffer_.size() + data.size() > kBufferSize && !Flush())
    return false;
  buffer_.append(data);
  return true;
}

bool ExportFileWriter::Flush() {
  size_t done = 0;
  while (done < buffer_.size()) {
    const ssize_t n = write(fd_, buffer_.data() + done, buffer_.size() - done);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0) {
      if (n == 0)
        errno = EIO;
      Fail("write");
      return false;
    }
    done += static_cast<size_t>(n);
  }
  buffer_.clear();
  return true;
}

bool ExportFileWriter::Close() {
  if (fd_ < 0)
    return ok();
  if (ok())
    Flush();
  const int result = close(fd_);
  fd_ = -1;
  if (result != 0 && errno != EINTR)
    Fail("write");
  return ok();
}

}  // namespace zcd
