#include "discdb/disc_id.h"

#include <gtest/gtest.h>

namespace zcd {
namespace {

DiscTiming MakeTiming(std::initializer_list<TrackTocEntry> rows, int32_t disc_seconds = -1) {
  DiscTiming timing;
  int i = 0;
  for (const auto& row : rows)
    timing.toc[i++] = row;
  timing.track_count = i - 1;  // the last row given is the lead-out
  timing.disc_seconds = disc_seconds >= 0 ? disc_seconds : timing.LeadOut().WholeSeconds();
  return timing;
}

TEST(DiscIdTest, WorkedExampleAndLeadingZeros) {
  const auto timing = MakeTiming({TrackTocEntry::FromMsf(0, 2, 0), TrackTocEntry::FromMsf(3, 10, 0),
                                  TrackTocEntry::FromMsf(7, 0, 0)});
  EXPECT_EQ(ComputeCddbDiscId(timing), 0x0c01a202u);
  EXPECT_EQ(DiscIdText(ComputeCddbDiscId(timing)), "0c01a202");
  EXPECT_EQ(DiscIdText(0x12), "00000012");
}

TEST(DiscIdTest, FramesIgnoredAndZeroSecondsCountNothing) {
  // A track at 0:00.40 has seconds-of-disc 0 and adds nothing to the digit sum.
  const auto with_frames =
      MakeTiming({TrackTocEntry::FromMsf(0, 0, 40), TrackTocEntry::FromMsf(3, 10, 74),
                  TrackTocEntry::FromMsf(7, 0, 74)});
  const auto without_frames =
      MakeTiming({TrackTocEntry::FromMsf(0, 0, 0), TrackTocEntry::FromMsf(3, 10, 0),
                  TrackTocEntry::FromMsf(7, 0, 0)});
  EXPECT_EQ(ComputeCddbDiscId(with_frames), ComputeCddbDiscId(without_frames));
  EXPECT_EQ(ComputeCddbDiscId(with_frames) >> 24, 10u);  // only 190 -> 1+9+0
  EXPECT_EQ(CddbDigitSum(0), 0);
  EXPECT_EQ(CddbDigitSum(-5), 0);
  EXPECT_EQ(CddbDigitSum(9999), 36);
}

TEST(DiscIdTest, EmptyDiscIsZero) {
  DiscTiming timing;
  EXPECT_EQ(ComputeCddbDiscId(timing), 0u);
  EXPECT_EQ(DiscIdText(ComputeCddbDiscId(timing)), "00000000");
}

TEST(DiscIdTest, DigitSumWrapsModulo255) {
  // 99 tracks whose start seconds have digit sum 27 (999 s) give 99*27 = 2673 -> 2673 % 255 = 123.
  DiscTiming timing;
  timing.track_count = 99;
  for (int i = 0; i < 99; ++i)
    timing.toc[i] = TrackTocEntry::FromMsf(16, 39, i % 75);
  timing.toc[99] = TrackTocEntry::FromMsf(70, 0, 0);
  EXPECT_EQ(ComputeCddbDiscId(timing) >> 24, 123u);
  EXPECT_EQ(ComputeCddbDiscId(timing) & 0xff, 99u);
}

TEST(DiscIdTest, ParseDiscIdTextIgnoresCase) {
  EXPECT_EQ(ParseDiscIdText("0C01A202"), 0x0c01a202u);
  EXPECT_EQ(ParseDiscIdText("0c01a202"), 0x0c01a202u);
  EXPECT_EQ(DiscIdText(ParseDiscIdText("0C01A202")), "0c01a202");
  EXPECT_EQ(ParseDiscIdText(std::nullopt), 0u);
  EXPECT_EQ(ParseDiscIdText(""), 0u);
}

TEST(DiscIdTest, ParseDiscIdTextOddCharactersKeepTheirPlace) {
  // A blank and a byte above 127 count nothing but still shift the others.
  EXPECT_EQ(ParseDiscIdText("1 2"), 0x102u);
  EXPECT_EQ(ParseDiscIdText("1\xE9"
                            "2"),
            0x102u);
  // Letters past "f" count as their code - 87, as the lenient reader always did.
  EXPECT_EQ(ParseDiscIdText("g"), 16u);
  // Longer than eight digits wraps modulo 2^32.
  EXPECT_EQ(ParseDiscIdText("100000001"), 1u);
}

TEST(DiscIdTest, CdPlayerIniKeyFromThreeTracksDependsOnStartsOnly) {
  auto timing = MakeTiming({TrackTocEntry::FromFrames(150), TrackTocEntry::FromFrames(15000),
                            TrackTocEntry::FromFrames(30000), TrackTocEntry::FromFrames(45000)});
  // 150 -> 0:02.00 (0x200); 15000 -> 3:20.00 (0x31400); 30000 -> 6:40.00 (0x62800).
  EXPECT_EQ(CdPlayerIniKey(timing), "93E00");
  timing.disc_seconds = 9999;
  timing.toc[3] = TrackTocEntry::FromFrames(60000);
  EXPECT_EQ(CdPlayerIniKey(timing), "93E00");
}

TEST(DiscIdTest, CdPlayerIniKeyBelowThreeTracksAddsLength) {
  // Two tracks: starts 0x200 + 0x31400 (+ frames 0), then first start's frames (0)
  // and disc seconds * 75.
  auto timing = MakeTiming({TrackTocEntry::FromFrames(150), TrackTocEntry::FromFrames(15000),
                            TrackTocEntry::FromFrames(30000)},
                           400);
  EXPECT_EQ(CdPlayerIniKey(timing), "38B30");  // 0x31600 + 30000
  timing.disc_seconds = 401;
  EXPECT_EQ(CdPlayerIniKey(timing), "38B7B");
  timing.toc[0] = TrackTocEntry::FromFrames(157);
  // First start's frames count twice: once in its packed form, once on its own.
  EXPECT_EQ(CdPlayerIniKey(timing), "38B89");
}

}  // namespace
}  // namespace zcd
