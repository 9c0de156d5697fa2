#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

#include "audio/audio_file.h"
#include "audio/sector_source.h"
#include "base/unique_fd.h"

namespace zcd {

// One CD sector as a raw (BINARY) image file holds it.
inline constexpr int64_t kBytesPerSector = 2352;

// Whole sectors in a raw file. A trailing piece of a sector is what an
// interrupted copy leaves, not sound, so it is not counted.
AudioFileLength MeasureRawFile(const std::filesystem::path& path);

// Reads sectors of little-endian 16-bit stereo from a raw image file.
// One thread at a time.
class RawAudioFile {
 public:
  // None when the file cannot be opened.
  static std::unique_ptr<RawAudioFile> Open(const std::filesystem::path& path);
  explicit RawAudioFile(UniqueFd fd) : fd_(std::move(fd)) {}

  // False unless the whole sector is in the file.
  bool ReadSector(int64_t sector, SectorSamples& out) const;

 private:
  UniqueFd fd_;
};

}  // namespace zcd
