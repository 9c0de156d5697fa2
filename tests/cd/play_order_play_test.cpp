#include <gtest/gtest.h>

#include "cd/play_order.h"
#include "cd/play_order_edit.h"
#include "cd/virtual_cd_fixture.h"

namespace zcd {
namespace {

// The device code walking a real play order: tracks of 100, 200, 50, 80 and
// 60 seconds.
class PlayOrderPlayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(state_.OpenDisc(), kResultOk);
    list_.BuildDefault();
  }

  void SetOrder(std::initializer_list<int> tracks) {
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

TEST_F(PlayOrderPlayTest, ARunEndsAtTheFirstGapInTrackNumbers) {
  SetOrder({1, 2, -3, 4, 5});
  EXPECT_EQ(list_.RunRange(0), (TrackRange{1, 3}));
  EXPECT_EQ(state_.PlayFrom(0), kResultOk);
  EXPECT_EQ(LastPlay(), (VirtualPlayCommand{1, 3, true}));
  // The run reaching the last track plays to the end of the disc.
  EXPECT_EQ(state_.PlayFrom(3), kResultOk);
  EXPECT_EQ(LastPlay(), (VirtualPlayCommand{4, std::nullopt, true}));
}

// Neither a removed entry nor the wrap to the list's start may join tracks
// into a run: both would play tracks the order does not hold.
TEST_F(PlayOrderPlayTest, RemovedEntriesAndTheWrapDoNotJoinRuns) {
  SetOrder({1, -5, 2, 3});
  EXPECT_EQ(list_.RunRange(0), (TrackRange{1, 4}));
  SetOrder({2, 1});
  EXPECT_EQ(list_.RunRange(1), (TrackRange{1, 2}));
  EXPECT_EQ(list_.RunRange(0), (TrackRange{2, 3}));
  EXPECT_EQ(list_.RunRange(2), std::nullopt);
}

TEST_F(PlayOrderPlayTest, RepeatTrackPlaysTheCurrentEntryAlone) {
  settings_.PlayType = kPlayTypeRepeatTrack;
  state_.current_position = 1;
  EXPECT_EQ(state_.PlayFrom(-1), kResultOk);
  EXPECT_EQ(LastPlay(), (VirtualPlayCommand{std::nullopt, 3, true}));
  list_.SetRemoved(1, true);
  EXPECT_EQ(list_.RunRange(1), std::nullopt);
}

TEST_F(PlayOrderPlayTest, NothingPlaysWhenEveryEntryIsRemoved) {
  list_.InvertRemoved();
  EXPECT_EQ(state_.PlayFrom(0), kResultOk);
  EXPECT_EQ(fixture_.drive->PlayCount(), 0);
  EXPECT_EQ(state_.SeekTo(0, 1, kSeekOverPlayOrder), kResultSeekFailed);
}

TEST_F(PlayOrderPlayTest, SeekingCountsTheLengthTheListStored) {
  ASSERT_EQ(ToggleOrDeleteEntry(list_, 1), SecondaryClick::kToggled);
  EXPECT_EQ(state_.play_order_seconds, 290);
  EXPECT_EQ(state_.SeekTo(30, 1, kSeekOverPlayOrder | kSeekFromEnd), kResultOk);
  EXPECT_EQ(state_.current_position, 4);
  EXPECT_EQ(Position(), (TrackPosition{5, 0, 30, 0}));
  EXPECT_EQ(state_.SeekTo(290, 1, kSeekOverPlayOrder), kResultSeekFailed);
}

TEST_F(PlayOrderPlayTest, AnEditWhilePlayingMovesTheEndOfThePlay) {
  ASSERT_EQ(state_.PlayFrom(0), kResultOk);
  state_.playing = true;
  fixture_.Advance(10);
  ASSERT_EQ(ToggleOrDeleteEntry(list_, 2), SecondaryClick::kToggled);
  EXPECT_EQ(ReplayAfterEdit(list_), kResultOk);
  EXPECT_EQ(LastPlay(), (VirtualPlayCommand{std::nullopt, 3, true}));

  state_.paused = true;
  int sent = fixture_.drive->PlayCount();
  EXPECT_EQ(ReplayAfterEdit(list_), kResultOk);
  EXPECT_EQ(fixture_.drive->PlayCount(), sent);
}

}  // namespace
}  // namespace zcd
