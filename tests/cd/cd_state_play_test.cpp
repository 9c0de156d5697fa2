#include <gtest/gtest.h>

#include "cd/cd_state.h"
#include "cd/vector_play_order.h"
#include "cd/virtual_cd_fixture.h"

namespace zcd {
namespace {

using test::VectorPlayOrder;

// Five one-minute tracks; the play order 1, 2, 3 (removed), 4, 5.
class CdStatePlayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(state_.OpenDisc(), kResultOk);
    state_.SetPlayOrder(&order_);
  }

  TrackPosition Position() { return UnpackTmsf(state_.GetPosition()); }

  test::VirtualCdFixture fixture_{MakeAudioDisc({60, 60, 60, 60, 60})};
  CdState state_{fixture_.table, fixture_.index, true};
  VectorPlayOrder order_{{{1, false}, {2, false}, {3, true}, {4, false}, {5, false}}, 5};
};

TEST_F(CdStatePlayTest, RunsBecomePlayRanges) {
  // A run that ends before the last track stops at the track after it.
  EXPECT_EQ(state_.PlayFrom(0), kResultOk);
  EXPECT_EQ(fixture_.drive->LastPlay(), (VirtualPlayCommand{1, 3, true}));

  // A run that ends with the disc's last track plays to the end of the disc.
  EXPECT_EQ(state_.PlayFrom(3), kResultOk);
  EXPECT_EQ(fixture_.drive->LastPlay(), (VirtualPlayCommand{4, std::nullopt, true}));
  fixture_.Advance(61);
  EXPECT_EQ(Position(), (TrackPosition{5, 0, 1, 0}));
}

TEST_F(CdStatePlayTest, ContinuingPlaysFromWhereTheDriveStands) {
  ASSERT_EQ(state_.PlayFrom(0), kResultOk);
  fixture_.Advance(70);
  ASSERT_EQ(state_.StopDevice(), kResultOk);

  state_.current_position = 1;
  EXPECT_EQ(state_.PlayFrom(-1), kResultOk);
  EXPECT_EQ(fixture_.drive->LastPlay(), (VirtualPlayCommand{std::nullopt, 3, true}));
  EXPECT_EQ(Position(), (TrackPosition{2, 0, 10, 0}));

  state_.current_position = 3;
  EXPECT_EQ(state_.PlayFrom(-1), kResultOk);
  EXPECT_EQ(fixture_.drive->LastPlay(), (VirtualPlayCommand{std::nullopt, std::nullopt, true}));
}

TEST_F(CdStatePlayTest, PlainPlayAndOtherPositions) {
  EXPECT_EQ(state_.PlayFrom(-2), kResultOk);
  EXPECT_EQ(fixture_.drive->LastPlay(), (VirtualPlayCommand{std::nullopt, std::nullopt, false}));
  int sent = fixture_.drive->PlayCount();

  EXPECT_EQ(state_.PlayFrom(-3), kResultOk);
  EXPECT_EQ(fixture_.drive->PlayCount(), sent);

  // Without a play order only the plain play goes out.
  state_.SetPlayOrder(nullptr);
  EXPECT_EQ(state_.PlayFrom(0), kResultOk);
  EXPECT_EQ(state_.PlayFrom(-1), kResultOk);
  EXPECT_EQ(fixture_.drive->PlayCount(), sent);

  // A play order whose entries are all removed has no range.
  VectorPlayOrder all_removed({{1, true}, {2, true}}, 5);
  state_.SetPlayOrder(&all_removed);
  EXPECT_EQ(state_.PlayFrom(0), kResultOk);
  EXPECT_EQ(fixture_.drive->PlayCount(), sent);
}

TEST_F(CdStatePlayTest, RefusedCommandsGiveForty) {
  fixture_.drive->SetFaults({.commands_fail = true});
  EXPECT_EQ(state_.PlayFrom(0), kResultCommandFailed);
  EXPECT_EQ(state_.PlayFrom(-2), kResultCommandFailed);
  EXPECT_EQ(state_.StopDevice(), kResultCommandFailed);
}

TEST_F(CdStatePlayTest, TogglePauseCycle) {
  ASSERT_EQ(state_.PlayFrom(0), kResultOk);
  fixture_.Advance(10);
  EXPECT_EQ(state_.GetMode(), kResultPlaying);

  EXPECT_EQ(state_.TogglePause(), kResultOk);
  EXPECT_EQ(state_.GetMode(), kResultOk);
  fixture_.Advance(30);
  EXPECT_EQ(Position(), (TrackPosition{1, 0, 10, 0}));

  EXPECT_EQ(state_.TogglePause(), kResultOk);
  EXPECT_EQ(state_.GetMode(), kResultPlaying);
  fixture_.Advance(5);
  EXPECT_EQ(Position(), (TrackPosition{1, 0, 15, 0}));

  // From a stop it plays on from the drive's place to the end of the run.
  ASSERT_EQ(state_.StopDevice(), kResultOk);
  int sent = fixture_.drive->PlayCount();
  EXPECT_EQ(state_.TogglePause(), kResultOk);
  EXPECT_EQ(fixture_.drive->PlayCount(), sent + 1);
  EXPECT_EQ(fixture_.drive->LastPlay(), (VirtualPlayCommand{std::nullopt, 3, true}));
  fixture_.Advance(1);
  EXPECT_EQ(Position(), (TrackPosition{1, 0, 16, 0}));
}

TEST_F(CdStatePlayTest, TogglePauseInOtherModes) {
  fixture_.drive->SetDoorOpen(true);
  EXPECT_EQ(state_.TogglePause(), kResultOk);
  EXPECT_EQ(state_.GetMode(), kResultDriveEmpty);
  fixture_.drive->SetFaults({.status_fails = true});
  EXPECT_EQ(state_.TogglePause(), kResultCommandFailed);
  EXPECT_EQ(state_.GetMode(), kResultStatusFailed);
  EXPECT_EQ(state_.GetPosition(), 0u);
  EXPECT_EQ(fixture_.drive->PlayCount(), 0);
}

TEST_F(CdStatePlayTest, DoorFlagsAlternateOrForce) {
  EXPECT_EQ(state_.SetDoor(0), kResultOk);
  EXPECT_TRUE(fixture_.drive->DoorOpen());
  EXPECT_TRUE(state_.door_open);
  EXPECT_EQ(state_.SetDoor(0), kResultOk);
  EXPECT_FALSE(fixture_.drive->DoorOpen());
  EXPECT_FALSE(state_.door_open);

  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(state_.SetDoor(kDoorForceOpen), kResultOk);
    EXPECT_TRUE(fixture_.drive->DoorOpen());
  }
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(state_.SetDoor(kDoorForceClose), kResultOk);
    EXPECT_FALSE(fixture_.drive->DoorOpen());
  }
  EXPECT_FALSE(state_.door_open);

  fixture_.drive->SetFaults({.door_jammed = true});
  EXPECT_EQ(state_.SetDoor(0), kResultSetFailed);
  EXPECT_FALSE(state_.door_open);
  EXPECT_FALSE(fixture_.drive->DoorOpen());
}

TEST(TmsfTest, PacksTrackMinutesSecondsFramesLowByteFirst) {
  TrackPosition position{7, 3, 59, 74};
  EXPECT_EQ(PackTmsf(position), 0x4A3B0307u);
  EXPECT_EQ(UnpackTmsf(0x4A3B0307u), position);
}

}  // namespace
}  // namespace zcd
