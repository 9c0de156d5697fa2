#include "audio/raw_audio_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <bit>
#include <cerrno>

namespace zcd {

AudioFileLength MeasureRawFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error))
    return {AudioFileStatus::kMissing, 0, {}};
  auto size = std::filesystem::file_size(path, error);
  if (error)
    return {AudioFileStatus::kMissing, 0, {}};
  return {AudioFileStatus::kOk, static_cast<int64_t>(size) / kBytesPerSector, {}};
}

std::unique_ptr<RawAudioFile> RawAudioFile::Open(const std::filesystem::path& path) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid())
    return nullptr;
  return std::make_unique<RawAudioFile>(std::move(fd));
}

bool RawAudioFile::ReadSector(int64_t sector, SectorSamples& out) const {
  auto* bytes = reinterpret_cast<char*>(out.data());
  int64_t done = 0;
  // pread keeps no position, so reading ascending sectors needs no seek.
  while (done < kBytesPerSector) {
    ssize_t got = ::pread(fd_.get(), bytes + done, static_cast<size_t>(kBytesPerSector - done),
                          static_cast<off_t>(sector * kBytesPerSector + done));
    if (got < 0 && errno == EINTR)
      continue;
    if (got <= 0)
      return false;
    done += got;
  }
  if constexpr (std::endian::native == std::endian::big) {
    for (int16_t& sample : out) {
      auto value = static_cast<uint16_t>(sample);
      sample = static_cast<int16_t>(static_cast<uint16_t>(value << 8 | value >> 8));
    }
  }
  return true;
}

}  // namespace zcd
