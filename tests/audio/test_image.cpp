#include "audio/test_image.h"

#include <sndfile.h>
#include <unistd.h>

#include <fstream>
#include <stdexcept>
#include <string>

#include "audio/raw_audio_file.h"

namespace zcd::test {
namespace {

constexpr int32_t kFirstFrame = 150;

int16_t PatternLeft(int64_t n) {
  return static_cast<int16_t>(static_cast<uint16_t>(n));
}

int16_t PatternRight(int64_t n) {
  return static_cast<int16_t>(static_cast<uint16_t>(n >> 16) ^ 0x5A5A);
}

// Pattern frames [first, first + count) as interleaved samples, each
// channel repeated `channels` times over.
std::vector<int16_t> PatternFrames(int64_t first, int64_t count, int channels) {
  std::vector<int16_t> samples;
  samples.reserve(static_cast<size_t>(count * channels));
  for (int64_t n = first; n < first + count; ++n) {
    samples.push_back(PatternLeft(n));
    for (int c = 1; c < channels; ++c)
      samples.push_back(c == 1 ? PatternRight(n) : static_cast<int16_t>(c));
  }
  return samples;
}

// Writes `count` pattern frames starting at disc frame `first`.
void WritePattern(const std::filesystem::path& path, int format, int rate, int channels,
                  int64_t first, int64_t count) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr)
    throw std::runtime_error("cannot write " + path.string() + ": " + sf_strerror(nullptr));
  constexpr int64_t kChunk = 588 * 75;
  for (int64_t done = 0; done < count; done += kChunk) {
    int64_t part = std::min(kChunk, count - done);
    std::vector<int16_t> samples = PatternFrames(first + done, part, channels);
    sf_writef_short(file, samples.data(), part);
  }
  sf_close(file);
}

struct FormatInfo {
  const char* extension;
  const char* type;
  int sf_format;
};

FormatInfo Describe(TestImageFormat format) {
  switch (format) {
    case TestImageFormat::kBinary:
      return {".bin", "BINARY", SF_FORMAT_RAW | SF_FORMAT_PCM_16 | SF_ENDIAN_LITTLE};
    case TestImageFormat::kWave:
      return {".wav", "WAVE", SF_FORMAT_WAV | SF_FORMAT_PCM_16};
    case TestImageFormat::kFlac:
      return {".flac", "FLAC", SF_FORMAT_FLAC | SF_FORMAT_PCM_16};
    case TestImageFormat::kAiff:
      return {".aiff", "AIFF", SF_FORMAT_AIFF | SF_FORMAT_PCM_16};
  }
  return {};
}

std::string Msf(int32_t frames) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", frames / 4500, frames / 75 % 60, frames % 75);
  return text;
}

}  // namespace

void FillPatternSector(int32_t absolute_frame, SectorSamples& out) {
  int64_t first = int64_t{absolute_frame - kFirstFrame} * kStereoFramesPerSector;
  for (int i = 0; i < kStereoFramesPerSector; ++i) {
    out[2 * i] = PatternLeft(first + i);
    out[2 * i + 1] = PatternRight(first + i);
  }
}

int64_t PatternIndex(int16_t left, int16_t right) {
  auto high = static_cast<uint16_t>(static_cast<uint16_t>(right) ^ 0x5A5A);
  return int64_t{high} << 16 | static_cast<uint16_t>(left);
}

bool IsPatternSector(int32_t absolute_frame, const SectorSamples& samples) {
  SectorSamples expected;
  FillPatternSector(absolute_frame, expected);
  return samples == expected;
}

bool ReadsPatternSector(SectorSource& source, int32_t absolute_frame) {
  SectorSamples samples{};
  return source.Read(absolute_frame, samples) && IsPatternSector(absolute_frame, samples);
}

::testing::AssertionResult ReadsWholeImage(SectorSource& source, const TestImage& image) {
  const size_t tracks = image.track_starts.size();
  std::vector<int32_t> frames;
  for (int32_t frame = kFirstFrame; frame < image.lead_out; ++frame)
    frames.push_back(frame);
  for (size_t t = tracks - 1; t + 2 >= tracks && t > 0; --t)
    frames.insert(frames.end(), {image.track_starts[t] - 1, image.track_starts[t]});
  frames.push_back(kFirstFrame);
  for (int32_t frame : frames) {
    if (!ReadsPatternSector(source, frame))
      return ::testing::AssertionFailure() << "sector " << frame << " is not the pattern";
  }
  SectorSamples samples{};
  for (int32_t frame : {kFirstFrame - 1, image.lead_out}) {
    if (source.Read(frame, samples))
      return ::testing::AssertionFailure() << "sector " << frame << " reads";
  }
  if (!ReadsPatternSector(source, image.lead_out - 1))
    return ::testing::AssertionFailure() << "the last sector fails after a read past the disc";
  return ::testing::AssertionSuccess();
}

void WriteSoundFile(const std::filesystem::path& path, int format, int rate, int channels,
                    int64_t frames) {
  WritePattern(path, format, rate, channels, 0, frames);
}

TestImage WriteTestImage(const std::filesystem::path& dir, std::vector<int32_t> track_frames,
                         TestImageFormat format) {
  FormatInfo info = Describe(format);
  TestImage image;
  image.cue = dir / "disc.cue";
  image.format = format;
  std::string sheet;
  int32_t start = kFirstFrame;
  int32_t total = 0;
  for (int32_t frames : track_frames)
    total += frames;
  if (format == TestImageFormat::kBinary) {
    WritePattern(dir / "disc.bin", info.sf_format, kSampleRate, 2, 0,
                 int64_t{total} * kStereoFramesPerSector);
    sheet += "FILE \"disc.bin\" BINARY\n";
    image.layout.push_back({dir / "disc.bin", AudioFileKind::kRaw, start, total});
  }
  for (size_t t = 0; t < track_frames.size(); ++t) {
    char number[24];
    std::snprintf(number, sizeof number, "%02zu", t + 1);
    if (format != TestImageFormat::kBinary) {
      std::string name = std::string("track") + number + info.extension;
      WritePattern(dir / name, info.sf_format, kSampleRate, 2,
                   int64_t{start - kFirstFrame} * kStereoFramesPerSector,
                   int64_t{track_frames[t]} * kStereoFramesPerSector);
      sheet += "FILE \"" + name + "\" " + info.type + "\n";
      image.layout.push_back({dir / name, AudioFileKind::kDecoded, start, track_frames[t]});
    }
    int32_t in_file = format == TestImageFormat::kBinary ? start - kFirstFrame : 0;
    sheet += std::string("  TRACK ") + number + " AUDIO\n    INDEX 01 " + Msf(in_file) + "\n";
    image.track_starts.push_back(start);
    start += track_frames[t];
  }
  image.lead_out = start;
  std::ofstream(image.cue) << sheet;
  return image;
}

void TruncateTestImage(const TestImage& image, int32_t absolute_frame) {
  for (const ImageAudioFile& file : image.layout) {
    if (absolute_frame < file.first_frame || absolute_frame >= file.first_frame + file.frames)
      continue;
    int64_t kept = absolute_frame - file.first_frame;
    int64_t size = static_cast<int64_t>(std::filesystem::file_size(file.path));
    if (image.format == TestImageFormat::kBinary || image.format == TestImageFormat::kWave) {
      // A 16-bit stereo sound chunk ends the file, so the header lies before it.
      int64_t header = size - int64_t{file.frames} * kBytesPerSector;
      std::filesystem::resize_file(file.path,
                                   static_cast<uintmax_t>(header + kept * kBytesPerSector));
    } else {
      WritePattern(file.path, Describe(image.format).sf_format, kSampleRate, 2,
                   int64_t{file.first_frame - kFirstFrame} * kStereoFramesPerSector,
                   kept * kStereoFramesPerSector);
    }
    return;
  }
  throw std::runtime_error("no file holds frame " + std::to_string(absolute_frame));
}

}  // namespace zcd::test
