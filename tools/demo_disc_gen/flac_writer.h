#pragma once

#include <sndfile.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zcd::demo_gen {

// A 44.1 kHz 16-bit stereo FLAC file being written; closed when it goes away.
class FlacWriter {
 public:
  explicit FlacWriter(const std::string& path);
  ~FlacWriter();
  FlacWriter(const FlacWriter&) = delete;
  FlacWriter& operator=(const FlacWriter&) = delete;

  // Empty once the file is open and every write so far went through.
  const std::string& error() const { return error_; }
  void Write(const std::vector<int16_t>& interleaved);
  // Finishes the file; false (with error()) when anything failed.
  bool Close();

 private:
  SNDFILE* file_ = nullptr;
  std::string path_;
  std::string error_;
};

}  // namespace zcd::demo_gen
