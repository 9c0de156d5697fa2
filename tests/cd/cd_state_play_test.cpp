#include <gtest/gtest.h>

#include "cd/cd_state.h"
#include "cd/play_order.h"
#include "cd/play_order_edit.h"
#include "cd/virtual_cd_fixture.h"

namespace zcd {
namespace {

// The device code walking a real play order: tracks of 100, 200, 50, 80 and
// 60 seconds.
class CdStatePlayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(state_.OpenDisc(), kResultOk);
    list_.BuildDefault();
  }

  // Negative numbers are removed entries.
  void SetOrder(const std::vector<int>& tracks) {
    list_.ClearList();
    for (int track : tracks)
      list_.AppendEntry(track < 0 ? -track : track, {.removed = track < 0});
  }

  std::optional<VirtualPlayCommand> LastPlay() const { return fixture_.drive->LastPlay(); }
  TrackPosition Position() { return UnpackTmsf(state_.GetPosition()); }

  test::VirtualCdFixture fixture_{MakeAudioDisc({100, 200, 50, 80, 60})};
  CdState state_{fixture_.table, fixture_.index, true};
  Settings settings_;
  PlayOrderList list_{state_, settings_};
};

// A run ends at the first gap in track numbers; neither a removed entry nor
// the wrap to the list's start may join tracks into one, as both would play
// tracks the order does not hold.
TEST_F(CdStatePlayTest, RunsEndAtGapsRemovedEntriesAndTheWrap) {
  const struct {
    std::vector<int> order;
    int entry;
    std::optional<TrackRange> run;
  } cases[] = {{{1, 2, -3, 4, 5}, 0, TrackRange{1, 3}},
               {{1, -5, 2, 3}, 0, TrackRange{1, 4}},
               {{2, 1}, 1, TrackRange{1, 2}},
               {{2, 1}, 0, TrackRange{2, 3}},
               {{2, 1}, 2, std::nullopt}};
  for (const auto& c : cases) {
    SetOrder(c.order);
    EXPECT_EQ(list_.RunRange(c.entry), c.run) << c.order.size() << " entries, at " << c.entry;
  }
  SetOrder({1, 2, -3, 4, 5});
  EXPECT_EQ(state_.PlayFrom(0), kResultOk);
  EXPECT_EQ(LastPlay(), (VirtualPlayCommand{1, 3, true}));
  // The run reaching the last track plays to the end of the disc.
  EXPECT_EQ(state_.PlayFrom(3), kResultOk);
  EXPECT_EQ(LastPlay(), (VirtualPlayCommand{4, std::nullopt, true}));
}

TEST_F(CdStatePlayTest, RepeatTrackPlaysTheCurrentEntryAlone) {
  settings_.PlayType = kPlayTypeRepeatTrack;
  state_.current_position = 1;
  EXPECT_EQ(state_.PlayFrom(-1), kResultOk);
  EXPECT_EQ(LastPlay(), (VirtualPlayCommand{std::nullopt, 3, true}));
  list_.SetRemoved(1, true);
  EXPECT_EQ(list_.RunRange(1), std::nullopt);
}

TEST_F(CdStatePlayTest, ContinuingPlaysFromWhereTheDriveStands) {
  SetOrder({1, 2, -3, 4, 5});
  ASSERT_EQ(state_.PlayFrom(0), kResultOk);
  fixture_.Advance(110);
  ASSERT_EQ(state_.StopDevice(), kResultOk);

  state_.current_position = 1;
  EXPECT_EQ(state_.PlayFrom(-1), kResultOk);
  EXPECT_EQ(LastPlay(), (VirtualPlayCommand{std::nullopt, 3, true}));
  EXPECT_EQ(Position(), (TrackPosition{2, 0, 10, 0}));

  state_.current_position = 3;
  EXPECT_EQ(state_.PlayFrom(-1), kResultOk);
  EXPECT_EQ(LastPlay(), (VirtualPlayCommand{std::nullopt, std::nullopt, true}));
}

TEST_F(CdStatePlayTest, PlainPlayOtherPositionsAndNoOrder) {
  EXPECT_EQ(state_.PlayFrom(-2), kResultOk);
  EXPECT_EQ(LastPlay(), (VirtualPlayCommand{std::nullopt, std::nullopt, false}));
  const int sent = fixture_.drive->PlayCount();
  EXPECT_EQ(state_.PlayFrom(-3), kResultOk);
  // Without a play order only the plain play goes out.
  state_.SetPlayOrder(nullptr);
  EXPECT_EQ(state_.PlayFrom(0), kResultOk);
  EXPECT_EQ(state_.PlayFrom(-1), kResultOk);
  EXPECT_EQ(fixture_.drive->PlayCount(), sent);
}

TEST_F(CdStatePlayTest, NothingPlaysWhenEveryEntryIsRemoved) {
  list_.InvertRemoved();
  EXPECT_EQ(state_.PlayFrom(0), kResultOk);
  EXPECT_EQ(fixture_.drive->PlayCount(), 0);
  EXPECT_EQ(state_.SeekTo(0, 1, kSeekOverPlayOrder), kResultSeekFailed);
}

TEST_F(CdStatePlayTest, EmptyDriveAndRefusedCommands) {
  fixture_.drive->SetDoorOpen(true);
  EXPECT_EQ(state_.TogglePause(), kResultOk);
  EXPECT_EQ(state_.GetMode(), kResultDriveEmpty);
  EXPECT_EQ(fixture_.drive->PlayCount(), 0);
  fixture_.drive->SetDoorOpen(false);
  fixture_.drive->SetFaults({.commands_fail = true});
  EXPECT_EQ(state_.PlayFrom(0), kResultCommandFailed);
  EXPECT_EQ(state_.PlayFrom(-2), kResultCommandFailed);
  EXPECT_EQ(state_.StopDevice(), kResultCommandFailed);
  const int sent = fixture_.drive->PlayCount();
  fixture_.drive->SetFaults({.status_fails = true});
  EXPECT_EQ(state_.TogglePause(), kResultCommandFailed);
  EXPECT_EQ(state_.GetMode(), kResultStatusFailed);
  EXPECT_EQ(state_.GetPosition(), 0u);
  EXPECT_EQ(fixture_.drive->PlayCount(), sent);
}

TEST_F(CdStatePlayTest, TogglePauseCycle) {
  SetOrder({1, 2, -3, 4, 5});
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
  const int sent = fixture_.drive->PlayCount();
  EXPECT_EQ(state_.TogglePause(), kResultOk);
  EXPECT_EQ(fixture_.drive->PlayCount(), sent + 1);
  EXPECT_EQ(LastPlay(), (VirtualPlayCommand{std::nullopt, 3, true}));
  fixture_.Advance(1);
  EXPECT_EQ(Position(), (TrackPosition{1, 0, 16, 0}));
}

TEST_F(CdStatePlayTest, DoorFlagsAlternateOrForce) {
  for (const bool open : {true, false}) {
    EXPECT_EQ(state_.SetDoor(0), kResultOk);
    EXPECT_EQ(fixture_.drive->DoorOpen(), open);
    EXPECT_EQ(state_.door_open, open);
  }
  for (const int force : {kDoorForceOpen, kDoorForceOpen, kDoorForceClose, kDoorForceClose}) {
    EXPECT_EQ(state_.SetDoor(force), kResultOk);
    EXPECT_EQ(fixture_.drive->DoorOpen(), force == kDoorForceOpen);
  }
  EXPECT_FALSE(state_.door_open);

  fixture_.drive->SetFaults({.door_jammed = true});
  EXPECT_EQ(state_.SetDoor(0), kResultSetFailed);
  EXPECT_FALSE(state_.door_open);
  EXPECT_FALSE(fixture_.drive->DoorOpen());
}

TEST_F(CdStatePlayTest, SeekWithinATrack) {
  EXPECT_EQ(state_.SeekTo(125, 2, 0), kResultOk);
  EXPECT_EQ(Position(), (TrackPosition{2, 2, 5, 0}));
  // Counted back from the track's end.
  EXPECT_EQ(state_.SeekTo(45, 2, kSeekFromEnd), kResultOk);
  EXPECT_EQ(Position(), (TrackPosition{2, 2, 35, 0}));

  EXPECT_EQ(state_.SeekTo(200, 2, 0), kResultSeekFailed);
  EXPECT_EQ(state_.SeekTo(201, 2, kSeekFromEnd), kResultSeekFailed);
  EXPECT_EQ(state_.SeekTo(0, 9, 0), kResultSeekFailed);
}

// The order 1, 2 (removed), 3, 4 lasts 230 seconds.
TEST_F(CdStatePlayTest, SeekOverThePlayOrderSkipsRemovedEntries) {
  SetOrder({1, -2, 3, 4});
  ASSERT_EQ(state_.play_order_seconds, 230);
  const struct {
    int seconds, mode, entry;
    TrackPosition at;
  } seeks[] = {{120, 0, 2, {3, 0, 20, 0}},
               // A target on an entry's boundary belongs to the next entry.
               {100, 0, 2, {3, 0, 0, 0}},
               {0, 0, 0, {1, 0, 0, 0}},
               // 230 - 30 = 200 seconds in: 50 seconds into track 4.
               {30, kSeekFromEnd, 3, {4, 0, 50, 0}}};
  for (const auto& s : seeks) {
    EXPECT_EQ(state_.SeekTo(s.seconds, 1, kSeekOverPlayOrder | s.mode), kResultOk) << s.seconds;
    EXPECT_EQ(state_.current_position, s.entry) << s.seconds;
    EXPECT_EQ(Position(), s.at) << s.seconds;
  }

  // At or past its end, or without entries or an order, it fails.
  state_.current_position = 1;
  EXPECT_EQ(state_.SeekTo(230, 1, kSeekOverPlayOrder), kResultSeekFailed);
  EXPECT_EQ(state_.SeekTo(60000, 1, kSeekOverPlayOrder), kResultSeekFailed);
  EXPECT_EQ(state_.current_position, 1);
  list_.ClearList();
  EXPECT_EQ(state_.SeekTo(0, 1, kSeekOverPlayOrder), kResultSeekFailed);
  state_.SetPlayOrder(nullptr);
  EXPECT_EQ(state_.SeekTo(0, 1, kSeekOverPlayOrder), kResultSeekFailed);
}

TEST_F(CdStatePlayTest, SeekingCountsTheLengthTheListStored) {
  ASSERT_EQ(ToggleOrDeleteEntry(list_, 1), SecondaryClick::kToggled);
  EXPECT_EQ(state_.play_order_seconds, 290);
  EXPECT_EQ(state_.SeekTo(30, 1, kSeekOverPlayOrder | kSeekFromEnd), kResultOk);
  EXPECT_EQ(state_.current_position, 4);
  EXPECT_EQ(Position(), (TrackPosition{5, 0, 30, 0}));
  EXPECT_EQ(state_.SeekTo(290, 1, kSeekOverPlayOrder), kResultSeekFailed);
}

TEST_F(CdStatePlayTest, SeekStopsPlaybackAtTheNewPlace) {
  ASSERT_EQ(state_.PlayFrom(0), kResultOk);
  fixture_.Advance(3);
  ASSERT_EQ(state_.SeekTo(10, 3, 0), kResultOk);
  fixture_.Advance(3);
  EXPECT_EQ(state_.GetMode(), kResultOk);
  EXPECT_EQ(Position(), (TrackPosition{3, 0, 10, 0}));

  fixture_.drive->SetFaults({.commands_fail = true});
  EXPECT_EQ(state_.SeekTo(10, 3, 0), kResultSeekFailed);
}

TEST_F(CdStatePlayTest, AnEditWhilePlayingMovesTheEndOfThePlay) {
  ASSERT_EQ(state_.PlayFrom(0), kResultOk);
  state_.playing = true;
  fixture_.Advance(10);
  ASSERT_EQ(ToggleOrDeleteEntry(list_, 2), SecondaryClick::kToggled);
  EXPECT_EQ(ReplayAfterEdit(list_), kResultOk);
  EXPECT_EQ(LastPlay(), (VirtualPlayCommand{std::nullopt, 3, true}));

  state_.paused = true;
  const int sent = fixture_.drive->PlayCount();
  EXPECT_EQ(ReplayAfterEdit(list_), kResultOk);
  EXPECT_EQ(fixture_.drive->PlayCount(), sent);
}

TEST(TmsfTest, PacksTrackMinutesSecondsFramesLowByteFirst) {
  TrackPosition position{7, 3, 59, 74};
  EXPECT_EQ(PackTmsf(position), 0x4A3B0307u);
  EXPECT_EQ(UnpackTmsf(0x4A3B0307u), position);
}

}  // namespace
}  // namespace zcd
