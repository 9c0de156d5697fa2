#include "cd/play_order.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "cd/play_order_edit.h"
#include "cd/virtual_cd_fixture.h"

namespace zcd {
namespace {

// Tracks of 60, 60, 60, 60 and 90 seconds; track 3 is a data track. Every
// shuffle draw is 0, so a shuffle is repeatable.
class PlayOrderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    VirtualDisc disc = MakeAudioDisc({60, 60, 60, 60, 90});
    disc.tracks[2].audio = false;
    fixture_.drive->InsertDisc(disc);
    ASSERT_EQ(state_.OpenDisc(), kResultOk);
    list_.BuildDefault();
  }

  // Removed entries as negative track numbers.
  std::vector<int> Tracks() const {
    std::vector<int> tracks;
    for (const TrackCell& cell : list_.cells())
      tracks.push_back(cell.removed ? -cell.track : cell.track);
    return tracks;
  }

  test::VirtualCdFixture fixture_{std::nullopt};
  CdState state_{fixture_.table, fixture_.index, true};
  Settings settings_;
  PlayOrderList list_{state_, settings_, [] { return 0u; }};
};

TEST_F(PlayOrderTest, DefaultListMarksDataAndSkipsShortOrUnknownTracks) {
  EXPECT_EQ(Tracks(), (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_TRUE(list_.cells()[2].data);
  EXPECT_FALSE(list_.cells()[1].data);
  EXPECT_EQ(state_.play_order_seconds, 330);

  settings_.IgnoreSec = 61;
  list_.BuildDefault();
  EXPECT_EQ(Tracks(), (std::vector<int>{5}));
  EXPECT_EQ(state_.play_order_seconds, 90);

  settings_.IgnoreSec = 0;
  DiscTiming timing = state_.disc().Timing();
  timing.track_seconds[1] = -1;
  state_.disc().SetTiming(timing);
  list_.BuildDefault();
  EXPECT_EQ(Tracks(), (std::vector<int>{1, 3, 4, 5}));
}

TEST_F(PlayOrderTest, AppendStopsAtTheLimitAndAtTracksTheDiscLacks) {
  EXPECT_EQ(list_.AppendEntry(0), -1);
  EXPECT_EQ(list_.AppendEntry(6), -1);
  while (list_.EntryCount() < kMaxPlayOrderEntries) {
    int index = list_.AppendEntry(3);
    ASSERT_EQ(index, list_.EntryCount() - 1);
  }
  EXPECT_EQ(list_.AppendEntry(1), -1);
  EXPECT_EQ(list_.cells().back(), (TrackCell{.position = 254, .track = 3, .data = true}));
}

TEST_F(PlayOrderTest, ContentsMoveWhilePositionsStay) {
  list_.SetBlink(1, true);
  EXPECT_TRUE(list_.MoveEntry(1, 3));
  EXPECT_TRUE(list_.cells()[3].blink);
  EXPECT_TRUE(list_.MoveEntry(4, 0));
  EXPECT_EQ(Tracks(), (std::vector<int>{5, 1, 3, 4, 2}));
  EXPECT_FALSE(list_.ExchangeEntries(0, 5));
  EXPECT_FALSE(list_.RemoveEntry(5));

  EXPECT_TRUE(list_.RemoveEntry(1));
  EXPECT_EQ(Tracks(), (std::vector<int>{5, 3, 4, 2}));
  for (int i = 0; i < list_.EntryCount(); ++i)
    EXPECT_EQ(list_.cells()[i].position, i);
  EXPECT_EQ(state_.play_order_seconds, 270);

  // While playing, the current position follows the drive's track.
  ASSERT_EQ(state_.PlayFrom(2), kResultOk);  // track 4
  fixture_.Advance(1);
  state_.playing = true;
  ASSERT_TRUE(list_.RemoveEntry(0));
  EXPECT_EQ(state_.current_position, 1);
}

TEST_F(PlayOrderTest, StepsSkipRemovedEntriesAndWrap) {
  list_.SetRemoved(0, true);
  list_.SetRemoved(4, true);
  EXPECT_EQ(state_.play_order_seconds, 180);
  EXPECT_EQ(list_.StepIndex(-1, true), 1);
  EXPECT_EQ(list_.StepIndex(3, true), 1);
  EXPECT_EQ(list_.StepIndex(0, false), 3);

  list_.InvertRemoved();
  list_.SetRemoved(4, true);
  EXPECT_EQ(Tracks(), (std::vector<int>{1, -2, -3, -4, -5}));
  EXPECT_EQ(list_.StepIndex(0, true), 0);
  list_.SetRemoved(0, true);
  EXPECT_EQ(list_.StepIndex(-1, true), -1);
  EXPECT_EQ(list_.StepIndex(2, false), -1);
  list_.ClearList();
  EXPECT_EQ(list_.StepIndex(-1, true), -1);
}

TEST_F(PlayOrderTest, SortIsStableAndKeepsEachEntrysFlags) {
  list_.AppendEntry(2, {.copy = true});
  list_.AppendEntry(4, {.removed = true, .copy = true});
  list_.ExchangeEntries(0, 6);  // the removed copy of 4 first
  list_.ExchangeEntries(1, 5);  // the copy of 2 before its original
  list_.ReorderPlayOrder(0);
  EXPECT_EQ(Tracks(), (std::vector<int>{1, 2, 2, 3, -4, 4, 5}));
  EXPECT_TRUE(list_.cells()[1].copy);
  EXPECT_FALSE(list_.cells()[2].copy);
  EXPECT_TRUE(list_.cells()[4].copy);
}

TEST_F(PlayOrderTest, ShuffleDrawsEverySlotAndKeepsThePlayingEntryFirst) {
  // Draws of 0 exchange every slot with slot 0 in turn.
  list_.ReorderPlayOrder(kPlayTypeShuffle);
  EXPECT_EQ(Tracks(), (std::vector<int>{5, 1, 2, 3, 4}));

  // The playing entry goes to slot 0; draws of 0 then pick slot 1 each time.
  list_.ReorderPlayOrder(0);
  state_.playing = true;
  state_.current_position = 2;
  list_.SetBlink(2, true);
  list_.SetBlink(3, true);
  list_.ReorderPlayOrder(kPlayTypeShuffle);
  EXPECT_EQ(Tracks(), (std::vector<int>{3, 5, 2, 1, 4}));
  EXPECT_TRUE(list_.cells()[0].blink);
  EXPECT_FALSE(list_.cells()[2].blink || list_.cells()[4].blink);

  // One entry while playing leaves nothing to draw from.
  list_.ClearList();
  list_.AppendEntry(1);
  list_.ReorderPlayOrder(kPlayTypeShuffle);
  EXPECT_EQ(Tracks(), (std::vector<int>{1}));
}

TEST_F(PlayOrderTest, SecondaryClickDeletesCopiesAndTogglesTheRest) {
  ASSERT_EQ(AppendCopyOf(list_, 3), 5);
  EXPECT_TRUE(list_.cells()[5].copy);
  EXPECT_EQ(ToggleOrDeleteEntry(list_, 3), SecondaryClick::kToggled);
  EXPECT_EQ(ToggleOrDeleteEntry(list_, 5), SecondaryClick::kDeleted);
  EXPECT_EQ(Tracks(), (std::vector<int>{1, 2, 3, -4, 5}));
  EXPECT_EQ(state_.play_order_seconds, 270);
  EXPECT_FALSE(EntryPressable(list_, 3));

  // The data track refuses while XData is on.
  EXPECT_FALSE(EntryPressable(list_, 2));
  EXPECT_EQ(ToggleOrDeleteEntry(list_, 2), SecondaryClick::kRefused);
  settings_.XData = 0;
  EXPECT_EQ(ToggleOrDeleteEntry(list_, 2), SecondaryClick::kToggled);
}

// As when an owner assigns a new list over its old one.
TEST_F(PlayOrderTest, TheStatePlaysTheNewestLiveList) {
  auto old_list = std::make_unique<PlayOrderList>(state_, settings_);
  auto new_list = std::make_unique<PlayOrderList>(state_, settings_);
  new_list->AppendEntry(2);
  old_list.reset();
  EXPECT_EQ(state_.PlayFrom(0), kResultOk);
  EXPECT_EQ(fixture_.drive->LastPlay(), (VirtualPlayCommand{2, 3, true}));

  new_list.reset();
  EXPECT_EQ(state_.PlayFrom(0), kResultOk);
  EXPECT_EQ(fixture_.drive->PlayCount(), 1);
}

}  // namespace
}  // namespace zcd
