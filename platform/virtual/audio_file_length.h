#pragma once

#include <cstdint>
#include <filesystem>

namespace zcd {

// One CD frame of audio: 1/75 s of 16-bit stereo at 44.1 kHz.
inline constexpr int64_t kBytesPerCdFrame = 2352;

enum class AudioFileStatus { kOk, kMissing, kMalformed };

struct AudioFileLength {
  AudioFileStatus status = AudioFileStatus::kMissing;
  int64_t frames = 0;
};

// Whole CD frames of audio in a file: a WAVE file's data chunk, or all of a
// raw (BINARY) file.
AudioFileLength MeasureAudioFile(const std::filesystem::path& path, bool wave);

}  // namespace zcd
