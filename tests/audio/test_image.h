#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "audio/image_layout.h"
#include "audio/sector_source.h"

namespace zcd::test {

// Every stereo frame of a test disc says where it is: frame n of the disc's
// audio (n = (absolute_frame - 150) * 588 + i) holds left = low 16 bits of n,
// right = high 16 bits ^ 0x5A5A, so no frame is all zero.
void FillPatternSector(int32_t absolute_frame, SectorSamples& out);
// The n a frame of the pattern stands for.
int64_t PatternIndex(int16_t left, int16_t right);
// True when `samples` is exactly the pattern's sector at `absolute_frame`.
bool IsPatternSector(int32_t absolute_frame, const SectorSamples& samples);

// Whether `source` reads the sector at `absolute_frame` as the pattern.
bool ReadsPatternSector(SectorSource& source, int32_t absolute_frame);

enum class TestImageFormat { kBinary, kWave, kFlac, kAiff };

struct TestImage {
  std::filesystem::path cue;
  TestImageFormat format = TestImageFormat::kBinary;
  ImageLayout layout;                 // as the cue sheet's reader finds it
  std::vector<int32_t> track_starts;  // absolute frames
  int32_t lead_out = 0;
};

// Reads every sector of the image in order, then jumps back to either side
// of the last two track starts and to the first sector; the sectors just
// before and past the disc must not read, and the last one reads again.
::testing::AssertionResult ReadsWholeImage(SectorSource& source, const TestImage& image);

// Writes a disc of audio tracks of the given lengths in sectors, the first
// starting at frame 150, in the pattern: one .bin for kBinary, else one file
// per track; and the cue sheet "disc.cue" naming them.
TestImage WriteTestImage(const std::filesystem::path& dir, std::vector<int32_t> track_frames,
                         TestImageFormat format);

// Cuts the file holding `absolute_frame` so that it ends right before that
// sector: a raw or WAVE file loses its tail bytes as an interrupted copy
// would; FLAC and AIFF files are written again, shorter.
void TruncateTestImage(const TestImage& image, int32_t absolute_frame);

// A file of `frames` stereo frames of the pattern (from disc frame 0) in a
// libsndfile format (SF_FORMAT_*), rate and channel count of the caller's.
void WriteSoundFile(const std::filesystem::path& path, int format, int rate, int channels,
                    int64_t frames);

}  // namespace zcd::test
