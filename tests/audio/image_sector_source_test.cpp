#include "audio/image_sector_source.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include "audio/test_image.h"
#include "platform/virtual/cue_sheet.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

using test::TestImageFormat;

const struct {
  const char* name;
  TestImageFormat format;
} kFormats[] = {
    {"binary", TestImageFormat::kBinary},
    {"wave", TestImageFormat::kWave},
    {"flac", TestImageFormat::kFlac},
    {"aiff", TestImageFormat::kAiff},
};

// A short middle track puts two file boundaries close together.
const std::vector<int32_t> kTracks = {300, 2, 450};

std::unique_ptr<SectorSource> Open(const ImageLayout& layout) {
  SourceOpen open = OpenImageSource(layout);
  EXPECT_EQ(open.error, "");
  return std::move(open.source);
}

TEST(ImageSectorSourceTest, EveryFormatReadsThePatternAcrossFileBoundaries) {
  for (const auto& format : kFormats) {
    SCOPED_TRACE(format.name);
    test::TempDir dir;
    test::TestImage image = test::WriteTestImage(dir.path(), kTracks, format.format);
    // The image is what the cue sheet says it is.
    CueSheetResult sheet = LoadCueSheet(image.cue);
    ASSERT_TRUE(sheet.disc) << sheet.error;
    EXPECT_EQ(sheet.disc->audio, image.layout);
    EXPECT_EQ(sheet.disc->lead_out_frame, image.lead_out);

    auto source = Open(image.layout);
    ASSERT_TRUE(source);
    EXPECT_TRUE(test::ReadsWholeImage(*source, image));
  }
}

TEST(ImageSectorSourceTest, SectorsBeyondACutAreUnreadableAndTheOnesBeforeReadExactly) {
  for (const auto& format : kFormats) {
    for (int32_t cut : {150 + 120, 150 + 302 + 200}) {
      SCOPED_TRACE(std::string(format.name) + " cut at " + std::to_string(cut));
      test::TempDir dir;
      test::TestImage image = test::WriteTestImage(dir.path(), kTracks, format.format);
      test::TruncateTestImage(image, cut);
      auto source = Open(image.layout);
      ASSERT_TRUE(source);
      const ImageAudioFile& file = format.format == TestImageFormat::kBinary
                                       ? image.layout[0]
                                       : image.layout[cut < 300 + 150 ? 0 : 2];
      for (int32_t frame = file.first_frame; frame < cut; ++frame)
        ASSERT_TRUE(test::ReadsPatternSector(*source, frame)) << frame;
      SectorSamples samples{};
      for (int32_t frame = cut; frame < file.first_frame + file.frames; ++frame)
        ASSERT_FALSE(source->Read(frame, samples)) << frame;
      // The files after a cut one are whole.
      if (format.format != TestImageFormat::kBinary && cut < image.track_starts[1]) {
        EXPECT_TRUE(test::ReadsPatternSector(*source, image.track_starts[1]));
      }
      // Back before the cut after failing beyond it.
      EXPECT_TRUE(test::ReadsPatternSector(*source, cut - 1));
    }
  }
}

TEST(ImageSectorSourceTest, ALastPartialSectorIsPaddedWithSilence) {
  test::TempDir dir;
  test::WriteSoundFile(dir.File("short.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2,
                       2 * 588 + 100);
  dir.Write("disc.cue", "FILE \"short.wav\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n");
  CueSheetResult sheet = LoadCueSheet(dir.File("disc.cue"));
  ASSERT_TRUE(sheet.disc) << sheet.error;
  auto source = Open(sheet.disc->audio);
  ASSERT_TRUE(source);
  SectorSamples samples{};
  samples.fill(7);
  ASSERT_TRUE(source->Read(152, samples));
  SectorSamples expected;
  test::FillPatternSector(152, expected);
  std::fill(expected.begin() + 200, expected.end(), int16_t{0});
  EXPECT_EQ(samples, expected);
  EXPECT_FALSE(source->Read(153, samples));
}

TEST(ImageSectorSourceTest, GapsReadFalseAndRawFilesBetweenDecodedOnesReadAsSectors) {
  test::TempDir dir;
  test::TestImage wave = test::WriteTestImage(dir.path(), {10}, TestImageFormat::kWave);
  test::TempDir raw_dir;
  test::TestImage raw = test::WriteTestImage(raw_dir.path(), {20}, TestImageFormat::kBinary);
  // The raw file holds the pattern from frame 150 again, 20 frames later on the disc.
  ImageLayout layout = {raw.layout[0], wave.layout[0]};
  layout[0].first_frame = 170;
  auto source = Open(layout);
  ASSERT_TRUE(source);
  SectorSamples samples{};
  EXPECT_TRUE(test::ReadsPatternSector(*source, 159));
  EXPECT_FALSE(source->Read(160, samples));
  EXPECT_FALSE(source->Read(169, samples));
  ASSERT_TRUE(source->Read(170, samples));
  EXPECT_TRUE(test::IsPatternSector(150, samples));
  ASSERT_TRUE(source->Read(189, samples));
  EXPECT_TRUE(test::IsPatternSector(169, samples));
  EXPECT_FALSE(source->Read(190, samples));
}

TEST(ImageSectorSourceTest, NoLayoutIsNoSourceAndAMissingFileIsNamed) {
  SourceOpen none = OpenImageSource({});
  EXPECT_FALSE(none.source);
  EXPECT_EQ(none.error, "");

  test::TempDir dir;
  test::TestImage image = test::WriteTestImage(dir.path(), kTracks, TestImageFormat::kFlac);
  std::filesystem::remove(image.layout[1].path);
  SourceOpen missing = OpenImageSource(image.layout);
  EXPECT_FALSE(missing.source);
  EXPECT_NE(missing.error.find(image.layout[1].path.string()), std::string::npos) << missing.error;
}

}  // namespace
}  // namespace zcd
