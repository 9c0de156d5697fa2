#include "cd/playback_monitor.h"

#include <gtest/gtest.h>

#include "app/main_window_fixture.h"

// The monitor as the player runs it: on the main window with the headless
// host, the virtual drive on a manual clock, and the real watcher thread
// bringing the end-of-play notices.
namespace zcd {
namespace {

using test::MainWindowTest;

bool TimerSet(HeadlessWindowHost* host, PlayerTimer timer) {
  return host->timers().contains(SpecOf(timer).id);
}

struct StartCase {
  int on_start;
  bool drive_playing;  // from an earlier run
  bool plays;
};

class StartUpTest : public MainWindowTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(StartUpTest, OnStartKeepsStopsOrPlaysTheDisc) {
  const StartCase c = GetParam();
  if (c.drive_playing)
    PlayElsewhere(2, 10);
  settings_.OnStart = c.on_start;
  Start();
  EXPECT_EQ(Cd().playing, c.plays);
  EXPECT_EQ(Cd().GetMode() == kResultPlaying, c.plays);
  EXPECT_EQ(TimerSet(host_.get(), PlayerTimer::kPlaybackTick), c.plays);
  EXPECT_EQ(TimerSet(Tracks(), PlayerTimer::kTrackBlink), c.plays);
  EXPECT_TRUE(TimerSet(Tracks(), PlayerTimer::kTrackFollow));
  Tick();
  if (!c.plays) {
    EXPECT_EQ(host_->caption(), "ZCD: Unknown CD");
  } else if (c.drive_playing) {
    // The player follows the disc where it is, and its end comes to us.
    EXPECT_EQ(Current(), 1);
    EXPECT_EQ(host_->caption(), "ZCD: [2 - 0:10] Track 2");
    EXPECT_EQ(cd_.drive->LastPlay(), (VirtualPlayCommand{std::nullopt, std::nullopt, true}));
  } else {
    EXPECT_EQ(cd_.drive->LastPlay(), (VirtualPlayCommand{1, std::nullopt, true}));
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, StartUpTest,
                         ::testing::Values(StartCase{0, true, true}, StartCase{1, true, false},
                                           StartCase{2, true, true}, StartCase{2, false, true},
                                           StartCase{0, false, false}));

TEST_F(MainWindowTest, InsertedDiscPlaysOnlyWithLoadPlay) {
  Start();
  for (int load_play : {0, 1}) {
    settings_.LoadPlay = load_play;
    cd_.drive->RemoveDisc();
    Poll();
    ASSERT_FALSE(Cd().disc_loaded());
    cd_.drive->InsertDisc(test::ThreeTracks());
    Poll();
    EXPECT_TRUE(Cd().disc_loaded());
    EXPECT_EQ(Cd().playing, load_play == 1);
  }
}

TEST_F(MainWindowTest, EndOfTheOrderStopsAndEjectsWithDoneEject) {
  settings_.DoneEject = 1;
  Start("/autoplay");
  ASSERT_TRUE(PlayToEnd(620));
  EXPECT_FALSE(Cd().playing);
  EXPECT_TRUE(cd_.drive->DoorOpen());
  EXPECT_FALSE(TimerSet(Tracks(), PlayerTimer::kTrackBlink));
  EXPECT_EQ(host_->caption(), "ZCD: Unknown CD");
  Poll();
  EXPECT_FALSE(Cd().disc_loaded());
  EXPECT_EQ(host_->caption(), "ZCD");
}

TEST_F(MainWindowTest, RepeatAllWrapsAroundAndRepeatTrackPlaysTheEntryAgain) {
  settings_.PlayType = kPlayTypeRepeatAll;
  Start("/autoplay");
  ASSERT_TRUE(PlayToEnd(620));
  EXPECT_TRUE(Cd().playing);
  EXPECT_EQ(Current(), 0);
  EXPECT_EQ(cd_.drive->PlayCount(), 2);

  settings_.PlayType = kPlayTypeRepeatTrack;
  Post(kCmdNextTrackKey);
  EXPECT_EQ(cd_.drive->LastPlay(), (VirtualPlayCommand{2, 3, true}));
  ASSERT_TRUE(PlayToEnd(180));
  EXPECT_EQ(Current(), 1);
  EXPECT_EQ(cd_.drive->LastPlay(), (VirtualPlayCommand{2, 3, true}));
  EXPECT_EQ(cd_.drive->PlayCount(), 4);
}

TEST_F(MainWindowTest, DoNextCdGoesOnWithTheNextDrivesDisc) {
  const auto second = cd_.table.AddVirtualDisc(MakeAudioDisc({30, 30}));
  ASSERT_TRUE(second.index);
  const auto second_drive = cd_.table.VirtualDriveAt(*second.index);
  settings_.DoNextCD = 1;
  Start("/autoplay");
  ASSERT_TRUE(PlayToEnd(620));
  EXPECT_EQ(settings_.UseDrive, *second.index);
  EXPECT_EQ(Cd().disc().TrackCount(), 2);
  EXPECT_TRUE(Cd().playing);
  EXPECT_EQ(second_drive->LastPlay(), (VirtualPlayCommand{1, std::nullopt, true}));
  // The first drive is empty now; the disc that just ended is not played
  // again from the start.
  cd_.drive->RemoveDisc();
  ASSERT_TRUE(PlayToEnd(60));
  EXPECT_EQ(settings_.UseDrive, cd_.index);
  EXPECT_EQ(Cd().disc().DiscTitle(), "drive empty");
  EXPECT_EQ(second_drive->PlayCount(), 1);
}

TEST_F(MainWindowTest, RemovalWithEjectQuitSavesThePlayOrderAndEndsThePlayer) {
  StoreEntry("1,2,3");
  settings_.PlayOrder = kPlayOrderSave;
  settings_.EjectQuit = 1;
  Start("/autoplay");
  Order().SetRemoved(2, true);
  cd_.drive->RemoveDisc();
  Poll();
  EXPECT_TRUE(window_->destroyed());
  EXPECT_EQ(host_->exit_code(), 0);
  EXPECT_EQ(StoredPlayOrder(), "1,2,-3");
}

TEST_F(MainWindowTest, CdRemainingFollowsRemovedEntriesAndNeverGoesBelowZero) {
  settings_.TimerType = 3;
  Start("/autoplay");
  cd_.Advance(50);
  Tick();
  EXPECT_EQ(window_->shown().timer, 570);
  EXPECT_TRUE(window_->shown().timer_lit);
  // As the track box removes an entry.
  Order().SetRemoved(2, true);
  window_->monitor().OrderEdited();
  EXPECT_EQ(window_->shown().timer, 330);
  // Into track 2, then the playing entry itself, now the last, is removed.
  cd_.Advance(160);
  Tick();
  ASSERT_EQ(Current(), 1);
  Order().SetRemoved(1, true);
  window_->monitor().OrderEdited();
  EXPECT_EQ(window_->shown().timer, 0);
}

TEST_F(MainWindowTest, NoticesThatFindNothingToPlayStop) {
  settings_.PlayType = kPlayTypeRepeatAll;
  Start("/autoplay");
  // Every entry removed under repeat all: the end stops instead of playing
  // an entry that does not exist.
  Post(kCmdInvertRemoved);
  ASSERT_TRUE(PlayToEnd(620));
  EXPECT_FALSE(Cd().playing);
  EXPECT_EQ(cd_.drive->PlayCount(), 1);
  // A notice arriving after Stop starts nothing again.
  Post(kCmdInvertRemoved);
  Post(kCmdPlayKey);
  Post(kCmdStopKey);
  const int64_t device = window_->monitor().device_serial();
  queue_.Post({WindowId::kMain, kMsgDeviceNotice, kNoticeSuccessful, device});
  Drain();
  EXPECT_FALSE(Cd().playing);
  EXPECT_EQ(cd_.drive->PlayCount(), 2);
  // Nor does a notice from a drive the player has let go of.
  Post(kCmdPlayKey);
  queue_.Post({WindowId::kMain, kMsgDeviceNotice, kNoticeSuccessful, device - 1});
  Drain();
  EXPECT_EQ(Current(), 0);
  EXPECT_EQ(cd_.drive->PlayCount(), 3);
}

TEST_F(MainWindowTest, ARunOfTracksIsFollowedInsideOnePlay) {
  Start("/autoplay");
  cd_.Advance(210);
  Tick();
  EXPECT_EQ(Current(), 1);
  EXPECT_EQ(host_->caption(), "ZCD: [2 - 0:10] Track 2");
  cd_.Advance(200);
  Tick();
  EXPECT_EQ(Current(), 2);
  EXPECT_EQ(cd_.drive->PlayCount(), 1);
}

TEST_F(MainWindowTest, SliderSeeksKeepTheEntryChosenAndStopPastTheEnd) {
  settings_.SliderType = 1;  // position in the whole order
  Start("/autoplay");
  Order().AppendEntry(1, {.copy = true});  // 1, 2, 3, 1
  Order().StorePlayOrderSeconds();
  // 80% of 820 s lies 36 s into the copy: the copy becomes current, not the
  // first entry holding track 1, so 2 and 3 do not play again.
  window_->monitor().SeekToPercent(80);
  EXPECT_EQ(Current(), 3);
  EXPECT_EQ(UnpackTmsf(Cd().GetPosition()).track, 1);
  ASSERT_TRUE(PlayToEnd(200));
  EXPECT_FALSE(Cd().playing);

  Post(kCmdPlayKey);
  window_->monitor().SeekToPercent(100);  // the end of the order: no entry there
  EXPECT_FALSE(Cd().playing);
}

TEST_F(MainWindowTest, TrackBackRestartsFromFiveSecondsAndForwardWhileStoppedPlays) {
  Start();
  Post(kCmdNextTrackKey);
  EXPECT_TRUE(Cd().playing);
  EXPECT_TRUE(TimerSet(host_.get(), PlayerTimer::kPlaybackTick));
  EXPECT_EQ(Current(), 1);
  cd_.Advance(4);
  Post(kCmdPrevTrackKey);
  EXPECT_EQ(Current(), 0);
  cd_.Advance(5);
  Post(kCmdPrevTrackKey);
  EXPECT_EQ(Current(), 0);
  EXPECT_EQ(UnpackTmsf(Cd().GetPosition()), (TrackPosition{1, 0, 0, 0}));
  // Paused, a step moves the drive and keeps it paused.
  Post(kCmdPauseKey);
  Post(kCmdNextTrackKey);
  EXPECT_TRUE(Cd().paused);
  EXPECT_EQ(Current(), 1);
  EXPECT_EQ(Cd().GetMode(), kResultOk);
}

TEST_F(MainWindowTest, ChangedIgnoreSecFindsThePlayingTrackAgainOrStops) {
  cd_.drive->InsertDisc(MakeAudioDisc({100, 3, 100, 100}));
  Start();
  ASSERT_EQ(Order().EntryCount(), 4);
  Post(kCmdEntryBase + 3);  // track 4
  Settings edited = settings_;
  edited.IgnoreSec = 5;
  window_->ApplyPreferences(edited);
  ASSERT_EQ(Order().EntryCount(), 3);
  EXPECT_EQ(Current(), 2);
  EXPECT_TRUE(Cd().playing);
  edited.IgnoreSec = 150;  // no entry holds track 4 any more
  window_->ApplyPreferences(edited);
  EXPECT_EQ(Order().EntryCount(), 0);
  EXPECT_FALSE(Cd().playing);
  Post(kCmdNextTrackKey);  // nothing to step to, nothing to crash on
  EXPECT_FALSE(Cd().playing);
}

TEST_F(MainWindowTest, ATrackTheOrderLeavesOutKeepsTheCurrentEntryValid) {
  cd_.drive->InsertDisc(MakeAudioDisc({100, 3, 100}));
  settings_.IgnoreSec = 5;
  PlayElsewhere(2, 1);  // a track the order leaves out
  Start();
  ASSERT_TRUE(Cd().playing);
  EXPECT_EQ(Current(), 0);
  Tick();
  EXPECT_EQ(Current(), 0);
  // The drive plays on to the end of the disc; the poll sees it stopped.
  cd_.Advance(200);
  Poll();
  EXPECT_FALSE(Cd().playing);
  EXPECT_EQ(Current(), 0);
}

TEST_F(MainWindowTest, CommandsThatNeedAnOrderDoNothingWithoutOne) {
  cd_.drive->SetDoorOpen(true);
  Start();
  for (int64_t command : {kCmdInvertRemoved, kCmdPlayKey, kCmdNextTrackKey, kCmdPrevTrackKey,
                          kCmdPauseKey, kCmdEntryBase, kCmdQueryCddb}) {
    Post(command);
  }
  queue_.Post({WindowId::kMain, kMsgPlayer, kPlayerCddbStatus, kCddbStatusDone});
  queue_.Post({WindowId::kTracks, kMsgPlayTrack, 1, 0});
  Drain();
  EXPECT_FALSE(Cd().playing);
  EXPECT_EQ(Cd().disc().DiscTitle(), "drive empty");
  EXPECT_EQ(window_->shown().status_word, kCddbStatusDone);
}

TEST_F(MainWindowTest, EjectStopsAndTheTimersThatDrawFromPlayback) {
  Start("/autoplay");
  Post(kCmdEjectKey);
  EXPECT_FALSE(Cd().playing);
  EXPECT_TRUE(cd_.drive->DoorOpen());
  EXPECT_FALSE(TimerSet(host_.get(), PlayerTimer::kPlaybackTick));
  EXPECT_FALSE(TimerSet(Tracks(), PlayerTimer::kTrackBlink));
  Poll();
  EXPECT_FALSE(TimerSet(Tracks(), PlayerTimer::kTrackFollow));
  Post(kCmdEjectKey);  // the same key closes the door, and the poll loads the disc
  Poll();
  EXPECT_TRUE(Cd().disc_loaded());
}

TEST_F(MainWindowTest, PlayModesExcludeEachOtherAndShuffleKeepsThePlayingTrack) {
  Start("/autoplay");
  Post(kCmdNextTrackKey);
  PlaybackMonitor& monitor = window_->monitor();
  monitor.TogglePlayType(kPlayTypeRepeatAll);
  EXPECT_EQ(settings_.PlayType, kPlayTypeRepeatAll);
  monitor.TogglePlayType(kPlayTypeRepeatTrack);
  EXPECT_EQ(settings_.PlayType, kPlayTypeRepeatTrack);
  // Playing on from where the drive is, to the end of this track only.
  EXPECT_EQ(cd_.drive->LastPlay(), (VirtualPlayCommand{std::nullopt, 3, true}));
  monitor.TogglePlayType(kPlayTypeShuffle);
  EXPECT_EQ(settings_.PlayType, kPlayTypeRepeatTrack | kPlayTypeShuffle);
  EXPECT_EQ(Order().EntryTrack(0), 2);
  EXPECT_EQ(Current(), 0);
  monitor.TogglePlayType(kPlayTypeShuffle);  // back into disc order
  EXPECT_EQ(Order().EntryTrack(1), 2);
  EXPECT_EQ(Current(), 1);
}

}  // namespace
}  // namespace zcd
