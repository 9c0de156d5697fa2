#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace zcd {

enum class AudioFileKind {
  kRaw,      // a cue sheet's BINARY file: CD sectors as they are on the disc
  kDecoded,  // WAVE, FLAC, AIFF: decoded through the audio file library
};

// One audio file of an image and where its sound lies on the disc.
struct ImageAudioFile {
  std::filesystem::path path;
  AudioFileKind kind = AudioFileKind::kRaw;
  int32_t first_frame = 0;  // absolute frame of the file's first sector
  int32_t frames = 0;       // whole sectors of audio in the file
  bool operator==(const ImageAudioFile&) const = default;
};

// Where an image's audio lies, in disc order; empty for a disc described by
// its times alone.
using ImageLayout = std::vector<ImageAudioFile>;

}  // namespace zcd
