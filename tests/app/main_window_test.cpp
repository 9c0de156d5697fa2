#include "app/main_window.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "app/main_window_fixture.h"
#include "app/settings_file.h"
#include "support/env_table.h"

namespace zcd {
namespace {

using test::MainWindowTest;
using test::ThreeTracks;

TEST_F(MainWindowTest, StartsOnTheFirstDriveAndLoadsItsDisc) {
  Start();
  EXPECT_EQ(settings_.UseDrive, cd_.index);
  EXPECT_EQ(host_->Geometry(), (Rect{100, 130, 297, 162}));
  EXPECT_EQ(host_->State(), ShowState::kNormal);
  EXPECT_EQ(host_->timers().at(SpecOf(PlayerTimer::kDrivePoll).id), 3000);
  EXPECT_TRUE(Cd().disc_loaded());
  EXPECT_EQ(Cd().disc().DiscTitle(), "Unknown CD");
  EXPECT_EQ(Cd().disc().TrackTitle(2), "Track 3");
  EXPECT_EQ(host_->caption(), "ZCD: Unknown CD");
  ASSERT_EQ(host_->children().size(), 5u);
  EXPECT_EQ(host_->children()[1]->State(), ShowState::kNormal);  // tracks, for the disc
  EXPECT_FALSE(host_->tool_window());
}

TEST_F(MainWindowTest, DiscFoundInTheDatabaseGetsItsTitlesAndPlayOrder) {
  StoreEntry("3,-1");
  settings_.PlayOrder = 1 | 2;  // restore and save
  Start("/autoplay");
  EXPECT_EQ(Cd().disc().DiscTitle(), "Some Artist / Some Album");
  EXPECT_EQ(Cd().disc().TrackTitle(0), "Opening");
  EXPECT_EQ(host_->caption(), "ZCD: [3 - 0:00] ");  // playing track 3, untitled
  ASSERT_EQ(window_->play_order()->EntryCount(), 2);
  EXPECT_EQ(window_->play_order()->EntryTrack(0), 3);
  EXPECT_TRUE(window_->play_order()->EntryRemoved(1));
  // Play starts with the first entry that is not removed.
  EXPECT_EQ(cd_.drive->LastPlay(), (VirtualPlayCommand{3, std::nullopt, true}));

  window_->play_order()->SetRemoved(1, false);
  Post(kCmdExit);
  EXPECT_EQ(StoredPlayOrder(), "3,1");
}

TEST_F(MainWindowTest, AReorderedOrderPlaysRunByRun) {
  Start("/autoplay");
  // Tracks 1 to 3 form one run: one play to the end of the disc.
  EXPECT_EQ(cd_.drive->LastPlay(), (VirtualPlayCommand{1, std::nullopt, true}));
  Order().MoveEntry(2, 0);  // 3, 1, 2
  Post(kCmdStopKey);
  Post(kCmdPlayKey);
  EXPECT_EQ(cd_.drive->LastPlay(), (VirtualPlayCommand{3, std::nullopt, true}));
  ASSERT_TRUE(PlayToEnd(240));
  EXPECT_EQ(cd_.drive->LastPlay(), (VirtualPlayCommand{1, 3, true}));
  ASSERT_TRUE(PlayToEnd(380));
  EXPECT_FALSE(Cd().playing);
}

TEST_F(MainWindowTest, LoadFailuresShowTheirWords) {
  cd_.drive->SetDoorOpen(true);
  settings_.EjectEmpty = 1;
  Start();
  EXPECT_EQ(Cd().disc().DiscTitle(), "drive empty");
  EXPECT_FALSE(Cd().disc_loaded());
  EXPECT_TRUE(cd_.drive->DoorOpen());

  cd_.drive->SetDoorOpen(false);
  cd_.drive->SetFaults({.toc_unreadable = true});
  queue_.Post({WindowId::kMain, kMsgPlayer, kPlayerLoadDisc, kLoadInserted});
  Drain();
  EXPECT_EQ(Cd().disc().DiscTitle(), "can't read cd");

  cd_.drive->SetFaults({.open_fails = true});
  queue_.Post({WindowId::kMain, kMsgPlayer, kPlayerLoadDisc, kLoadInserted});
  Drain();
  EXPECT_EQ(Cd().disc().DiscTitle(), "can't open device");
}

TEST_F(MainWindowTest, TransportCommandsDriveTheDevice) {
  Start("/autoplay");
  EXPECT_TRUE(Cd().playing);
  Post(kCmdPauseKey);
  EXPECT_TRUE(Cd().paused);
  const uint32_t paused_at = Cd().GetPosition();
  cd_.Advance(5);
  EXPECT_EQ(Cd().GetPosition(), paused_at);
  Post(kCmdPauseKey);
  EXPECT_FALSE(Cd().paused);
  cd_.Advance(5);
  EXPECT_NE(Cd().GetPosition(), paused_at);
  Post(kCmdStopKey);
  EXPECT_FALSE(Cd().playing);
  EXPECT_EQ(Cd().GetMode(), kResultOk);
  Post(kCmdEjectKey);
  EXPECT_TRUE(cd_.drive->DoorOpen());
}

TEST_F(MainWindowTest, CommandLineSwitchesDriveAndIgnoresBadIndices) {
  auto second = cd_.table.AddVirtualDisc(MakeAudioDisc({60, 60, 60, 60, 60}));
  ASSERT_TRUE(second.index);
  Start("/play E:\\Track05.cda");
  EXPECT_EQ(settings_.UseDrive, *second.index);
  EXPECT_EQ(Cd().disc().TrackCount(), 5);
  // Track 5 of the new drive's disc plays.
  EXPECT_EQ(cd_.table.VirtualDriveAt(*second.index)->LastPlay(),
            (VirtualPlayCommand{5, std::nullopt, true}));
  Post(kCmdDriveBase + *second.index);  // its own drive: nothing happens
  EXPECT_TRUE(Cd().disc_loaded());
  Post(kCmdDriveBase + 26);  // beyond Z: not a drive command at all
  EXPECT_EQ(settings_.UseDrive, *second.index);
}

TEST_F(MainWindowTest, SavedShadeStateIsUsedOnceAndRecordedAtExit) {
  settings_.StartWinState = 7;  // shade, minimized
  Start();
  EXPECT_EQ(window_->layout(), LayoutMode::kShade);
  EXPECT_EQ(host_->Geometry().h, 19);
  EXPECT_EQ(host_->State(), ShowState::kMinimized);
  EXPECT_EQ(host_->children()[0]->Geometry(), (Rect{20, 3, 81, 12}));
  EXPECT_EQ(settings_.StartWinState, 0);

  Post(kCmdExit);
  EXPECT_EQ(host_->exit_code(), 0);
  const Settings stored = ReadSettings(home_.File("ZCD.ini"), home_.path(), test::EnvTable({}));
  EXPECT_EQ(stored.StartWinState, 7);
  // Positions are kept relative to the work area.
  EXPECT_EQ(stored.xWinPos, 100);
  EXPECT_EQ(stored.yWinPos, 100);
}

TEST_F(MainWindowTest, ExitKeepsTheDrivePlayingWhenAsked) {
  settings_.OnExit = 0;
  Start("/autoplay");
  Post(kCmdExit);
  EXPECT_EQ(cd_.drive->LastPlay(), (VirtualPlayCommand{std::nullopt, std::nullopt, false}));
  // The drive plays on after the player let go of it.
  EXPECT_EQ(cd_.drive->OpenHandleCount(), 0);
  EXPECT_EQ(cd_.drive->Open(true)->Mode(), DeviceMode::kPlaying);
}

TEST_F(MainWindowTest, ExitEjectsWhenAskedAndTaskbarBitHidesTheButton) {
  settings_.OnExit = 2;
  settings_.IconType = 1;
  settings_.AlwaysOnTop = 8;
  Start();
  EXPECT_TRUE(host_->tool_window());
  EXPECT_TRUE(host_->topmost());
  Post(kCmdExitAlt);
  EXPECT_TRUE(cd_.drive->DoorOpen());
}

TEST_F(MainWindowTest, PreferencesTakeEffectAtOnceAndNetlogOnlyForTheRun) {
  Start("/netlog");
  EXPECT_EQ(window_->WorkerSettings().NetLogging, 1);
  Settings edited = settings_;
  edited.IconType = kIconTray;
  edited.TaskBarText = "";
  edited.AlwaysOnTop = 8;  // not the sheet's: a command's value is not put back
  window_->ApplyPreferences(edited);
  EXPECT_TRUE(host_->tool_window());
  EXPECT_EQ(settings_.TaskBarText, "ZCD: [%n - %t] %d");
  EXPECT_EQ(settings_.AlwaysOnTop, 0);
  edited.IconType = kIconTaskbar;
  window_->ApplyPreferences(edited);
  EXPECT_FALSE(host_->tool_window());
  Post(kCmdExit);
  EXPECT_EQ(ReadSettings(home_.File("ZCD.ini"), home_.path(), test::EnvTable({})).NetLogging, 0);
}

TEST_F(MainWindowTest, AnUnwritableSettingsFileIsReportedAtExit) {
  Start();
  // A folder where the file should be: the save cannot replace it.
  ASSERT_EQ(mkdir(home_.File("ZCD.ini").c_str(), 0700), 0);
  Post(kCmdExit);
  const auto boxes = host_->message_boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Zentaro CD");
  EXPECT_NE(boxes[0].text.find("ZCD.ini"), std::string::npos);
  EXPECT_EQ(host_->exit_code(), 0);
}

}  // namespace
}  // namespace zcd
