#include "discdb/disc_id.h"

#include <gtest/gtest.h>

#include "discdb/sample_disc.h"

namespace zcd {
namespace {

using test::DiscTimingOf;

TEST(DiscIdTest, SumsOfStartDigitsLengthAndTrackCount) {
  EXPECT_EQ(ComputeCddbDiscId(test::TwoTrackTiming()), 0x0c01a202u);
  EXPECT_EQ(DiscIdText(0x0c01a202u), "0c01a202");
  EXPECT_EQ(DiscIdText(0x12), "00000012");
  EXPECT_EQ(ComputeCddbDiscId(DiscTiming()), 0u);

  // Frames count nothing; a track at 0:00.40 has seconds-of-disc 0 and adds
  // nothing to the digit sum: only 190 -> 1+9+0.
  const DiscTiming with_frames = DiscTimingOf({40, 14324, 31574});
  EXPECT_EQ(ComputeCddbDiscId(with_frames), ComputeCddbDiscId(DiscTimingOf({0, 14250, 31500})));
  EXPECT_EQ(ComputeCddbDiscId(with_frames) >> 24, 10u);
  EXPECT_EQ(CddbDigitSum(0), 0);
  EXPECT_EQ(CddbDigitSum(-5), 0);
  EXPECT_EQ(CddbDigitSum(9999), 36);

  // 99 tracks whose start seconds have digit sum 27 (999 s) give 99*27 = 2673,
  // which wraps to 2673 % 255 = 123.
  DiscTiming many;
  many.track_count = 99;
  for (int i = 0; i < 99; ++i)
    many.toc[i] = TrackTocEntry::FromMsf(16, 39, i % 75);
  many.toc[99] = TrackTocEntry::FromMsf(70, 0, 0);
  EXPECT_EQ(ComputeCddbDiscId(many) >> 24, 123u);
  EXPECT_EQ(ComputeCddbDiscId(many) & 0xff, 99u);
}

TEST(DiscIdTest, ParsedTextIgnoresCaseAndOddCharactersKeepTheirPlace) {
  // A blank and a byte above 127 count nothing but still shift the others
  // ("\x32" is "2"); letters past "f" count as their code - 87, as the
  // lenient reader always did; more than eight digits wrap modulo 2^32.
  const std::pair<std::optional<std::string>, uint32_t> cases[] = {
      {"0C01A202", 0x0c01a202u}, {"0c01a202", 0x0c01a202u}, {std::nullopt, 0u}, {"", 0u},
      {"1 2", 0x102u},           {"1\xE9\x32", 0x102u},     {"g", 16u},         {"100000001", 1u}};
  for (const auto& [text, id] : cases)
    EXPECT_EQ(ParseDiscIdText(text), id) << text.value_or("<none>");
}

TEST(DiscIdTest, CdPlayerIniKey) {
  // Three tracks or more: the starts only. 150 -> 0:02.00 (0x200); 15000 ->
  // 3:20.00 (0x31400); 30000 -> 6:40.00 (0x62800).
  EXPECT_EQ(CdPlayerIniKey(DiscTimingOf({150, 15000, 30000, 45000})), "93E00");
  EXPECT_EQ(CdPlayerIniKey(DiscTimingOf({150, 15000, 30000, 60000}, 9999)), "93E00");
  EXPECT_EQ(CdPlayerIniKey(DiscTimingOf({224, 15000, 30000, 45000})), "93E4A");  // 0:02.74
  // Fewer: the packed starts 0x200 + 0x31400, the first start's frames (0)
  // and the disc's seconds * 75.
  EXPECT_EQ(CdPlayerIniKey(DiscTimingOf({150, 15000, 30000}, 400)), "38B30");  // 0x31600 + 30000
  EXPECT_EQ(CdPlayerIniKey(DiscTimingOf({150, 15000, 30000}, 401)), "38B7B");
  // The first start's frames count twice: once packed, once on their own.
  EXPECT_EQ(CdPlayerIniKey(DiscTimingOf({157, 15000, 30000}, 401)), "38B89");
}

}  // namespace
}  // namespace zcd
