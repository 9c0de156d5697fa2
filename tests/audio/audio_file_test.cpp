#include "audio/audio_file.h"

#include <gtest/gtest.h>

#include "audio/test_image.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

constexpr int kPcm16 = SF_FORMAT_PCM_16;

TEST(AudioFileTest, MeasuresWholeSectorsOrSaysWhyAFileCannotBePlayed) {
  test::TempDir dir;
  dir.Write("notes.txt", std::string(10000, 'x'));
  const AudioFileLength bad_rate{AudioFileStatus::kMalformed, 0, "not 44100 Hz"};
  const AudioFileLength bad_channels{AudioFileStatus::kMalformed, 0, "more than 2 channels"};
  const auto ok = [](int64_t sectors) {
    return AudioFileLength{AudioFileStatus::kOk, sectors, ""};
  };
  const struct {
    const char* name;
    int format, rate, channels;
    int64_t frames;
    AudioFileLength expected;
  } cases[] = {
      {"exact.wav", SF_FORMAT_WAV | kPcm16, 44100, 2, 3 * 588, ok(3)},
      {"partial.flac", SF_FORMAT_FLAC | kPcm16, 44100, 2, 3 * 588 + 1, ok(4)},
      {"mono.aiff", SF_FORMAT_AIFF | kPcm16, 44100, 1, 5 * 588 - 1, ok(5)},
      {"empty.wav", SF_FORMAT_WAV | kPcm16, 44100, 2, 0, ok(0)},
      {"hz48.wav", SF_FORMAT_WAV | kPcm16, 48000, 2, 588, bad_rate},
      {"surround.flac", SF_FORMAT_FLAC | kPcm16, 44100, 6, 588, bad_channels},
      {"notes.txt", 0, 0, 0, 0, {AudioFileStatus::kMalformed, 0, "not an audio file"}},
      {"gone.wav", 0, 0, 0, 0, {AudioFileStatus::kMissing, 0, ""}},
  };
  for (const auto& c : cases) {
    if (c.format != 0)
      test::WriteSoundFile(dir.File(c.name), c.format, c.rate, c.channels, c.frames);
    AudioFileLength length = MeasureAudioFile(dir.File(c.name));
    EXPECT_EQ(length.status, c.expected.status) << c.name;
    EXPECT_EQ(length.sectors, c.expected.sectors) << c.name;
    EXPECT_EQ(length.reason, c.expected.reason) << c.name;
  }
}

// Reads stereo frames [frame, frame + count) and checks them against the
// pattern, with `mono` files carrying the left channel on both sides.
void ExpectPattern(AudioFileReader& reader, int64_t frame, int64_t count, bool mono) {
  std::vector<int16_t> samples(static_cast<size_t>(2 * count));
  ASSERT_EQ(reader.Read(frame, samples.data(), count), count) << "at " << frame;
  for (int64_t i = 0; i < count; ++i) {
    int16_t left = samples[static_cast<size_t>(2 * i)];
    int16_t right = samples[static_cast<size_t>(2 * i + 1)];
    if (mono) {
      ASSERT_EQ(left, static_cast<int16_t>(frame + i)) << "at " << frame + i;
      ASSERT_EQ(right, left) << "at " << frame + i;
    } else {
      ASSERT_EQ(test::PatternIndex(left, right), frame + i);
    }
  }
}

TEST(AudioFileTest, ReadsStereoFramesFromAnyOffsetWhateverTheSampleFormat) {
  test::TempDir dir;
  const struct {
    const char* name;
    int format;
    int channels;
  } cases[] = {
      {"plain.wav", SF_FORMAT_WAV | kPcm16, 2},
      {"deep.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 2},
      {"packed.flac", SF_FORMAT_FLAC | kPcm16, 2},
      {"mono.aiff", SF_FORMAT_AIFF | kPcm16, 1},
  };
  constexpr int64_t kFrames = 70000;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::WriteSoundFile(dir.File(c.name), c.format, 44100, c.channels, kFrames);
    auto reader = AudioFileReader::Open(dir.File(c.name));
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->frames(), kFrames);
    bool mono = c.channels == 1;
    ExpectPattern(*reader, 0, 588, mono);
    ExpectPattern(*reader, 588, 588, mono);    // on from where it stopped
    ExpectPattern(*reader, 66000, 588, mono);  // forwards
    ExpectPattern(*reader, 1000, 588, mono);   // and back
    std::vector<int16_t> tail(2 * 588);
    EXPECT_EQ(reader->Read(kFrames - 100, tail.data(), 588), 100);
    EXPECT_EQ(reader->Read(kFrames, tail.data(), 588), 0);
    ExpectPattern(*reader, 5, 10, mono);  // a short read leaves it usable
  }
  dir.Write("notes.txt", "not sound");
  EXPECT_FALSE(AudioFileReader::Open(dir.File("notes.txt")));
  EXPECT_FALSE(AudioFileReader::Open(dir.File("gone.wav")));
}

}  // namespace
}  // namespace zcd
