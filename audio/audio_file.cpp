#include "audio/audio_file.h"

#include <algorithm>

#include "audio/sector_source.h"

namespace zcd {

struct AudioFileReader::Key {};

namespace {

// Opens a file the player can decode; the reason when it cannot.
SNDFILE* OpenAudio(const std::filesystem::path& path, SF_INFO& info, std::string& reason) {
  info = {};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr) {
    reason = "not an audio file";
  } else if (info.samplerate != kSampleRate) {
    reason = "not 44100 Hz";
  } else if (info.channels > 2) {
    reason = "more than 2 channels";
  } else {
    return file;
  }
  if (file != nullptr)
    sf_close(file);
  return nullptr;
}

}  // namespace

AudioFileLength MeasureAudioFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error))
    return {AudioFileStatus::kMissing, 0, {}};
  SF_INFO info;
  std::string reason;
  SNDFILE* file = OpenAudio(path, info, reason);
  if (file == nullptr)
    return {AudioFileStatus::kMalformed, 0, reason};
  sf_close(file);
  int64_t frames = std::max<int64_t>(info.frames, 0);
  return {AudioFileStatus::kOk, (frames + kStereoFramesPerSector - 1) / kStereoFramesPerSector, {}};
}

std::unique_ptr<AudioFileReader> AudioFileReader::Open(const std::filesystem::path& path) {
  SF_INFO info;
  std::string reason;
  SNDFILE* file = OpenAudio(path, info, reason);
  if (file == nullptr)
    return nullptr;
  return std::make_unique<AudioFileReader>(Key{}, file, info);
}

AudioFileReader::AudioFileReader(const Key&, SNDFILE* file, const SF_INFO& info)
    : file_(file), channels_(info.channels), frames_(std::max<int64_t>(info.frames, 0)) {}

int64_t AudioFileReader::Read(int64_t frame, int16_t* out, int64_t count) {
  if (frame != position_) {
    // Seeking is slow in compressed files, so it happens only on a jump.
    if (sf_seek(file_.get(), frame, SEEK_SET) != frame)
      return 0;
    position_ = frame;
  }
  int64_t got = 0;
  if (channels_ == 2) {
    got = sf_readf_short(file_.get(), out, count);
  } else {
    mono_.resize(static_cast<size_t>(count));
    got = sf_readf_short(file_.get(), mono_.data(), count);
    for (int64_t i = 0; i < got; ++i)
      out[2 * i] = out[2 * i + 1] = mono_[static_cast<size_t>(i)];
  }
  if (got < count) {
    // At the end or after an error the library's position is its own.
    position_ = -1;
    return std::max<int64_t>(got, 0);
  }
  position_ += got;
  return got;
}

}  // namespace zcd
