#pragma once

#include <sndfile.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace zcd {

enum class AudioFileStatus { kOk, kMissing, kMalformed };

// How many CD sectors of audio a file of an image holds, or why it holds none.
struct AudioFileLength {
  AudioFileStatus status = AudioFileStatus::kMissing;
  int64_t sectors = 0;
  std::string reason;  // why a malformed file cannot be played
};

// Sectors of a file the audio file library decodes (WAVE, AIFF, FLAC, ...),
// found by its content. A last partial sector counts as a whole one, padded
// with silence when read: a disc made from the file keeps all its sound.
// Refused: anything not audio, a rate other than 44100 Hz, more than two
// channels.
AudioFileLength MeasureAudioFile(const std::filesystem::path& path);

// Reads a decoded audio file as 16-bit stereo frames; mono is doubled onto
// both channels and other sample formats are converted by the library.
// One thread at a time.
class AudioFileReader {
 public:
  // None when the file is not there or is not audio the player can use.
  static std::unique_ptr<AudioFileReader> Open(const std::filesystem::path& path);

  int64_t frames() const { return frames_; }
  // Reads up to `count` stereo frames starting at `frame` into `out`
  // (2 * count samples): the number read, 0 at the end or on an error.
  // Reading on from where the last read ended costs no seek.
  int64_t Read(int64_t frame, int16_t* out, int64_t count);

  struct Key;  // only Open makes readers
  AudioFileReader(const Key&, SNDFILE* file, const SF_INFO& info);

 private:
  struct Closer {
    void operator()(SNDFILE* file) const { sf_close(file); }
  };

  std::unique_ptr<SNDFILE, Closer> file_;
  int channels_;
  int64_t frames_;
  int64_t position_ = 0;
  std::vector<int16_t> mono_;
};

}  // namespace zcd
