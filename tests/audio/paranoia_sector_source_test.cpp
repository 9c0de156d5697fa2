#include "audio/paranoia_sector_source.h"

#include <gtest/gtest.h>

#include "audio/test_image.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

using test::TestImageFormat;

const std::vector<int32_t> kTracks = {300, 2, 450};

TEST(ParanoiaSectorSourceTest, ReadsThePatternOfACueImageInOrderAndAfterJumps) {
  test::TempDir dir;
  test::TestImage image = test::WriteTestImage(dir.path(), kTracks, TestImageFormat::kBinary);
  SourceOpen open = OpenParanoiaSource(image.cue.string());
  ASSERT_TRUE(open.source) << open.error;
  EXPECT_TRUE(test::ReadsWholeImage(*open.source, image));
}

// The CD library takes the last track's length from the file when it reads
// the cue sheet, so a file cut before that ends the disc at the cut; a file
// cut while it is open fails the reads beyond the cut.
TEST(ParanoiaSectorSourceTest, ABinCutMidTrackReadsFalseBeyondTheCut) {
  for (bool cut_while_open : {false, true}) {
    SCOPED_TRACE(cut_while_open ? "cut while open" : "cut before opening");
    test::TempDir dir;
    test::TestImage image = test::WriteTestImage(dir.path(), kTracks, TestImageFormat::kBinary);
    const int32_t cut = image.track_starts[2] + 200;
    if (!cut_while_open)
      test::TruncateTestImage(image, cut);
    SourceOpen open = OpenParanoiaSource(image.cue.string());
    ASSERT_TRUE(open.source) << open.error;
    if (cut_while_open)
      test::TruncateTestImage(image, cut);
    SectorSource& source = *open.source;
    for (int32_t frame = image.track_starts[2] - 5; frame < cut; ++frame)
      ASSERT_TRUE(test::ReadsPatternSector(source, frame)) << frame;
    SectorSamples samples{};
    for (int32_t frame = cut; frame < image.lead_out; ++frame)
      ASSERT_FALSE(source.Read(frame, samples)) << frame;
    EXPECT_TRUE(test::ReadsPatternSector(source, cut - 1));
  }
}

TEST(ParanoiaSectorSourceTest, WhatCannotBeOpenedIsNamed) {
  test::TempDir dir;
  dir.Write("broken.cue", "FILE \"gone.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n");
  for (std::string path : {dir.File("broken.cue"), dir.File("none")}) {
    SourceOpen open = OpenParanoiaSource(path);
    EXPECT_FALSE(open.source);
    EXPECT_NE(open.error.find(path), std::string::npos) << open.error;
  }
}

}  // namespace
}  // namespace zcd
