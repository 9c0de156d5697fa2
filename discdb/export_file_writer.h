#pragma once

#include <string>
#include <string_view>

#include "discdb/exporter.h"

namespace zcd {

// An export's output file, written through a large buffer so that a walk
// over a big database makes few system calls. The first failure is kept as a
// sentence for the user; later writes do nothing.
class ExportFileWriter {
 public:
  ExportFileWriter(const std::string& path, ExportOpenMode mode);
  ~ExportFileWriter();
  ExportFileWriter(const ExportFileWriter&) = delete;
  ExportFileWriter& operator=(const ExportFileWriter&) = delete;

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }

  bool Write(std::string_view data);
  // Writes what is buffered and closes the file; false when anything failed.
  bool Close();

 private:
  bool Flush();
  void Fail(const char* action);

  std::string path_;
  int fd_ = -1;
  std::string buffer_;
  std::string error_;
};

}  // namespace zcd
