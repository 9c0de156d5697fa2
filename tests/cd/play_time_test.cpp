#include "cd/play_time.h"

#include <gtest/gtest.h>

#include "cd/play_order.h"
#include "cd/virtual_cd_fixture.h"

namespace zcd {
namespace {

TEST(PlayTimeTest, TimerSecondsForEachModeStayBetweenZeroAnd9959) {
  struct Case {
    int mode;
    PlayClock clock;
    int32_t expected;
  };
  const TrackPosition at_1_05{3, 1, 5, 0};
  const Case cases[] = {
      {0, {at_1_05, 200, 500, 900}, 65},
      {2, {at_1_05, 200, 500, 900}, 135},
      {1, {at_1_05, 200, 500, 900}, 500},
      {3, {at_1_05, 200, 500, 900}, 400},
      // The playing last entry was removed: the order is shorter than what
      // has played, and the timer shows 0, not a negative time.
      {3, {at_1_05, 200, 500, 300}, 0},
      // A position without a track has no length to count down from.
      {2, {{0, 0, 10, 0}, 0, 10, 10}, 0},
      // Past 255 minutes of order the minutes are not cut to 8 bits ...
      {1, {at_1_05, 200, 256 * 60 + 7, 300 * 60}, 5999},
      // ... and the remaining time is still exact below the limit.
      {3, {at_1_05, 200, 256 * 60, 256 * 60 + 4000}, 4000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " expected " << c.expected);
    EXPECT_EQ(TimerSeconds(c.mode, c.clock), c.expected);
  }
}

TEST(PlayTimeTest, PlayOrderElapsedCountsPlayableEntriesBeforeTheCurrentOne) {
  // 70-minute tracks add up past 255 minutes.
  test::VirtualCdFixture fixture(MakeAudioDisc({4200, 4200, 4200, 4200}));
  CdState state(fixture.table, fixture.index, true);
  ASSERT_EQ(state.OpenDisc(), kResultOk);
  Settings settings;
  PlayOrderList order(state, settings);
  // Entries 1, 2 (removed), 3, 4, 1; the drive is in entry 4 at 0:30.
  for (const int track : {1, 2, 3, 4, 1})
    order.AppendEntry(track, {.removed = track == 2});
  const DiscRecord& disc = state.disc();
  EXPECT_EQ(PlayOrderElapsed(order, disc, 4, {1, 0, 30, 0}), 3 * 70 * 60 + 30);
  EXPECT_EQ(PlayOrderElapsed(order, disc, 0, {1, 0, 30, 0}), 30);
}

TEST(PlayTimeTest, SliderPercentIsTheElapsedShareWithinZeroToHundred) {
  const PlayClock clock{{2, 0, 50, 0}, 200, 450, 1000};
  EXPECT_EQ(SliderPercent(0, clock), 25);
  EXPECT_EQ(SliderPercent(2, clock), 25);  // remaining modes still show the elapsed share
  EXPECT_EQ(SliderPercent(1, clock), 45);
  EXPECT_EQ(SliderPercent(3, clock), 45);
  EXPECT_EQ(SliderPercent(1, {{2, 0, 50, 0}, 200, 1200, 1000}), 100);
  EXPECT_EQ(SliderPercent(1, {{2, 0, 50, 0}, 200, -10, 1000}), 0);
  EXPECT_EQ(SliderPercent(0, {{0, 0, 0, 0}, 0, 0, 0}), 0);  // nothing to divide by
}

TEST(PlayTimeTest, SliderSecondsAndModes) {
  EXPECT_EQ(SliderSeconds(30, 200, 1000, 0), 60);
  EXPECT_EQ(SliderSeconds(30, 200, 1000, 2), 140);
  EXPECT_EQ(SliderSeconds(30, 200, 1000, 1), 300);
  EXPECT_EQ(SliderSeconds(30, 200, 1000, 3), 700);
  EXPECT_EQ(SliderSeconds(0, 200, 1000, 0), 1);    // at least one second
  EXPECT_EQ(SliderSeconds(100, 200, 1000, 3), 1);  // the end, counted back
  EXPECT_EQ(SliderSeconds(33, 10, 0, 0), 3);       // truncated, not rounded
  EXPECT_EQ(SliderMode(1, 2), kTimeOverPlayOrder);
  EXPECT_EQ(SliderMode(2, 3), 0);
  EXPECT_EQ(SliderMode(3, 3), 3);
  EXPECT_EQ(SliderMode(0, 2), 2);  // anything else follows the timer
}

}  // namespace
}  // namespace zcd
