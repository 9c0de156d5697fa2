#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "cd/completion_watcher.h"
#include "cd/virtual_cd_fixture.h"

namespace zcd {
namespace {

TEST(CompletionTest, ANotifyingPlayReportsItsEndOncePausesIncluded) {
  test::VirtualCdFixture fixture(MakeAudioDisc({60, 60}));
  auto device = fixture.drive->Open(true);
  ASSERT_TRUE(device->Play(1, 2, true));
  fixture.Advance(59);
  EXPECT_FALSE(device->TakeCompletion());
  fixture.Advance(2);
  EXPECT_TRUE(device->TakeCompletion());
  EXPECT_FALSE(device->TakeCompletion());
  EXPECT_EQ(device->Mode(), DeviceMode::kStopped);
  EXPECT_EQ(device->Position(), (TrackPosition{2, 0, 0, 0}));

  ASSERT_TRUE(device->Play(2, std::nullopt, true));
  fixture.Advance(30);
  ASSERT_TRUE(device->Pause());
  fixture.Advance(100);
  EXPECT_FALSE(device->TakeCompletion());
  ASSERT_TRUE(device->Resume());
  fixture.Advance(31);
  EXPECT_TRUE(device->TakeCompletion());
}

TEST(CompletionTest, NoReportForPlaysThatDidNotRunToTheirEnd) {
  test::VirtualCdFixture fixture(MakeAudioDisc({60, 60, 60}));
  auto device = fixture.drive->Open(true);

  ASSERT_TRUE(device->Play(1, std::nullopt, false));
  fixture.Advance(200);
  EXPECT_FALSE(device->TakeCompletion());

  ASSERT_TRUE(device->Play(1, 2, true));
  ASSERT_TRUE(device->Stop());
  fixture.Advance(100);
  EXPECT_FALSE(device->TakeCompletion());

  ASSERT_TRUE(device->Play(1, 2, true));
  ASSERT_TRUE(device->SetDoor(true));
  EXPECT_FALSE(device->TakeCompletion());
  ASSERT_TRUE(device->SetDoor(false));

  // The first play is superseded; only the second one reports.
  ASSERT_TRUE(device->Play(1, 2, true));
  fixture.Advance(10);
  ASSERT_TRUE(device->Play(3, std::nullopt, true));
  fixture.Advance(55);
  EXPECT_FALSE(device->TakeCompletion());
  fixture.Advance(5);
  EXPECT_TRUE(device->TakeCompletion());
}

TEST(CompletionTest, OnlyTheHandleThatPlayedIsTold) {
  test::VirtualCdFixture fixture(MakeAudioDisc({60}));
  auto player = fixture.drive->Open(true);
  auto onlooker = fixture.drive->Open(true);
  ASSERT_TRUE(player->Play(1, std::nullopt, true));
  fixture.Advance(61);
  EXPECT_FALSE(onlooker->TakeCompletion());
  EXPECT_TRUE(player->TakeCompletion());

  ASSERT_TRUE(player->Play(1, std::nullopt, true));
  player.reset();
  fixture.Advance(61);
  EXPECT_FALSE(onlooker->TakeCompletion());
}

TEST(CompletionTest, WatcherStopsWithoutWaitingOutItsInterval) {
  test::VirtualCdFixture fixture(MakeAudioDisc({60}));
  auto device = fixture.drive->Open(true);
  ASSERT_TRUE(device->Play(1, std::nullopt, true));
  fixture.Advance(61);
  std::atomic<int> ends{0};
  {
    // An hour-long interval would hold up the test if the stop did not wake it.
    CompletionWatcher watcher(
        *device, [&] { ++ends; }, std::chrono::hours(1));
  }
  EXPECT_EQ(ends, 0);
  EXPECT_TRUE(device->TakeCompletion());
}

}  // namespace
}  // namespace zcd
