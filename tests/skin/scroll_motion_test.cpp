#include "skin/scroll_motion.h"

#include <gtest/gtest.h>

#include <vector>

namespace zcd {
namespace {

constexpr int kFullSlot = 195;
constexpr int kFullGap = 113;

std::vector<int> Positions(int strip, int mode, int ticks) {
  ScrollMotion motion;
  std::vector<int> seen;
  for (int i = 0; i < ticks; ++i) {
    motion.Advance(strip, kFullSlot, mode, kFullGap);
    seen.push_back(motion.position);
  }
  return seen;
}

TEST(ScrollMotionTest, OnlyAStripWiderThanTheSlotMoves) {
  EXPECT_EQ(Positions(195, kScrollRound, 3), (std::vector{0, 0, 0}));
  EXPECT_EQ(Positions(196, kScrollRound, 3), (std::vector{1, 2, 3}));
  EXPECT_EQ(Positions(400, kScrollNone, 3), (std::vector{0, 0, 0}));
}

TEST(ScrollMotionTest, RoundAndRoundWrapsAfterTheGap) {
  const auto seen = Positions(200, kScrollRound, 313);
  EXPECT_EQ(seen[311], 312);
  EXPECT_EQ(seen[312], 0);  // 200 + 113: the second copy now stands at 0
  EXPECT_EQ(RoundSecondCopy(200, 312, kFullSlot, kFullGap), (SecondCopy{1, 207}));
  EXPECT_EQ(RoundSecondCopy(200, 0, kFullSlot, kFullGap), std::nullopt);
  EXPECT_EQ(RoundSecondCopy(200, 105, kFullSlot, kFullGap), (SecondCopy{208, 0}));
  EXPECT_EQ(RoundSecondCopy(195, 100, kFullSlot, kFullGap), std::nullopt);
}

TEST(ScrollMotionTest, BackAndForthRestsTwentyTicksAtEachEndAndNeverGoesPastThem) {
  // One pixel wider: at each end the tick that arrives, the tick that tries
  // to go past and turns, then 20 resting ticks; then one step to the other end.
  std::vector<int> expected(22, 1);
  expected.insert(expected.end(), 22, 0);
  expected.insert(expected.end(), {1, 1});
  EXPECT_EQ(Positions(196, kScrollBackAndForth, 46), expected);
  for (const int position : Positions(260, kScrollBackAndForth, 2000)) {
    ASSERT_GE(position, 0);
    ASSERT_LE(position, 260 - kFullSlot);
  }
}

}  // namespace
}  // namespace zcd
