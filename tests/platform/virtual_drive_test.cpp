#include "platform/virtual/virtual_drive.h"

#include <gtest/gtest.h>

#include <chrono>

namespace zcd {
namespace {

class VirtualDriveTest : public ::testing::Test {
 protected:
  void Advance(int seconds) { clock_->Advance(std::chrono::seconds(seconds)); }

  std::shared_ptr<ManualClock> clock_ = std::make_shared<ManualClock>();
  std::shared_ptr<VirtualDrive> drive_ = VirtualDrive::Create(clock_, MakeAudioDisc({60, 90}));
};

TEST_F(VirtualDriveTest, ExclusiveHandlesKeepTheDriveToThemselves) {
  auto exclusive = drive_->Open(false);
  ASSERT_TRUE(exclusive);
  EXPECT_FALSE(drive_->Open(true));
  EXPECT_FALSE(drive_->Open(false));
  exclusive.reset();

  auto shared = drive_->Open(true);
  ASSERT_TRUE(shared);
  EXPECT_TRUE(drive_->Open(true));
  EXPECT_FALSE(drive_->Open(false));
  EXPECT_EQ(drive_->OpenHandleCount(), 1);
  shared.reset();
  EXPECT_TRUE(drive_->Open(false));

  drive_->SetFaults({.open_fails = true});
  EXPECT_FALSE(drive_->Open(true));
}

TEST_F(VirtualDriveTest, ReportsTheTableOfContentsAsADriveDoes) {
  auto device = drive_->Open(true);
  EXPECT_EQ(device->TrackCount(), 2);
  EXPECT_EQ(device->TrackStart(1), (Msf{0, 2, 0}));
  EXPECT_EQ(device->TrackStart(2), (Msf{1, 2, 0}));
  EXPECT_EQ(device->TrackLength(1), (Msf{1, 0, 0}));
  // The last track stops one frame short of the lead-out.
  EXPECT_EQ(device->TrackLength(2), (Msf{1, 29, 74}));
  EXPECT_EQ(device->IsAudioTrack(2), true);
  EXPECT_FALSE(device->TrackStart(3));
  EXPECT_FALSE(device->IsAudioTrack(0));
}

TEST_F(VirtualDriveTest, PlaybackFollowsTheClockToTheEndOfTheDisc) {
  auto device = drive_->Open(true);
  ASSERT_TRUE(device->Play(1, std::nullopt, false));
  Advance(75);
  EXPECT_EQ(device->Mode(), DeviceMode::kPlaying);
  EXPECT_EQ(device->Position(), (TrackPosition{2, 0, 15, 0}));
  Advance(100);
  EXPECT_EQ(device->Mode(), DeviceMode::kStopped);
  // Nothing is left to play from the end of the disc.
  EXPECT_FALSE(device->Play(std::nullopt, std::nullopt, false));
  EXPECT_FALSE(device->Play(2, 1, false));
  EXPECT_FALSE(device->Play(3, std::nullopt, false));
}

TEST_F(VirtualDriveTest, PauseAndResumeOnlyApplyToAPlay) {
  auto device = drive_->Open(true);
  EXPECT_FALSE(device->Pause());
  EXPECT_FALSE(device->Resume());
  ASSERT_TRUE(device->Play(2, std::nullopt, false));
  EXPECT_TRUE(device->Resume());
  ASSERT_TRUE(device->Pause());
  EXPECT_EQ(device->Mode(), DeviceMode::kPaused);
}

TEST_F(VirtualDriveTest, TheDoorAndTheDiscChangeUnderOpenHandles) {
  auto device = drive_->Open(true);
  ASSERT_TRUE(device->Play(1, std::nullopt, false));
  drive_->SetDoorOpen(true);
  EXPECT_EQ(device->Mode(), DeviceMode::kOpen);
  EXPECT_FALSE(device->TrackCount());
  EXPECT_FALSE(device->Play(1, std::nullopt, false));

  drive_->RemoveDisc();
  drive_->SetDoorOpen(false);
  EXPECT_EQ(device->Mode(), DeviceMode::kOpen);

  drive_->InsertDisc(MakeAudioDisc({10, 10, 10}));
  EXPECT_EQ(device->Mode(), DeviceMode::kStopped);
  EXPECT_EQ(device->TrackCount(), 3);
  EXPECT_EQ(device->Position(), (TrackPosition{1, 0, 0, 0}));

  drive_->SetFaults({.door_jammed = true});
  EXPECT_FALSE(device->SetDoor(true));
  EXPECT_FALSE(drive_->DoorOpen());
}

TEST_F(VirtualDriveTest, FaultsFailTheirQueries) {
  auto device = drive_->Open(true);
  drive_->SetFaults({.toc_unreadable = true});
  EXPECT_EQ(device->Mode(), DeviceMode::kStopped);
  EXPECT_FALSE(device->TrackCount());
  EXPECT_FALSE(device->Position());
  drive_->SetFaults({.status_fails = true});
  EXPECT_FALSE(device->Mode());
  drive_->SetFaults({.commands_fail = true});
  EXPECT_FALSE(device->Play(1, std::nullopt, false));
  EXPECT_FALSE(device->Seek({1, 0, 1, 0}));
  EXPECT_EQ(drive_->LastPlay(), (VirtualPlayCommand{1, std::nullopt, false}));
}

}  // namespace
}  // namespace zcd
