#include <gtest/gtest.h>

#include "cd/cd_state.h"
#include "cd/vector_play_order.h"
#include "cd/virtual_cd_fixture.h"

namespace zcd {
namespace {

using test::VectorPlayOrder;

// Tracks of 100, 200, 50 and 80 seconds; the play order 1, 2 (removed), 3, 4
// lasts 230 seconds.
class CdStateSeekTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(state_.OpenDisc(), kResultOk);
    state_.SetPlayOrder(&order_);
    state_.play_order_seconds = 230;
  }

  TrackPosition Position() { return UnpackTmsf(state_.GetPosition()); }

  test::VirtualCdFixture fixture_{MakeAudioDisc({100, 200, 50, 80})};
  CdState state_{fixture_.table, fixture_.index, true};
  VectorPlayOrder order_{{{1, false}, {2, true}, {3, false}, {4, false}}, 4};
};

TEST_F(CdStateSeekTest, WithinATrack) {
  EXPECT_EQ(state_.SeekTo(125, 2, 0), kResultOk);
  EXPECT_EQ(Position(), (TrackPosition{2, 2, 5, 0}));
  // Counted back from the track's end.
  EXPECT_EQ(state_.SeekTo(45, 2, kSeekFromEnd), kResultOk);
  EXPECT_EQ(Position(), (TrackPosition{2, 2, 35, 0}));

  EXPECT_EQ(state_.SeekTo(200, 2, 0), kResultSeekFailed);
  EXPECT_EQ(state_.SeekTo(201, 2, kSeekFromEnd), kResultSeekFailed);
  EXPECT_EQ(state_.SeekTo(0, 9, 0), kResultSeekFailed);
}

TEST_F(CdStateSeekTest, OverThePlayOrderSkipsRemovedEntries) {
  EXPECT_EQ(state_.SeekTo(120, 1, kSeekOverPlayOrder), kResultOk);
  EXPECT_EQ(state_.current_position, 2);
  EXPECT_EQ(Position(), (TrackPosition{3, 0, 20, 0}));

  // A target on an entry's boundary belongs to the next entry.
  EXPECT_EQ(state_.SeekTo(100, 1, kSeekOverPlayOrder), kResultOk);
  EXPECT_EQ(state_.current_position, 2);
  EXPECT_EQ(Position(), (TrackPosition{3, 0, 0, 0}));

  EXPECT_EQ(state_.SeekTo(0, 1, kSeekOverPlayOrder), kResultOk);
  EXPECT_EQ(state_.current_position, 0);
  EXPECT_EQ(Position(), (TrackPosition{1, 0, 0, 0}));

  // 230 - 30 = 200 seconds in: 50 seconds into track 4.
  EXPECT_EQ(state_.SeekTo(30, 1, kSeekOverPlayOrder | kSeekFromEnd), kResultOk);
  EXPECT_EQ(state_.current_position, 3);
  EXPECT_EQ(Position(), (TrackPosition{4, 0, 50, 0}));
}

TEST_F(CdStateSeekTest, AtOrPastTheEndOfThePlayOrderFails) {
  state_.current_position = 1;
  EXPECT_EQ(state_.SeekTo(230, 1, kSeekOverPlayOrder), kResultSeekFailed);
  EXPECT_EQ(state_.SeekTo(60000, 1, kSeekOverPlayOrder), kResultSeekFailed);
  EXPECT_EQ(state_.current_position, 1);

  VectorPlayOrder empty({}, 4);
  state_.SetPlayOrder(&empty);
  EXPECT_EQ(state_.SeekTo(0, 1, kSeekOverPlayOrder), kResultSeekFailed);
  state_.SetPlayOrder(nullptr);
  EXPECT_EQ(state_.SeekTo(0, 1, kSeekOverPlayOrder), kResultSeekFailed);
}

TEST_F(CdStateSeekTest, SeekStopsPlaybackAtTheNewPlace) {
  ASSERT_EQ(state_.PlayFrom(0), kResultOk);
  fixture_.Advance(3);
  ASSERT_EQ(state_.SeekTo(10, 3, 0), kResultOk);
  fixture_.Advance(3);
  EXPECT_EQ(state_.GetMode(), kResultOk);
  EXPECT_EQ(Position(), (TrackPosition{3, 0, 10, 0}));

  fixture_.drive->SetFaults({.commands_fail = true});
  EXPECT_EQ(state_.SeekTo(10, 3, 0), kResultSeekFailed);
}

}  // namespace
}  // namespace zcd
