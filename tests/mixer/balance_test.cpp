#include <gtest/gtest.h>

#include "mixer/balance.h"
#include "mixer/mixer_knob.h"

namespace zcd {
namespace {

TEST(BalanceTest, SpreadsTheVolumeAndReadsItBack) {
  // Leaning one way turns the other side down; 150 and 1 are checked
  // through the panel.
  const std::pair<int, ChannelPair> rows[] = {
      {50, {60000, 30000}}, {100, {60000, 60000}}, {199, {600, 60000}}};
  for (const auto& [balance, channels] : rows) {
    EXPECT_EQ(BalancedChannels(60000, balance), channels) << balance;
    EXPECT_EQ(BalanceOfChannels(channels), balance) << balance;
  }
  // A 32-bit range does not overflow the product.
  EXPECT_EQ(BalancedChannels(4294967295LL, 150), (ChannelPair{2147483647LL, 4294967295LL}));
  // Silence says nothing; a muted side reads as the far end.
  EXPECT_EQ(BalanceOfChannels({0, 0}), std::nullopt);
  EXPECT_EQ(BalanceOfChannels({10, 0}), 0);
  EXPECT_EQ(BalanceOfChannels({0, 10}), 200);
}

TEST(BalanceTest, DragPointsOnTheBalanceKnob) {
  const MixerKnob knob(LayoutOf(KnobId::kBalance));
  struct Row {
    Point at;
    std::optional<int> balance;
  };
  const Row rows[] = {
      {{170, 6}, 100},            // straight up
      {{172, 6}, 100},            // 185.7 degrees: inside the band that snaps to the centre
      {{168, 6}, 100},            // 174.3 degrees, on the other side of it
      {{175, 6}, 112},            // 194 degrees: past the band
      {{187, 16}, 150},           // 239.6 degrees
      {{150, 40}, 1},             // below the left end stop
      {{190, 40}, 199},           // below the right end stop
      {{170, 46}, 199},           // straight down falls just past the right stop
      {{173, 29}, std::nullopt},  // too near the centre to mean a direction
      {{178, 26}, 175},           // exactly 8 pixels away counts
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.at.x << "," << row.at.y);
    EXPECT_EQ(knob.BalanceAt(row.at), row.balance);
  }
}

}  // namespace
}  // namespace zcd
