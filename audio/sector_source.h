#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace zcd {

// One CD frame (sector) of audio: 588 stereo frames of 16-bit samples,
// left first, in the machine's byte order.
inline constexpr int kStereoFramesPerSector = 588;
inline constexpr int kSamplesPerSector = 2 * kStereoFramesPerSector;
inline constexpr int kSampleRate = 44100;
using SectorSamples = std::array<int16_t, kSamplesPerSector>;

// Where a disc's audio comes from: a drive read through its audio sectors,
// or the files of an image. Addresses are absolute frames with the 150-frame
// lead-in, as the drive reports track starts. A source is used by one
// reading thread at a time and may block while it reads.
class SectorSource {
 public:
  virtual ~SectorSource() = default;
  // False when the sector cannot be read, after whatever retries the source
  // makes; the caller skips it. Reading in ascending order is the fast case.
  virtual bool Read(int32_t frame, SectorSamples& out) = 0;
};

// A source, or why there is none. Neither means the disc has no audio to
// read (a virtual disc described by its times only), which is no error.
struct SourceOpen {
  std::unique_ptr<SectorSource> source;
  std::string error;
};

// Opens the source of the disc in the drive now. May block (a drive spins up).
using SectorSourceOpener = std::function<SourceOpen()>;

}  // namespace zcd
